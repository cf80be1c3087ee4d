#include "remote/umd/TcpUmdSender.h"

#include "remote/ServerLimits.h"

#include <climits>

TcpUmdSender::TcpUmdSender(QString host, quint16 port, QObject *parent)
    : UmdSender(parent), m_host(std::move(host)), m_port(port), m_retryMs(serverlimits::UmdFirstRetryMs)
{
    m_retry.setSingleShot(true);
    m_connectTimeout.setSingleShot(true);
    m_connectTimeout.setInterval(serverlimits::UmdConnectTimeoutMs);
    connect(&m_retry, &QTimer::timeout, this, &TcpUmdSender::start);
    connect(&m_connectTimeout, &QTimer::timeout, this,
            [this] { fail(QStringLiteral("no answer in %1 s").arg(serverlimits::UmdConnectTimeoutMs / 1000)); });
    connect(&m_socket, &QTcpSocket::connected, this, [this] {
        m_connectTimeout.stop();
        m_retryMs = serverlimits::UmdFirstRetryMs;
        setState(State::Connected);
        emit restarted();
        emit ready();
    });
    connect(&m_socket, &QTcpSocket::bytesWritten, this, [this] {
        if (m_socket.bytesToWrite() == 0)
            emit ready();
    });
    connect(&m_socket, &QTcpSocket::readyRead, this, [this] { (void)m_socket.readAll(); });
    connect(&m_socket, &QTcpSocket::errorOccurred, this, [this] { fail(m_socket.errorString()); });
    connect(&m_socket, &QTcpSocket::disconnected, this,
            [this] { fail(QStringLiteral("The remote host closed the connection")); });
}

TcpUmdSender::~TcpUmdSender()
{
    m_socket.disconnect(this);
    m_socket.abort();
}

void TcpUmdSender::start()
{
    if (state() != State::Failed)
        setState(State::Connecting);
    m_connectTimeout.start();
    m_socket.connectToHost(m_host, m_port);
}

int TcpUmdSender::room() const
{
    return m_socket.state() == QAbstractSocket::ConnectedState && m_socket.bytesToWrite() == 0 ? INT_MAX : 0;
}

void TcpUmdSender::write(const QByteArray &message)
{
    m_socket.write(message);
}

void TcpUmdSender::fail(const QString &reason)
{
    // A break is told by its error and then by the disconnection: one retry for both.
    if (m_retry.isActive())
        return;
    m_retry.start(m_retryMs);
    m_retryMs = std::min(m_retryMs * 2, serverlimits::UmdLastRetryMs);
    m_connectTimeout.stop();
    m_socket.abort();
    setState(State::Failed, reason);
}
