#include "desktop/net/LocalConnect.h"

#include <QFile>
#include <QLocalSocket>
#include <algorithm>
#include <climits>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>
#endif

namespace desktop {

namespace {

#ifdef Q_OS_UNIX
// A stream socket for the path, not inherited by programs this one starts; -1 on failure.
int newLocalSocket()
{
#ifdef SOCK_CLOEXEC
    return ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
#else
    const int descriptor = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (descriptor >= 0)
        (void)::fcntl(descriptor, F_SETFD, FD_CLOEXEC);
    return descriptor;
#endif
}

// Bounds the blocking connect (and nothing after it: zero is no bound).
bool setSendTimeout(int descriptor, qint64 ms)
{
    timeval timeout{};
    timeout.tv_sec = time_t(ms / 1000);
    timeout.tv_usec = suseconds_t(ms % 1000 * 1000);
    return ::setsockopt(descriptor, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout) == 0;
}

// A blocking connect to path, retried after signals until the deadline. The
// send time-out bounds the kernel's wait for room in the server's backlog.
bool connectBlocking(int descriptor, const QString &path, const QDeadlineTimer &deadline)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray encoded = QFile::encodeName(path);
    if (encoded.isEmpty() || size_t(encoded.size()) >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, encoded.constData(), size_t(encoded.size()));
    for (;;) {
        // Forever is no bound; an expired deadline still gets one try with the
        // shortest bound, so a server with room accepts.
        const qint64 remaining = deadline.isForever() ? 0 : std::max<qint64>(deadline.remainingTime(), 1);
        if (!setSendTimeout(descriptor, remaining))
            return false;
        if (::connect(descriptor, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0)
            return setSendTimeout(descriptor, 0);
        if (errno == EISCONN) // A connect cut short by a signal went on in the background.
            return setSendTimeout(descriptor, 0);
        // EAGAIN: the bound passed with the backlog still full. EALREADY: the
        // connect a signal cut short still waits.
        const bool waitAgain = errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK || errno == EALREADY;
        if (!waitAgain || deadline.hasExpired())
            return false;
    }
}
#endif

} // namespace

bool connectLocalSocket(QLocalSocket &socket, const QString &name, QDeadlineTimer deadline)
{
#ifdef Q_OS_UNIX
    const int descriptor = newLocalSocket();
    if (descriptor < 0)
        return false;
    if (!connectBlocking(descriptor, name, deadline) || !socket.setSocketDescriptor(descriptor)) {
        ::close(descriptor);
        return false;
    }
    return true;
#else
    socket.connectToServer(name);
    return socket.waitForConnected(int(std::min<qint64>(deadline.remainingTime(), INT_MAX)));
#endif
}

} // namespace desktop
