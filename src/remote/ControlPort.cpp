#include "remote/ControlPort.h"

#include "remote/ControlClient.h"
#include "remote/ControlCommands.h"

#include <QLocalSocket>
#include <exception>

ControlPort::ControlPort(PanelOperations &panel, StatusSink &status, QObject *parent)
    : QObject(parent), m_panel(panel), m_listener(status)
{
    connect(&m_listener, &ControlListener::clientArrived, this, &ControlPort::acceptClient);
}

void ControlPort::acceptClient(QLocalSocket *socket)
{
    auto *client = new ControlClient(socket, this);
    connect(client, &ControlClient::commandReady, this, [this, client](const QString &line) {
        m_commands.push_back({client, line});
        serve();
    });
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
