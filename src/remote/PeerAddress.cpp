#include "remote/PeerAddress.h"

#include <QHostAddress>
#include <QTcpSocket>

QString peerAddressOf(const QTcpSocket &socket)
{
    bool isV4 = false;
    const quint32 v4 = socket.peerAddress().toIPv4Address(&isV4);
    return isV4 ? QHostAddress(v4).toString() : socket.peerAddress().toString();
}
