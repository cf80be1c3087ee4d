#pragma once

#include "remote/videohub/Request.h"
#include "remote/videohub/VideohubOptions.h"

#include <QObject>
#include <QPointer>
#include <QTcpServer>
#include <QTimer>
#include <deque>
#include <memory>

class MainPanel;
class QSettings;

namespace videohub {

class VideohubClient;
struct RawBlock;

// The Videohub Ethernet Protocol server of the running panel: each client
// gets the dump on connecting, then status blocks on request and pushes of
// every route, name, lock and set-up change, whoever made it. Routes from
// clients are answered at once and taken one at a time through the panel
// (clients taking turns, one route each), so a client with a long block
// holds up the others by one route at most; everything else a client sends
// is answered without waiting for the line. At most MaxClients clients, those
// gone with routes still waiting included.
class VideohubServer final : public QObject
{
    Q_OBJECT

public:
    static constexpr int MaxClients = 32;

    VideohubServer(MainPanel &panel, VideohubOptions options, QObject *parent = nullptr);
    ~VideohubServer() override;

    // The server the options and settings ask for, listening; none when it
    // is not asked for or cannot start (the status line and standard error
    // say why). Settings: the user's velmora.conf unless given.
    [[nodiscard]] static std::unique_ptr<VideohubServer> fromArguments(MainPanel &panel, const QStringList &arguments);
    [[nodiscard]] static std::unique_ptr<VideohubServer> fromArguments(MainPanel &panel, const QStringList &arguments,
                                                                       const QSettings &settings);

    // False, with the reason on the status line and standard error, when it cannot listen.
    bool listen();
    [[nodiscard]] quint16 port() const { return m_server.serverPort(); }
    // Where it listens, "127.0.0.1:9990", and how many clients are connected.
    [[nodiscard]] QString where() const;
    [[nodiscard]] int connectedCount() const { return int(connectedClients().size()); }

private:
    void acceptClients();
    void handle(VideohubClient *client, const RawBlock &raw);
    void change(VideohubClient *client, const Request &request);
    void renameAll(VideohubClient &client, const Request &request);
    void queueTurn(VideohubClient *client);
    void serveLater();
    void serveNext();

    void pushRoute(int output);
    void sendRoutePushes();
    void pushLabels(bool inputs, const QList<int> &ports);
    void pushLocks(const QList<int> &outputs);
    void pushSetup();
    void sendAll(const QByteArray &bytes);
    [[nodiscard]] QByteArray lockView(const VideohubClient &client) const;
    [[nodiscard]] QList<VideohubClient *> connectedClients() const;

    MainPanel &m_panel;
    VideohubOptions m_options;
    QTcpServer m_server;
    QString m_uniqueId;
    std::deque<QPointer<VideohubClient>> m_turns;
    // Clients alive: connected, or gone with routes still to take. Counted
    // as they come and go, so clients that flood routes and leave stay bounded.
    int m_clients = 0;
    // Outputs whose route pushes wait for the next turn of the event loop.
    QList<int> m_routePushes;
    QTimer m_routePushTimer;
    bool m_serving = false;
    bool m_servePosted = false;
};

} // namespace videohub
