#pragma once

#include "remote/ClientTurns.h"
#include "remote/RemoteServer.h"
#include "remote/swp08/ProtectAnswers.h"
#include "remote/swp08/Request.h"
#include "remote/swp08/Swp08Client.h"

#include <QHash>
#include <QPointer>
#include <memory>
#include <optional>

struct MatrixSnapshot;

namespace swp08 {

// The SW-P-08 server of the running panel (see RemoteServer): a router
// controller with one matrix and two levels (video, audio). Every
// well-formed message is acknowledged at once; questions are answered from
// the panel as it stands; connects and fired salvo entries are taken one at a
// time through the panel (clients taking turns, one route each) and
// announced to every client once the router acknowledged, as are routes made
// anywhere else. Protects are the panel's output locks, owned by the
// client's address; the device numbers clients give them are kept here. At
// most serverlimits::Swp08Clients clients are connected; one that does not
// read what is written to it is closed.
class Swp08Server final : public RemoteServer
{
    Q_OBJECT

public:
    static constexpr quint16 DefaultPort = 8910;

    [[nodiscard]] static const ServerKind &kind();

    Swp08Server(RemoteDoor &panel, ServerOptions options, QObject *parent = nullptr);

    // The server the options and the user's settings file ask for,
    // listening; none when it is not asked for or cannot start (the status
    // line says why).
    [[nodiscard]] static std::unique_ptr<Swp08Server> fromArguments(RemoteDoor &panel, const QStringList &arguments);

private:
    // A route of a client on the line: its CONNECTED goes to it in the form it asked.
    struct Attempt
    {
        QPointer<Swp08Client> client;
        QueuedRoute queued;
    };
    // A route the router acknowledged, to be told to every client.
    struct Announcement
    {
        int matOut = 0;
        int level = 0;
        // Set when a client's own route: it hears it in the form it asked.
        std::optional<Attempt> asked;
    };
    struct Device
    {
        QString owner;
        int number = 0;
    };

    void adopt(QTcpSocket *socket, const RouteSource &source) override;
    void handle(Swp08Client &client, const QByteArray &data);
    void answer(Swp08Client &client, const Ignored &request);
    void answer(Swp08Client &client, const Interrogate &request);
    void answer(Swp08Client &client, const Connect &request);
    void answer(Swp08Client &client, const TallyDumpRequest &request);
    void answer(Swp08Client &client, const NamesRequest &request);
    void answer(Swp08Client &client, const ProtectInterrogate &request);
    void answer(Swp08Client &client, const ProtectChange &request);
    void answer(Swp08Client &client, const ProtectDumpRequest &request);
    void answer(Swp08Client &client, const SalvoStore &request);
    void answer(Swp08Client &client, const SalvoGo &request);
    void answer(Swp08Client &client, const SalvoInterrogate &request);
    void answer(Swp08Client &client, const ImplementationRequest &request);
    // Takes the next route of the client whose turn it is.
    bool serve(Swp08Client &client);

    void announceRoute(int matOut, int level, bool acknowledged);
    void sendPushes() override;
    void announceLocks(const QList<int> &matOuts);
    // A destination's protect as `owner` sees it.
    [[nodiscard]] ProtectState protectOf(const MatrixSnapshot &matrix, int destination, const QString &owner) const;

    ClientTurns<Swp08Client> m_turns;
    std::optional<Attempt> m_attempt;
    // Routes acknowledged whose CONNECTED wait (see pushSoon()).
    QList<Announcement> m_announcements;
    // The device number of each protect made here, with the address it was made for.
    QHash<int, Device> m_devices;
};

} // namespace swp08
