#include "HalfClose.h"

#include <QTcpSocket>
#include <QTest>

#ifdef Q_OS_UNIX
#include <sys/socket.h>
#endif

bool halfClose(QTcpSocket &socket)
{
#ifdef Q_OS_UNIX
    (void)socket.waitForBytesWritten(5000);
    return ::shutdown(int(socket.socketDescriptor()), SHUT_WR) == 0;
#else
    (void)socket;
    return false;
#endif
}

void leaveAndWait(QTcpSocket &socket)
{
    if (!halfClose(socket)) {
        socket.abort();
        return;
    }
    (void)QTest::qWaitFor([&socket] { return socket.state() == QAbstractSocket::UnconnectedState; }, 20000);
}
