#include "remote/umd/UdpUmdSender.h"

#include "remote/ServerLimits.h"

#include <climits>

UdpUmdSender::UdpUmdSender(QString host, quint16 port, QObject *parent)
    : UmdSender(parent), m_host(std::move(host)), m_port(port)
{
    m_retry.setSingleShot(true);
    m_retry.setInterval(serverlimits::UmdReopenMs);
    connect(&m_retry, &QTimer::timeout, this, &UdpUmdSender::start);
    connect(&m_socket, &QUdpSocket::connected, this, [this] {
        if (state() != State::Failed)
            setState(State::Sending);
        emit restarted();
        emit ready();
    });
    connect(&m_socket, &QUdpSocket::errorOccurred, this, &UdpUmdSender::fail);
}

void UdpUmdSender::start()
{
    m_socket.abort();
    m_socket.connectToHost(m_host, m_port, QIODevice::WriteOnly);
}

int UdpUmdSender::room() const
{
    return m_socket.state() == QAbstractSocket::ConnectedState ? INT_MAX : 0;
}

void UdpUmdSender::write(const QByteArray &message)
{
    // A refusal reported back for an earlier datagram fails the next write
    // and is cleared by it: this message is tried once more.
    if (m_socket.write(message) != message.size()) {
        fail();
        if (m_socket.state() != QAbstractSocket::ConnectedState || m_socket.write(message) != message.size())
            return;
    }
    if (state() != State::Failed)
        return;
    if (!m_unrefused.isValid())
        m_unrefused.start();
    else if (m_unrefused.hasExpired(serverlimits::UmdQuietMs))
        setState(State::Sending);
}

void UdpUmdSender::fail()
{
    m_unrefused.invalidate();
    // Qt has no words of its own for what the receiver's side reported back.
    const bool reported = m_socket.error() == QAbstractSocket::ConnectionRefusedError ||
                          m_socket.error() == QAbstractSocket::UnknownSocketError;
    setState(State::Failed, reported ? QStringLiteral("refused or unreachable") : m_socket.errorString());
    if (m_socket.state() != QAbstractSocket::ConnectedState && !m_retry.isActive())
        m_retry.start();
}
