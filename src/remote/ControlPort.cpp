#include "remote/ControlPort.h"

#include "link/StatusSink.h"
#include "remote/ControlClient.h"
#include "remote/ControlCommands.h"
#include "remote/ControlSocketName.h"

#include <QLocalSocket>
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
    : QObject(parent), m_panel(panel), m_status(status)
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
    while (QLocalSocket *socket = m_server.nextPendingConnection()) {
        auto *client = new ControlClient(socket, this);
        connect(client, &ControlClient::commandReady, this, [this, client](const QString &line) {
            m_commands.push_back({client, line});
            serve();
        });
    }
}

void ControlPort::serve()
{
    // A command arriving while one is carried out (its reply wait runs the
    // event loop) waits its turn in the queue.
    if (m_serving)
        return;
    m_serving = true;
    while (!m_commands.empty()) {
        const Command command = m_commands.front();
        m_commands.pop_front();
        QString answer;
        // An unexpected failure answers this command only; the port goes on.
        try {
            answer = ControlCommands::answer(command.line, m_panel);
        } catch (const std::exception &failure) {
            answer = QStringLiteral("error ") + QString::fromLocal8Bit(failure.what()) + QLatin1Char('\n');
        }
        if (command.client)
            command.client->answer(answer);
    }
    m_serving = false;
}
