#pragma once

#include <QLocalServer>
#include <QObject>
#include <QPointer>
#include <deque>

class ControlClient;
class PanelOperations;
class StatusSink;

// The running panel's control port: a per-user local socket taking command
// lines from scripts and external controllers. Commands of all clients are
// carried out one at a time, in the order their lines arrived; a route waits
// for its reply while the window goes on (the link queues it behind any
// route of the operator's).
class ControlPort final : public QObject
{
    Q_OBJECT

public:
    ControlPort(PanelOperations &panel, StatusSink &status, QObject *parent = nullptr);
    ~ControlPort() override;

    // Starts listening on controlSocketName(), user-only. A socket left by a
    // panel that crashed is removed first; one another panel of this user
    // listens on is left alone and the status line says so. True when listening.
    bool listen();
    [[nodiscard]] bool isListening() const { return m_server.isListening(); }

private:
    struct Command
    {
        QPointer<ControlClient> client;
        QString line;
    };

    void acceptClients();
    void serve();

    PanelOperations &m_panel;
    StatusSink &m_status;
    QLocalServer m_server;
    std::deque<Command> m_commands;
    bool m_serving = false;
};
