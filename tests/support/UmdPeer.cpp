#include "support/UmdPeer.h"

#include <QNetworkDatagram>
#include <QTcpSocket>
#include <QTest>

namespace {

constexpr char Dle = char(0xFE);
constexpr char Stx = char(0x02);
constexpr int WaitMs = 10000;

int word(const QByteArray &bytes, qsizetype at)
{
    return quint8(bytes[at]) | quint8(bytes[at + 1]) << 8;
}

QString bad(const QByteArray &bytes)
{
    return QStringLiteral("bad ") + QString::fromLatin1(bytes.toHex(' '));
}

QStringList takeLines(QStringList &received, int count)
{
    (void)QTest::qWaitFor([&] { return received.size() >= count; }, WaitMs);
    return std::exchange(received, {});
}

} // namespace

QString readTsl31(const QByteArray &message)
{
    if (message.size() != 18 || quint8(message[0]) < 0x80 || quint8(message[0]) == 0xFF)
        return bad(message);
    return QStringLiteral("%1 %2 %3")
        .arg(quint8(message[0]) - 0x80)
        .arg(quint8(message[1]), 2, 16, QLatin1Char('0'))
        .arg(QString::fromLatin1(message.mid(2)).trimmed());
}

QString readTsl5(const QByteArray &packet)
{
    if (packet.size() < 12 || word(packet, 0) != packet.size() - 2 || word(packet, 10) != packet.size() - 12)
        return bad(packet);
    const QByteArray text = packet.mid(12);
    const bool utf16 = packet[3] & 1;
    return QStringLiteral("%1/%2 %3 %4")
        .arg(word(packet, 4))
        .arg(word(packet, 6))
        .arg(word(packet, 8), 4, 16, QLatin1Char('0'))
        .arg(utf16 ? QString::fromUtf16(reinterpret_cast<const char16_t *>(text.constData()), text.size() / 2)
                   : QString::fromLatin1(text));
}

QList<QByteArray> Tsl5StreamReader::feed(const QByteArray &bytes)
{
    QList<QByteArray> packets;
    for (const char byte : bytes) {
        if (m_afterDle) {
            m_afterDle = false;
            if (byte == Stx) {
                m_packet.clear();
                m_inPacket = true;
                continue;
            }
            if (byte != Dle) {
                m_inPacket = false;
                continue;
            }
        } else if (byte == Dle) {
            m_afterDle = true;
            continue;
        }
        if (!m_inPacket)
            continue;
        m_packet.append(byte);
        if (m_packet.size() >= 2 && m_packet.size() == word(m_packet, 0) + 2) {
            packets.append(std::exchange(m_packet, {}));
            m_inPacket = false;
        }
    }
    return packets;
}

UdpUmdPeer::UdpUmdPeer(bool tsl5) : m_tsl5(tsl5)
{
    m_socket.bind(QHostAddress::LocalHost);
    connect(&m_socket, &QUdpSocket::readyRead, this, &UdpUmdPeer::readPending);
}

QStringList UdpUmdPeer::take(int count)
{
    return takeLines(received, count);
}

QStringList UdpUmdPeer::takeAll()
{
    readPending();
    return std::exchange(received, {});
}

void UdpUmdPeer::readPending()
{
    while (m_socket.hasPendingDatagrams()) {
        const QByteArray data = m_socket.receiveDatagram().data();
        received.append(m_tsl5 ? readTsl5(data) : readTsl31(data));
    }
}

TcpUmdPeer::TcpUmdPeer()
{
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *client = m_server.nextPendingConnection()) {
            ++connections;
            m_clients.append(client);
            auto reader = std::make_shared<Tsl5StreamReader>();
            connect(client, &QTcpSocket::readyRead, this, [this, client, reader] {
                const QByteArray bytes = client->readAll();
                reads.append(bytes);
                for (const QByteArray &packet : reader->feed(bytes))
                    received.append(readTsl5(packet));
            });
        }
    });
}

bool TcpUmdPeer::listen(quint16 port)
{
    if (!m_server.listen(QHostAddress::LocalHost, port))
        return false;
    m_port = m_server.serverPort();
    return true;
}

void TcpUmdPeer::stop()
{
    m_server.close();
    for (QTcpSocket *client : std::as_const(m_clients)) {
        client->abort();
        client->deleteLater();
    }
    m_clients.clear();
}

QStringList TcpUmdPeer::take(int count)
{
    return takeLines(received, count);
}
