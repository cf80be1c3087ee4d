#include "support/UmdPeer.h"

#include <QNetworkDatagram>
#include <QTcpSocket>
#include <QTest>
#include <memory>

namespace {

constexpr char Dle = char(0xFE);

int word(const QByteArray &bytes, qsizetype at)
{
    return quint8(bytes[at]) | quint8(bytes[at + 1]) << 8;
}

QString bad(const QByteArray &bytes)
{
    return QStringLiteral("bad ") + QString::fromLatin1(bytes.toHex(' '));
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
    return QStringLiteral("%1/%2 %3 %4")
        .arg(word(packet, 4))
        .arg(word(packet, 6))
        .arg(word(packet, 8), 4, 16, QLatin1Char('0'))
        .arg(packet[3] & 1 ? QString::fromUtf16(reinterpret_cast<const char16_t *>(text.constData()), text.size() / 2)
                           : QString::fromLatin1(text));
}

QList<QByteArray> Tsl5StreamReader::feed(const QByteArray &bytes)
{
    QList<QByteArray> packets;
    for (const char byte : bytes) {
        const bool afterDle = std::exchange(m_afterDle, !m_afterDle && byte == Dle);
        if (m_afterDle)
            continue;
        if (afterDle && byte != Dle) {
            // DLE STX starts a packet; DLE and anything else is no packet.
            m_inPacket = byte == 0x02;
            m_packet.clear();
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

UmdPeer::UmdPeer(Kind kind) : m_kind(kind)
{
    connect(&m_udp, &QUdpSocket::readyRead, this, &UmdPeer::readDatagrams);
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *client = m_server.nextPendingConnection()) {
            ++connections;
            m_clients.append(client);
            auto reader = std::make_shared<Tsl5StreamReader>();
            connect(client, &QTcpSocket::readyRead, this, [this, client, reader] {
                for (const QByteArray &packet : reader->feed(client->readAll()))
                    received.append(readTsl5(packet));
            });
        }
    });
    (void)listen(0);
}

bool UmdPeer::listen(quint16 port)
{
    const bool listening = m_kind == Kind::Tsl5Tcp ? m_server.listen(QHostAddress::LocalHost, port)
                                                   : m_udp.bind(QHostAddress::LocalHost, port);
    m_port = m_kind == Kind::Tsl5Tcp ? m_server.serverPort() : m_udp.localPort();
    return listening;
}

void UmdPeer::stop()
{
    m_server.close();
    for (QTcpSocket *client : std::exchange(m_clients, {})) {
        client->abort();
        client->deleteLater();
    }
}

QStringList UmdPeer::take(int count)
{
    (void)QTest::qWaitFor([&] { return received.size() >= count; }, 10000);
    return std::exchange(received, {});
}

QStringList UmdPeer::takeAll()
{
    readDatagrams();
    return std::exchange(received, {});
}

void UmdPeer::readDatagrams()
{
    while (m_udp.hasPendingDatagrams()) {
        const QByteArray data = m_udp.receiveDatagram().data();
        received.append(m_kind == Kind::Tsl31 ? readTsl31(data) : readTsl5(data));
    }
}
