#include "remote/umd/UdpUmdSender.h"

#include "remote/ServerLimits.h"

#include <climits>

UdpUmdSender::UdpUmdSender(QString host, quint16 port, QObject *parent)
    : UmdSender(parent), m_host(std::move(host)), m_port(port)
{
    m_quiet.setSingleShot(true);
    m_quiet.setInterval(serverlimits::UmdQuietMs);
    m_retry.setSingleShot(true);
    m_retry.setInterval(serverlimits::UmdReopenMs);
    connect(&m_quiet, &QTimer::timeout, this, [this] { setState(State::Sending); });
    connect(&m_retry, &QTimer::timeout, this, &UdpUmdSender::start);
    connect(&m_socket, &QUdpSocket::connected, this, [this] {
        if (state() != State::Failed)
            setState(State::Sending);
        emit restarted();
        emit ready();
    });
    connect(&m_socket, &QUdpSocket::readyRead, this, [this] {
        while (m_socket.hasPendingDatagrams())
            (void)m_socket.readDatagram(nullptr, 0);
    });
    connect(&m_socket, &QUdpSocket::errorOccurred, this, &UdpUmdSender::fail);
}

void UdpUmdSender::start()
{
    m_socket.abort();
    m_socket.connectToHost(m_host, m_port, QIODevice::ReadWrite);
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
    if (state() == State::Failed && !m_quiet.isActive())
        m_quiet.start();
}

void UdpUmdSender::fail()
{
    m_quiet.stop();
    // Qt has no words of its own for a refusal on a connected UDP socket.
    setState(State::Failed, m_socket.error() == QAbstractSocket::ConnectionRefusedError
                                ? QStringLiteral("Connection refused")
                                : m_socket.errorString());
    if (m_socket.state() != QAbstractSocket::ConnectedState && !m_retry.isActive())
        m_retry.start();
}
