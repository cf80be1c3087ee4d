#include "remote/control/ControlClient.h"

#include "desktop/SocketWriter.h"
#include "remote/ServerLimits.h"
#include "remote/control/ControlBudget.h"
#include "remote/control/ControlCommands.h"

#include <QLocalSocket>

namespace {

const QString Busy = QStringLiteral("error busy\n");

// What a client with anything queued costs beyond its lines: the client
// itself stays until its queue is worked off, even once it has left.
constexpr qint64 ClientCost = 2048;
constexpr qint64 EntryCost = 64;
// Bytes taken from the socket at a time, so that reading stops soon once the
// client's unread answers reach their bound.
constexpr qint64 ReadChunk = 4 * serverlimits::ControlLineBytes;

} // namespace

ControlClient::ControlClient(QLocalSocket *socket, ControlBudget &budget, QObject *parent)
    : QObject(parent), m_budget(budget), m_socket(socket),
      m_writer(new SocketWriter(*socket, socket->socketDescriptor(), this))
{
    m_socket->setParent(this);
    // Bounded, so a client nobody reads from waits on its own socket.
    m_socket->setReadBufferSize(16 * ReadChunk);
    connect(m_socket, &QLocalSocket::readyRead, this, &ControlClient::readLines);
    connect(m_socket, &QLocalSocket::disconnected, this, &ControlClient::onReadingFinished);
    connect(m_writer, &SocketWriter::bytesWritten, this, &ControlClient::onAnswersWritten);
}

ControlClient::~ControlClient()
{
    m_budget.giveBack(m_booked);
}

bool ControlClient::ready() const
{
    return !m_answerDue && !m_queue.empty() &&
           (!m_writer || m_writer->bytesToWrite() <= serverlimits::ControlUnreadBytes);
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
        released += ClientCost;
        m_clientBooked = false;
    }
    m_booked -= released;
    m_budget.giveBack(released);
    return entry;
}

void ControlClient::answer(const QString &text)
{
    m_answerDue = false;
    if (m_writer)
        m_writer->write(text.toUtf8());
    settle();
    // Lines held back while the answer was due; not when answering from within the reading.
    if (!m_reading)
        readLines();
}

void ControlClient::readLines()
{
    m_reading = true;
    while (m_socket && (!m_writer || m_writer->bytesToWrite() <= serverlimits::ControlUnreadBytes)) {
        const QByteArray bytes = m_socket->read(ReadChunk);
        if (bytes.isEmpty())
            break;
        m_cutter.feed(bytes, [this](ControlLineCutter::Line line) { queue(std::move(line)); });
    }
    m_reading = false;
    settle();
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
    const qint64 booking = cost(entry) + (m_clientBooked ? 0 : ClientCost);
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

void ControlClient::onReadingFinished()
{
    m_readingDone = true;
    readLines();
}

void ControlClient::onAnswersWritten()
{
    if (ready())
        emit workArrived();
    readLines();
}

void ControlClient::settle()
{
    if (m_reading || !m_readingDone || (m_socket && m_socket->bytesAvailable() > 0))
        return;
    const bool answered = m_queue.empty() && !m_answerDue;
    if (m_writer && (m_writer->peerGone() || (answered && m_writer->bytesToWrite() == 0))) {
        // Closes the connection: a client that half-closed reads the end of its answers.
        delete m_writer;
        m_writer = nullptr;
        m_socket->deleteLater();
        m_socket = nullptr;
        emit connectionClosed();
    }
    if (!m_writer && answered)
        deleteLater();
}

bool ControlClient::isBusy(const Entry &entry)
{
    return entry.command.isEmpty() && entry.answer == Busy;
}

qint64 ControlClient::cost(const Entry &entry)
{
    return EntryCost + 2 * (entry.command.size() + entry.answer.size());
}
