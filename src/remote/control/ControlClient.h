#pragma once

#include "remote/RemoteConnection.h"
#include "remote/control/ControlLineCutter.h"

#include <QString>
#include <deque>

class ControlBudget;
class QLocalSocket;

// One client of the control port (see RemoteConnection). Cuts what it
// sends into lines that wait in the client's own queue, in its order, until
// the port takes them; answers go back in the same order.
// Every line up to the queue's limit is kept whether or not the client stays
// to read the answers; a client that shut only its writing side is answered,
// then closed.
//
// Bounded (see ServerLimits.h): at most ControlQueuedLines lines wait (a
// line beyond is answered "error busy"), their bytes booked with the port's
// budget; once ControlUnreadBytes of answers wait unread, nothing more is
// read from the client until it reads, so a flood holds up the flooder only.
// Nothing here ever waits on the socket.
class ControlClient final : public RemoteConnection
{
    Q_OBJECT

public:
    // A line waiting its turn: a command, or the answer of a line refused on the way.
    struct Entry
    {
        QString command;
        QString answer;
    };

    // Takes ownership of socket.
    ControlClient(QLocalSocket *socket, ControlBudget &budget, QObject *parent = nullptr);
    ~ControlClient() override;

    // A line waits and its answer may be written now.
    [[nodiscard]] bool ready() const;
    // The line ready() reports; only while ready().
    [[nodiscard]] const Entry &next() const { return m_queue.front().entry; }
    // Takes the next line off the queue; its answer is due by answer().
    Entry take();
    // Writes the answer to the line last taken (dropped when the client is gone).
    void answer(const QString &text);

private:
    void feed(const QByteArray &bytes) override;
    [[nodiscard]] bool holdsWork() const override { return owesAnswers(); }
    [[nodiscard]] bool owesAnswers() const override { return !m_queue.empty() || m_answerDue; }
    void queue(ControlLineCutter::Line line);
    [[nodiscard]] static qint64 cost(const Entry &entry);
    [[nodiscard]] static bool isBusy(const Entry &entry);

    // An entry and how many lines in a row it stands for: a run of lines
    // answered "error busy" takes one place.
    struct Place
    {
        Entry entry;
        qsizetype lines = 1;
        // Bytes booked with the budget for it (the client's own cost apart).
        qint64 booked = 0;
    };

    ControlBudget &m_budget;
    ControlLineCutter m_cutter;
    std::deque<Place> m_queue;
    qint64 m_booked = 0;
    // The client's own cost is booked while it has lines queued.
    bool m_clientBooked = false;
    bool m_answerDue = false;
};
