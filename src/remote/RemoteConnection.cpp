#include "remote/RemoteConnection.h"

#include "desktop/SocketWriter.h"
#include "remote/PeerAddress.h"
#include "remote/ServerLimits.h"

#include <QTcpSocket>

namespace {

// Bytes taken from the socket at a time, so reading stops soon after the
// client's work reaches its bound.
constexpr qint64 ReadChunk = 4 * 1024;

} // namespace

RemoteConnection::RemoteConnection(QTcpSocket *socket, const QString &protocol, qint64 unsentLimit, qint64 idleLimitMs,
                                   QObject *parent)
    : QObject(parent), m_socket(socket), m_writer(new SocketWriter(*socket, socket->socketDescriptor(), this)),
      m_unsentLimit(unsentLimit), m_idleLimitMs(idleLimitMs)
{
    m_socket->setParent(this);
    // Bounded, so that a client that floods waits on its own connection.
    m_socket->setReadBufferSize(serverlimits::BytesPerTurn);
    // A peer that vanished without a word (power, cable) is found in time
    // and its place freed.
    m_socket->setSocketOption(QAbstractSocket::KeepAliveOption, 1);
    const QString address = peerAddressOf(*socket);
    m_source.lockOwner = address;
    m_source.name = QStringLiteral("%1 %2:%3").arg(protocol, address).arg(socket->peerPort());
    m_heard.start();
    connect(m_socket, &QTcpSocket::readyRead, this, &RemoteConnection::readPending);
    connect(m_socket, &QTcpSocket::disconnected, this, &RemoteConnection::readingFinished, Qt::QueuedConnection);
    connect(m_writer, &SocketWriter::bytesWritten, this, [this] {
        resumeReading();
        settle();
        emit drained();
    });
}

// Out of line: SocketWriter is complete here.
RemoteConnection::~RemoteConnection() = default;

qint64 RemoteConnection::unsentBytes() const
{
    return m_writer ? m_writer->bytesToWrite() : 0;
}

void RemoteConnection::send(const QByteArray &bytes)
{
    if (m_writer)
        m_writer->write(bytes);
}

void RemoteConnection::resumeReading()
{
    // Queued: the server resumes from within another client's signal.
    if (m_socket && !m_turnPosted && (hasPending() || m_socket->bytesAvailable() > 0)) {
        m_turnPosted = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                m_turnPosted = false;
                readPending();
            },
            Qt::QueuedConnection);
    }
}

void RemoteConnection::watch()
{
    if (!m_writer)
        return;
    const bool waitingToBeRead = m_socket && m_socket->bytesAvailable() > 0;
    if (m_idleLimitMs > 0 && !waitingToBeRead && m_heard.hasExpired(m_idleLimitMs)) {
        close();
        return;
    }
    // Behind at two looks a second apart: a client that reads has taken a
    // burst of pushes long before.
    if (behind() && m_wasBehind) {
        close();
        return;
    }
    m_wasBehind = behind();
}

void RemoteConnection::workTaken()
{
    resumeReading();
    settle();
}

void RemoteConnection::readPending()
{
    if (m_reading)
        return;
    m_reading = true;
    // Looked at once a turn: the protocol answers nothing to a peer that has gone.
    m_peerGone = !m_writer || m_writer->peerGone();
    int handled = 0;
    qint64 read = 0;
    bool turnUsed = false;
    while (m_socket && !behind()) {
        if (handled >= serverlimits::RequestsPerTurn || read >= serverlimits::BytesPerTurn) {
            turnUsed = true;
            break;
        }
        const Step step = handlePending();
        if (step == Step::Handled) {
            ++handled;
            continue;
        }
        if (step == Step::Stop || !mayRead())
            break;
        const QByteArray bytes = m_socket->read(ReadChunk);
        if (bytes.isEmpty())
            break;
        read += bytes.size();
        m_heard.restart();
        take(bytes);
    }
    m_reading = false;
    // The rest in a later turn, after everyone else's.
    if (turnUsed)
        resumeReading();
    settle();
}

void RemoteConnection::readingFinished()
{
    m_readingDone = true;
    readPending();
    emit drained();
}

void RemoteConnection::close()
{
    if (!m_writer)
        return;
    delete m_writer;
    m_writer = nullptr;
    m_socket->disconnect(this);
    m_socket->abort();
    m_socket->deleteLater();
    m_socket = nullptr;
    dropPending();
    m_readingDone = true;
    emit drained();
    settle();
}

void RemoteConnection::settle()
{
    if (m_reading)
        return;
    // A client that can send no more is closed once it has had every answer.
    const bool answered = !hasPending() && (!m_socket || m_socket->bytesAvailable() == 0) && m_writer &&
                          (m_writer->bytesToWrite() == 0 || m_writer->peerGone());
    if (m_readingDone && answered)
        close();
    if (!m_writer && !holdsWork())
        deleteLater();
}
