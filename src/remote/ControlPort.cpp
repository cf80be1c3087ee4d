#include "remote/ControlPort.h"

#include "link/StatusSink.h"
#include "remote/ControlClient.h"
#include "remote/ControlCommands.h"
#include "remote/ControlSocketName.h"

#include <QLocalSocket>
#include <QPointer>
#include <algorithm>
#include <exception>

namespace {

// A live panel accepts at once; this only bounds a socket nobody serves.
constexpr int ProbeMs = 1000;

bool anotherPanelListens(const QString &name)
{
    QLocalSocket probe;
    probe.connectToServer(name);
    return probe.waitForConnected(ProbeMs);
}

} // namespace

ControlPort::ControlPort(PanelOperations &panel, StatusSink &status, QObject *parent)
    : QObject(parent), m_panel(panel), m_status(status), m_budget(status)
{
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&m_server, &QLocalServer::newConnection, this, &ControlPort::acceptClients);
}

ControlPort::~ControlPort()
{
    m_server.close();
}

bool ControlPort::listen()
{
    const QString name = controlSocketName();
    if (name.isEmpty()) {
        m_status.SetErrMsg(QStringLiteral("Control port unavailable: no private runtime folder"));
        return false;
    }
    // Asked first: with user-only access Qt puts the new socket in place by
    // renaming, which would silently take the name from a live panel.
    if (anotherPanelListens(name)) {
        m_status.SetErrMsg(QStringLiteral("Control port in use by another Velmora panel"));
        return false;
    }
    if (m_server.listen(name))
        return true;
    // Left by a panel that crashed: nobody answers on it.
    if (m_server.serverError() == QAbstractSocket::AddressInUseError) {
        QLocalServer::removeServer(name);
        if (m_server.listen(name))
            return true;
    }
    m_status.SetErrMsg(QStringLiteral("Control port unavailable: ") + m_server.errorString());
    return false;
}

void ControlPort::acceptClients()
{
    while (QLocalSocket *socket = m_server.nextPendingConnection())
        adopt(socket);
}

void ControlPort::adopt(QLocalSocket *socket)
{
    const auto clients = findChildren<ControlClient *>(Qt::FindDirectChildrenOnly);
    if (std::count_if(clients.begin(), clients.end(), [](const ControlClient *c) { return c->connected(); }) >=
        MaxClients) {
        m_budget.turnedAway();
        socket->setParent(this);
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        socket->write("error too many clients\n");
        socket->disconnectFromServer();
        return;
    }
    auto *client = new ControlClient(socket, m_budget, this);
    connect(client, &ControlClient::workArrived, this, [this, client] { answerAtOnce(client); });
}

void ControlPort::answerAtOnce(ControlClient *client)
{
    while (client->ready() && !ControlCommands::usesLine(client->next().command)) {
        const ControlClient::Entry entry = client->take();
        client->answer(entry.answer.isEmpty() ? answerTo(entry.command) : entry.answer);
    }
    if (client->ready()) {
        m_turns.add(client);
        serveLater();
    }
}

void ControlPort::serveLater()
{
    // One command a turn of the event loop: whoever waits for the port (the
    // window closing, a new client) gets its turn between commands.
    if (!m_servePosted && !m_serving) {
        m_servePosted = true;
        QMetaObject::invokeMethod(this, &ControlPort::serveNext, Qt::QueuedConnection);
    }
}

void ControlPort::serveNext()
{
    m_servePosted = false;
    QPointer<ControlClient> client = m_turns.next();
    while (client && !client->ready())
        client = m_turns.next();
    if (!client)
        return;
    const ControlClient::Entry entry = client->take();
    const QPointer<ControlPort> alive(this);
    m_serving = true;
    // The reply wait runs the event loop: clients come and go, the panel may close.
    const QString answer = entry.answer.isEmpty() ? answerTo(entry.command) : entry.answer;
    if (!alive)
        return;
    m_serving = false;
    if (client) {
        client->answer(answer);
        answerAtOnce(client);
    }
    if (!m_turns.empty())
        serveLater();
}

QString ControlPort::answerTo(const QString &command)
{
    // An unexpected failure answers this command only; the port goes on.
    try {
        return ControlCommands::answer(command, m_panel);
    } catch (const std::exception &failure) {
        return QStringLiteral("error ") + QString::fromLocal8Bit(failure.what()) + QLatin1Char('\n');
    }
}
