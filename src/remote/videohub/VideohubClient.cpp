#include "remote/videohub/VideohubClient.h"

#include "desktop/SocketWriter.h"
#include "remote/ServerLimits.h"

#include <QTcpSocket>

namespace videohub {
namespace {

// Bytes taken from the socket at a time, so reading stops soon after the
// client's routes reach their bound.
constexpr qint64 ReadChunk = 16 * 1024;

QString addressOf(const QTcpSocket &socket)
{
    // An IPv4 client of a dual-stack listener arrives as ::ffff:a.b.c.d.
    bool isV4 = false;
    const quint32 v4 = socket.peerAddress().toIPv4Address(&isV4);
    return isV4 ? QHostAddress(v4).toString() : socket.peerAddress().toString();
}

} // namespace

VideohubClient::VideohubClient(QTcpSocket *socket, Handler handle, qint64 idleLimitMs, QObject *parent)
    : QObject(parent), m_socket(socket), m_writer(new SocketWriter(*socket, socket->socketDescriptor(), this)),
      m_handle(std::move(handle)), m_idleLimitMs(idleLimitMs)
{
    m_socket->setParent(this);
    // Bounded, so that a client that floods waits on its own connection.
    m_socket->setReadBufferSize(4 * ReadChunk);
    const QString address = addressOf(*socket);
    m_source.lockOwner = address;
    m_source.name = QStringLiteral("videohub %1:%2").arg(address).arg(socket->peerPort());
    m_heard.start();
    connect(m_socket, &QTcpSocket::readyRead, this, &VideohubClient::readBlocks);
    connect(m_socket, &QTcpSocket::disconnected, this, &VideohubClient::readingFinished, Qt::QueuedConnection);
    connect(m_writer, &SocketWriter::bytesWritten, this, [this] {
        resumeReading();
        settle();
        emit drained();
    });
}

// Out of line: SocketWriter is complete here.
VideohubClient::~VideohubClient() = default;

qint64 VideohubClient::unsentBytes() const
{
    return m_writer ? m_writer->bytesToWrite() : 0;
}

void VideohubClient::send(const QByteArray &bytes)
{
    if (m_writer)
        m_writer->write(bytes);
}

void VideohubClient::resumeReading()
{
    // Queued: the server resumes from within another client's signal.
    if (m_socket && (!m_blocks.empty() || m_socket->bytesAvailable() > 0))
        QMetaObject::invokeMethod(this, &VideohubClient::readBlocks, Qt::QueuedConnection);
}

void VideohubClient::watch()
{
    if (!m_writer)
        return;
    const bool waitingToBeRead = m_socket && m_socket->bytesAvailable() > 0;
    if (!waitingToBeRead && m_heard.hasExpired(m_idleLimitMs)) {
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

void VideohubClient::readBlocks()
{
    if (m_reading)
        return;
    m_reading = true;
    while (m_socket && !behind()) {
        if (!m_blocks.empty()) {
            RawBlock block = std::move(m_blocks.front());
            m_blocks.pop_front();
            if (!m_handle(*this, block)) {
                m_blocks.push_front(std::move(block));
                break;
            }
            continue;
        }
        if (qsizetype(m_routes.size()) >= serverlimits::VideohubWaitingRoutes)
            break;
        const QByteArray bytes = m_socket->read(ReadChunk);
        if (bytes.isEmpty())
            break;
        m_heard.restart();
        for (RawBlock &block : m_reader.feed(bytes))
            m_blocks.push_back(std::move(block));
    }
    m_reading = false;
    settle();
}

void VideohubClient::readingFinished()
{
    m_readingDone = true;
    readBlocks();
    emit drained();
}

void VideohubClient::queueRoutes(const QList<RouteLine> &routes)
{
    m_routes.insert(m_routes.end(), routes.cbegin(), routes.cend());
    emit routesWaiting();
}

RouteLine VideohubClient::takeRoute()
{
    const RouteLine route = m_routes.front();
    m_routes.pop_front();
    // Reading held back at the bound goes on.
    resumeReading();
    settle();
    return route;
}

void VideohubClient::close()
{
    if (!m_writer)
        return;
    delete m_writer;
    m_writer = nullptr;
    m_socket->disconnect(this);
    m_socket->abort();
    m_socket->deleteLater();
    m_socket = nullptr;
    m_blocks.clear();
    m_readingDone = true;
    emit drained();
    settle();
}

void VideohubClient::settle()
{
    if (m_reading)
        return;
    // A client that can send no more is closed once it has had every answer.
    const bool answered = m_blocks.empty() && (!m_socket || m_socket->bytesAvailable() == 0) && m_writer &&
                          (m_writer->bytesToWrite() == 0 || m_writer->peerGone());
    if (m_readingDone && answered)
        close();
    if (!m_writer && m_routes.empty())
        deleteLater();
}

} // namespace videohub
