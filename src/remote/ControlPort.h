#pragma once

#include "remote/ControlListener.h"

#include <QObject>
#include <QPointer>
#include <deque>

class ControlClient;
class PanelOperations;
class QLocalSocket;
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

    // Starts listening (see ControlListener). True when listening.
    bool listen() { return m_listener.listen(); }
    [[nodiscard]] bool isListening() const { return m_listener.isListening(); }

private:
    struct Command
    {
        QPointer<ControlClient> client;
        QString line;
    };

    void acceptClient(QLocalSocket *socket);
    void serve();

    PanelOperations &m_panel;
    ControlListener m_listener;
    std::deque<Command> m_commands;
    bool m_serving = false;
};
