#pragma once

#include "remote/control/ControlSocketName.h"

#include <QLocalSocket>
#include <QTest>

// The first answer line of the running panel's control port to one command.
inline QString controlAnswer(const QByteArray &command)
{
    QLocalSocket socket;
    socket.connectToServer(controlSocketName());
    socket.write(command);
    (void)QTest::qWaitFor([&] { return socket.canReadLine(); }, 20000);
    return QString::fromUtf8(socket.readLine()).trimmed();
}
