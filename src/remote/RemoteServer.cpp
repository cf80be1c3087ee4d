#include "remote/RemoteServer.h"

#include <QPointer>
#include <QTcpSocket>
#include <algorithm>

namespace {

// The address a client connected from, as lock owners and the activity log
// name it: an IPv4 client of a dual-stack listener as a.b.c.d, not ::ffff:a.b.c.d.
QString peerAddressOf(const QTcpSocket &socket)
{
    bool isV4 = false;
    const quint32 v4 = socket.peerAddress().toIPv4Address(&isV4);
    return isV4 ? QHostAddress(v4).toString() : socket.peerAddress().toString();
}

} // namespace

RemoteServer::RemoteServer(RemoteDoor &panel, ServerOptions options, const ServerKind &kind, int clientLimit,
                           qsizetype routesInAll, QObject *parent)
    : QObject(parent), m_panel(panel), m_options(std::move(options)), m_routesInAll{0, routesInAll}, m_kind(kind),
      m_clientLimit(clientLimit)
{
    connect(&m_listener, &desktop::TcpListener::connectionArrived, this, &RemoteServer::admit);
    connect(&m_listener, &desktop::TcpListener::acceptFailed, this, [this](const QString &error) {
        m_panel.status().SetErrMsg(
            QStringLiteral("%1 server cannot accept clients (%2); trying again every second").arg(m_kind.title, error));
    });
    // Found by its name by whoever awaits a look.
    m_watch.setParent(this);
    m_watch.setObjectName(QStringLiteral("watch"));
    m_watch.setInterval(WatchMs);
    connect(&m_watch, &QTimer::timeout, this, [this] {
        for (RemoteConnection *client : clients())
            client->watch();
    });
    m_watch.start();
    m_pushTimer.setSingleShot(true);
    connect(&m_pushTimer, &QTimer::timeout, this, &RemoteServer::sendPushes);
}

RemoteServer::~RemoteServer()
{
    // Clients go before the server they report to.
    qDeleteAll(clients());
}

bool RemoteServer::listen()
{
    if (!m_listener.listen(m_options.address, m_options.port)) {
        m_panel.status().SetErrMsg(QStringLiteral("%1 server cannot listen on %2: %3")
                                       .arg(m_kind.title, m_options.where(), m_listener.errorString()));
        return false;
    }
    m_panel.status().setNote(QStringLiteral("%1 server listening on %2").arg(m_kind.title, where()));
    return true;
}

QString RemoteServer::where() const
{
    ServerOptions listening = m_options;
    listening.port = m_listener.port();
    return listening.where();
}

void RemoteServer::pushSoon()
{
    // A timer of 0 ms fires after the posted turn that puts the next route on
    // the line. While routes wait, their pushes go out a moment into the next
    // one's reply wait instead: written at once, a burst to every client
    // takes the processor while the line takes the frame (on a simulated
    // line, while the program that paces it reads it), and delays every route
    // after by as much. A router cannot answer before the frame is through
    // (8 ms at 9600 baud), by when the pushes are long done.
    if (!m_pushTimer.isActive())
        m_pushTimer.start(m_routesInAll.count > 0 ? PushIntoWaitMs : 0);
}

std::optional<ControlDoor::Outcome> RemoteServer::takeRoute(RouteSource origin, int matOut, int matIn, int level)
{
    const QPointer<RemoteServer> alive(this);
    const ControlDoor::Outcome outcome = m_panel.takeRoute(matOut, matIn, level, origin);
    if (!alive)
        return std::nullopt;
    // Reading held back at the bound of all clients goes on.
    if (m_routesInAll.count + 1 >= m_routesInAll.bound) {
        for (RemoteConnection *client : clients())
            client->resumeReading();
    }
    return outcome;
}

QList<RemoteConnection *> RemoteServer::clients() const
{
    return findChildren<RemoteConnection *>(Qt::FindDirectChildrenOnly);
}

QList<RemoteConnection *> RemoteServer::connectedClients() const
{
    return connectedClientsOf<RemoteConnection>(*this);
}

void RemoteServer::admit(QTcpSocket *socket)
{
    const QList<RemoteConnection *> connected = connectedClients();
    if (!m_options.allows(socket->peerAddress()) ||
        (connected.size() >= m_clientLimit && !freeQuietestPlace(connected))) {
        socket->abort();
        socket->deleteLater();
        return;
    }
    // A peer that vanished without a word (power, cable) is found in time
    // and its place freed.
    socket->setSocketOption(QAbstractSocket::KeepAliveOption, 1);
    const QString address = peerAddressOf(*socket);
    adopt(socket, {QStringLiteral("%1 %2:%3").arg(m_kind.option, address).arg(socket->peerPort()), address});
}

bool RemoteServer::freeQuietestPlace(const QList<RemoteConnection *> &connected)
{
    // Controllers may stay silent for hours: one is closed only when a new
    // client needs its place.
    const auto quietest = std::max_element(connected.cbegin(), connected.cend(),
                                           [](const auto *a, const auto *b) { return a->quietMs() < b->quietMs(); });
    if (quietest == connected.cend() || m_options.idleLimitMs <= 0 || (*quietest)->quietMs() < m_options.idleLimitMs)
        return false;
    (*quietest)->close();
    return true;
}
