#pragma once

#include "desktop/net/TcpListener.h"
#include "door/RemoteDoor.h"
#include "link/StatusSink.h"
#include "remote/ProtocolClient.h"
#include "remote/ServerOptions.h"

#include <QTimer>
#include <memory>
#include <optional>

class QTcpSocket;

// What the TCP servers of the running panel share: listening where their
// options say (and telling the operator where, or why not); admitting
// clients: the allow list, the client limit, and past the idle limit the
// client silent longest giving up its place to a newcomer; saying once when
// accepting fails; looking at every client once a second; the routes of all
// clients waiting for the line, against their bound; and pushing the routes
// the router acknowledged to every client.
class RemoteServer : public QObject
{
    Q_OBJECT

public:
    // How often clients are looked at (unread pushes, idleness).
    static constexpr int WatchMs = 1000;
    // How far into the next route's reply wait the pushes of routes
    // acknowledged go out while routes wait (see pushSoon()).
    static constexpr int PushIntoWaitMs = 1;

    ~RemoteServer() override;

    // False, with the reason on the status line, when it cannot listen.
    bool listen();
    [[nodiscard]] quint16 port() const { return m_listener.port(); }
    // Where it listens, "127.0.0.1:9990" (the port the system chose for 0).
    [[nodiscard]] QString where() const;
    [[nodiscard]] int connectedCount() const { return int(connectedClients().size()); }

protected:
    // kind names the server and its clients' routes; at most clientLimit
    // clients, routesInAll routes of all of them waiting (ServerLimits.h).
    RemoteServer(RemoteDoor &panel, ServerOptions options, const ServerKind &kind, int clientLimit,
                 qsizetype routesInAll, QObject *parent);

    // Makes the connection of an admitted client, a child of this server.
    virtual void adopt(QTcpSocket *socket, const RouteSource &source) = 0;
    // Sends the pushes asked for by pushSoon().
    virtual void sendPushes() = 0;

    // Asks for sendPushes() once the next route is on the line.
    void pushSoon();
    // Takes a route of a client through the panel; none when this server went
    // during the reply wait (which runs the event loop: clients come and go,
    // the panel may close).
    std::optional<ControlDoor::Outcome> takeRoute(RouteSource origin, int matOut, int matIn, int level);

    [[nodiscard]] QList<RemoteConnection *> clients() const;
    [[nodiscard]] QList<RemoteConnection *> connectedClients() const;

    RemoteDoor &m_panel;
    const ServerOptions m_options;
    RoutesInAll m_routesInAll;

private:
    void admit(QTcpSocket *socket);
    // Closes the client silent longest when that is at least the idle limit.
    bool freeQuietestPlace(const QList<RemoteConnection *> &connected);

    const ServerKind m_kind;
    const int m_clientLimit;
    desktop::TcpListener m_listener;
    QTimer m_watch;
    QTimer m_pushTimer;
};

// The server the options ask for, listening; none when they do not ask for
// one or it cannot start (the status line says why). Server(panel, options)
// and Server::listen().
template <class Server, class Options> std::unique_ptr<Server> startServer(RemoteDoor &panel, Options options)
{
    if (!options.enabled && options.optionError.isEmpty())
        return nullptr;
    // The start refuses unreadable options before a panel exists; one that
    // gets here all the same is told like any other reason.
    if (const QString error = options.optionError.isEmpty() ? options.error : options.optionError; !error.isEmpty()) {
        panel.status().SetErrMsg(error);
        return nullptr;
    }
    auto server = std::make_unique<Server>(panel, std::move(options));
    if (!server->listen())
        return nullptr;
    return server;
}
