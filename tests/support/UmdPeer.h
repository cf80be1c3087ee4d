#pragma once

#include <QNetworkDatagram>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QUdpSocket>
#include <memory>

// A 16-bit little-endian field of a TSL 5.0 packet.
inline int tsl5Word(const QByteArray &bytes, qsizetype at)
{
    return quint8(bytes[at]) | quint8(bytes[at + 1]) << 8;
}

// One TSL 3.1 message or TSL 5.0 packet as a line, empty when it is not one:
//   TSL 3.1  "ADDRESS CONTROL TEXT"       "2 31 Camera 2" (control in hex, text without its padding)
//   TSL 5.0  "SCREEN/INDEX CONTROL TEXT"  "0/2 00d0 Camera 2"
inline QString readTsl31(const QByteArray &message)
{
    if (message.size() != 18 || quint8(message[0]) < 0x80 || quint8(message[0]) == 0xFF)
        return {};
    return QStringLiteral("%1 %2 %3")
        .arg(quint8(message[0]) - 0x80)
        .arg(quint8(message[1]), 2, 16, QLatin1Char('0'))
        .arg(QString::fromLatin1(message.mid(2)).trimmed());
}

inline QString readTsl5(const QByteArray &packet)
{
    if (packet.size() < 12 || tsl5Word(packet, 0) != packet.size() - 2 || tsl5Word(packet, 10) != packet.size() - 12)
        return {};
    const QByteArray text = packet.mid(12);
    return QStringLiteral("%1/%2 %3 %4")
        .arg(tsl5Word(packet, 4))
        .arg(tsl5Word(packet, 6))
        .arg(tsl5Word(packet, 8), 4, 16, QLatin1Char('0'))
        .arg(packet[3] & 1 ? QString::fromUtf16(reinterpret_cast<const char16_t *>(text.constData()), text.size() / 2)
                           : QString::fromLatin1(text));
}

// The packets of a TSL 5.0 byte stream, however it is cut into reads: DLE
// STX starts a packet, DLE DLE is one DLE, the byte count ends it.
class Tsl5StreamReader
{
public:
    [[nodiscard]] QList<QByteArray> feed(const QByteArray &bytes)
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
            } else if (m_inPacket) {
                m_packet.append(byte);
                if (m_packet.size() >= 2 && m_packet.size() == tsl5Word(m_packet, 0) + 2) {
                    packets.append(std::exchange(m_packet, {}));
                    m_inPacket = false;
                }
            }
        }
        return packets;
    }

private:
    static constexpr char Dle = char(0xFE);
    QByteArray m_packet;
    bool m_inPacket = false;
    bool m_afterDle = false;
};

// A display receiver on loopback for the UMD output's tests, keeping one
// line a display as read*() words it: TSL 3.1 or 5.0 over UDP, or TSL 5.0
// over TCP, where it can stop and listen again on its port.
class UmdPeer : public QObject
{
public:
    enum class Kind { Tsl31, Tsl5, Tsl5Tcp };

    // Listening on a port of the system's choice.
    explicit UmdPeer(Kind kind) : m_kind(kind)
    {
        connect(&m_udp, &QUdpSocket::readyRead, this, &UmdPeer::readDatagrams);
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *client = m_server.nextPendingConnection()) {
                m_clients.append(client);
                connect(client, &QTcpSocket::readyRead, this,
                        [this, client, reader = std::make_shared<Tsl5StreamReader>()] {
                            for (const QByteArray &packet : reader->feed(client->readAll()))
                                received.append(readTsl5(packet));
                        });
            }
        });
        (void)listen(0);
    }

    [[nodiscard]] bool listen(quint16 port)
    {
        const bool tcp = m_kind == Kind::Tsl5Tcp;
        const bool listening =
            tcp ? m_server.listen(QHostAddress::LocalHost, port) : m_udp.bind(QHostAddress::LocalHost, port);
        m_port = tcp ? m_server.serverPort() : m_udp.localPort();
        return listening;
    }

    // Stops listening and drops its connections.
    void stop()
    {
        m_udp.close();
        m_server.close();
        for (QTcpSocket *client : std::exchange(m_clients, {}))
            client->deleteLater();
    }

    [[nodiscard]] quint16 port() const { return m_port; }

    // Waits (bounded) until `count` lines have been read in all, then takes
    // them all; take(0) takes what has arrived.
    [[nodiscard]] QStringList take(int count = 0)
    {
        readDatagrams();
        (void)QTest::qWaitFor([&] { return received.size() >= count; }, 10000);
        return std::exchange(received, {});
    }

    QStringList received;

private:
    void readDatagrams()
    {
        while (m_udp.state() == QAbstractSocket::BoundState && m_udp.hasPendingDatagrams()) {
            const QByteArray data = m_udp.receiveDatagram().data();
            received.append(m_kind == Kind::Tsl31 ? readTsl31(data) : readTsl5(data));
        }
    }

    Kind m_kind;
    QUdpSocket m_udp;
    QTcpServer m_server;
    QList<QTcpSocket *> m_clients;
    quint16 m_port = 0;
};
