#include "remote/videohub/VideohubClient.h"

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

VideohubClient::VideohubClient(QTcpSocket *socket, QObject *parent) : QObject(parent), m_socket(socket)
{
    m_socket->setParent(this);
    // Bounded, so that a client that floods waits on its own connection.
    m_socket->setReadBufferSize(4 * ReadChunk);
    const QString address = addressOf(*socket);
    m_source.lockOwner = address;
    m_source.name = QStringLiteral("videohub %1:%2").arg(address).arg(socket->peerPort());
    connect(m_socket, &QTcpSocket::readyRead, this, &VideohubClient::readBlocks);
    connect(m_socket, &QTcpSocket::disconnected, this, &VideohubClient::close, Qt::QueuedConnection);
}

void VideohubClient::send(const QByteArray &bytes)
{
    if (!m_socket)
        return;
    m_socket->write(bytes);
    if (m_socket->bytesToWrite() > MaxUnsentBytes) {
        m_socket->abort();
        close();
    }
}

void VideohubClient::readBlocks()
{
    if (m_reading)
        return;
    m_reading = true;
    while (m_socket && qsizetype(m_routes.size()) < MaxWaitingRoutes) {
        const QByteArray bytes = m_socket->read(ReadChunk);
        if (bytes.isEmpty())
            break;
        for (const RawBlock &block : m_reader.feed(bytes)) {
            emit blockReceived(block);
            if (!m_socket)
                break;
        }
    }
    m_reading = false;
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
    if (m_socket && m_socket->bytesAvailable() > 0)
        QMetaObject::invokeMethod(this, &VideohubClient::readBlocks, Qt::QueuedConnection);
    settle();
    return route;
}

void VideohubClient::close()
{
    if (!m_socket)
        return;
    m_socket->disconnect(this);
    m_socket->abort();
    m_socket->deleteLater();
    m_socket = nullptr;
    emit connectionClosed();
    settle();
}

void VideohubClient::settle()
{
    if (!m_socket && m_routes.empty())
        deleteLater();
}

} // namespace videohub
