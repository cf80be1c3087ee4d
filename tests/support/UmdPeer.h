#pragma once

#include <QByteArray>
#include <QList>
#include <QStringList>
#include <QTcpServer>
#include <QUdpSocket>

// One TSL 3.1 message or TSL 5.0 packet as a line; "bad BYTES" when it is not one:
//   TSL 3.1  "ADDRESS CONTROL TEXT"       "2 31 Camera 2" (control in hex, text without its padding)
//   TSL 5.0  "SCREEN/INDEX CONTROL TEXT"  "0/2 00d0 Camera 2"
[[nodiscard]] QString readTsl31(const QByteArray &message);
[[nodiscard]] QString readTsl5(const QByteArray &packet);

// The packets of a TSL 5.0 byte stream, however it is cut into reads: DLE
// STX starts a packet, DLE DLE is one DLE, the byte count ends it.
class Tsl5StreamReader
{
public:
    [[nodiscard]] QList<QByteArray> feed(const QByteArray &bytes);

private:
    QByteArray m_packet;
    bool m_inPacket = false;
    bool m_afterDle = false;
};

// A display receiver on loopback for the UMD output's tests and benchmark,
// keeping one line a display as read*() words it: TSL 3.1 or 5.0 over UDP,
// or TSL 5.0 over TCP, where it can stop and listen again on its port.
class UmdPeer : public QObject
{
    Q_OBJECT

public:
    enum class Kind { Tsl31, Tsl5, Tsl5Tcp };

    // Listening on a port of the system's choice.
    explicit UmdPeer(Kind kind);

    [[nodiscard]] bool listen(quint16 port);
    // Stops listening and drops its connections (TCP).
    void stop();
    [[nodiscard]] quint16 port() const { return m_port; }
    // Waits (bounded) until `count` lines have been read in all, then takes them.
    [[nodiscard]] QStringList take(int count);
    // Whatever has arrived, taken.
    [[nodiscard]] QStringList takeAll();

    QStringList received;
    int connections = 0;

private:
    void readDatagrams();

    Kind m_kind;
    QUdpSocket m_udp;
    QTcpServer m_server;
    QList<QTcpSocket *> m_clients;
    quint16 m_port = 0;
};
