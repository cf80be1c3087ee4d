#pragma once

#include <QDeadlineTimer>
#include <QString>

class QLocalSocket;

namespace desktop {

// Connects socket to the local server name (a socket path on Unix), waiting
// at most until the deadline; true once connected. While the server's
// backlog is full, Qt's own connect retries a non-blocking connect as fast as
// it can and so competes on equal terms with every other client retrying;
// on Unix this connect sleeps in the kernel instead, which wakes it as soon
// as the server accepts. Returns at once when nobody listens at name.
// Elsewhere it is Qt's own connect.
[[nodiscard]] bool connectLocalSocket(QLocalSocket &socket, const QString &name, QDeadlineTimer deadline);

} // namespace desktop
