#pragma once

#include "remote/ClientTurns.h"
#include "remote/control/ControlBudget.h"
#include "remote/control/ControlListener.h"
#include "remote/control/StatusReport.h"

#include <QObject>
#include <QPointer>

class ControlClient;
class ControlDoor;
class ShowDoor;
class QLocalSocket;
class StatusSink;

// The running panel's control port: a per-user local socket taking command
// lines from scripts and external controllers. Commands that use the line
// (routes, macros) are carried out one at a time, clients taking turns, each
// client's in its own order; a route waits for its reply while the window goes
// on (the link queues it behind any route of the operator's). A command that
// needs no line is answered as soon as it is the client's next one, even while
// another client's route waits. At most serverlimits::ControlClients
// connections are served at once.
// A snapshot recall is its client's queue of routes: one route a turn, so
// the other clients' commands go between them; its client is sent a
// "progress" line after each, then the answer. A recall whose client goes
// away is stopped.
class ControlPort final : public QObject
{
    Q_OBJECT

public:
    ControlPort(ControlDoor &panel, StatusSink &status, QObject *parent = nullptr);
    ~ControlPort() override;

    // Starts listening (see ControlListener). True when listening.
    bool listen() { return m_listener.listen(); }
    [[nodiscard]] bool isListening() const { return m_listener.isListening(); }

    // What `status` answers; whoever builds the port adds its contributors.
    [[nodiscard]] StatusReport &statusReport() { return m_statusReport; }

    // Serves a new connection, or answers "error too many clients" and closes it.
    void adopt(QLocalSocket *socket);

private:
    // Answers the client's next commands that need no line; queues it for a turn on the line otherwise.
    void answerAtOnce(ControlClient *client);
    // One command of the client whose turn it is; false when it has none ready.
    bool serve(ControlClient &client);
    [[nodiscard]] QString answerTo(const QString &command);
    void beginRecall(ControlClient &client, const QString &command);
    // One route of the running recall, or its end.
    void recallStep();
    // The recall's client went away: the routes not yet sent are dropped.
    void dropRecall();

    ControlDoor &m_panel;
    StatusReport m_statusReport;
    ControlListener m_listener;
    ControlBudget m_budget;
    ClientTurns<ControlClient> m_turns;
    // Clients whose connection is open, counted as they come and go: a flood
    // of short-lived clients makes the count no dearer per new connection.
    int m_connected = 0;
    // The client whose recall runs, and the show files it runs on.
    QPointer<ControlClient> m_recalling;
    ShowDoor *m_shows = nullptr;
    bool m_stepping = false;
};
