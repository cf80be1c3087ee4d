#include "remote/control/ControlClient.h"

#include "remote/control/ControlBudget.h"
#include "remote/control/ControlCommands.h"

#include <QLocalSocket>

namespace {

const QString Busy = QStringLiteral("error busy\n");

} // namespace

ControlClient::ControlClient(QLocalSocket *socket, ControlBudget &budget, QObject *parent)
    : RemoteConnection(socket, serverlimits::ControlUnreadBytes, 0, {}, parent), m_budget(budget)
{
    connect(this, &RemoteConnection::drained, this, [this] {
        if (ready())
            emit workArrived();
    });
}

ControlClient::~ControlClient()
{
    m_budget.giveBack(m_booked);
}

bool ControlClient::ready() const
{
    return !m_answerDue && !m_queue.empty() && !behind();
}

ControlClient::Entry ControlClient::take()
{
    Place &front = m_queue.front();
    m_answerDue = true;
    if (--front.lines > 0)
        return front.entry;
    Entry entry = std::move(front.entry);
    qint64 released = front.booked;
    m_queue.pop_front();
    if (m_queue.empty() && m_clientBooked) {
        released += serverlimits::ControlClientCost;
        m_clientBooked = false;
    }
    m_booked -= released;
    m_budget.giveBack(released);
    return entry;
}

void ControlClient::answer(const QString &text)
{
    m_answerDue = false;
    send(text.toUtf8());
    workTaken();
}

void ControlClient::feed(const QByteArray &bytes)
{
    m_cutter.feed(bytes, [this](ControlLineCutter::Line line) { queue(std::move(line)); });
}

void ControlClient::queue(ControlLineCutter::Line line)
{
    Entry entry{std::move(line.command), std::move(line.refusal)};
    // The next line of a client with nothing waiting, needing no line, is
    // answered at once: no bound turns it away.
    if (m_queue.empty() && !m_answerDue && !ControlCommands::usesLine(entry.command)) {
        m_queue.push_back({std::move(entry)});
        emit workArrived();
        return;
    }
    const qint64 booking = cost(entry) + (m_clientBooked ? 0 : serverlimits::ControlClientCost);
    const bool full = qsizetype(m_queue.size()) >= serverlimits::ControlQueuedLines;
    if (full)
        m_budget.turnedAway();
    if (full || !m_budget.take(booking)) {
        if (!m_queue.empty() && isBusy(m_queue.back().entry))
            ++m_queue.back().lines;
        else
            m_queue.push_back({{{}, Busy}});
    } else {
        m_booked += booking;
        m_clientBooked = true;
        m_queue.push_back({std::move(entry), 1, cost(entry)});
    }
    if (ready())
        emit workArrived();
}

bool ControlClient::isBusy(const Entry &entry)
{
    return entry.command.isEmpty() && entry.answer == Busy;
}

qint64 ControlClient::cost(const Entry &entry)
{
    return serverlimits::ControlEntryCost + 2 * (entry.command.size() + entry.answer.size());
}
