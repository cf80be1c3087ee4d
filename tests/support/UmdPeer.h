#pragma once

#include <QByteArray>
#include <QList>
#include <QStringList>
#include <QTcpServer>
#include <QUdpSocket>

// Display receivers for the UMD output's tests and benchmark, each keeping
// what it read, one line a display:
//   TSL 3.1  "ADDRESS CONTROL TEXT"         "2 31 Camera 2" (control in hex, text without its padding)
//   TSL 5.0  "SCREEN/INDEX CONTROL TEXT"    "0/2 00d0 Camera 2" (control in hex, text as sent)

// One TSL 3.1 message or TSL 5.0 packet as a line; "bad BYTES" when it is not one.
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

// A UDP receiver on a loopback port of the system's choice.
class UdpUmdPeer : public QObject
{
    Q_OBJECT

public:
    explicit UdpUmdPeer(bool tsl5);

    [[nodiscard]] quint16 port() const { return m_socket.localPort(); }
    // Waits (bounded) until `count` lines have been read in all, then takes them.
    [[nodiscard]] QStringList take(int count);
    // Whatever arrived so far, taken.
    [[nodiscard]] QStringList takeAll();

    QStringList received;

private:
    void readPending();

    QUdpSocket m_socket;
    bool m_tsl5;
};

// A TSL 5.0 receiver over TCP on a loopback port, which can stop and listen
// again on the same port.
class TcpUmdPeer : public QObject
{
    Q_OBJECT

public:
    TcpUmdPeer();

    [[nodiscard]] bool listen(quint16 port = 0);
    // Stops listening and drops its connections.
    void stop();
    [[nodiscard]] quint16 port() const { return m_port; }
    [[nodiscard]] QStringList take(int count);

    QStringList received;
    int connections = 0;
    // How the bytes arrived: one entry per read.
    QList<QByteArray> reads;

private:
    QTcpServer m_server;
    QList<QTcpSocket *> m_clients;
    quint16 m_port = 0;
};
