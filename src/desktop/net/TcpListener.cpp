#include "desktop/net/TcpListener.h"

#include <QSocketNotifier>
#include <QTcpSocket>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace desktop {
namespace {

#ifdef Q_OS_UNIX
// The next waiting connection's descriptor, or -1 with errno set.
int acceptOne(qintptr listening)
{
#ifdef SOCK_CLOEXEC
    return ::accept4(int(listening), nullptr, nullptr, SOCK_CLOEXEC);
#else
    const int accepted = ::accept(int(listening), nullptr, nullptr);
    if (accepted >= 0)
        (void)::fcntl(accepted, F_SETFD, FD_CLOEXEC);
    return accepted;
#endif
}
#endif

} // namespace

TcpListener::TcpListener(QObject *parent) : QObject(parent)
{
    m_rest.setSingleShot(true);
    m_rest.setInterval(RestMs);
    connect(&m_rest, &QTimer::timeout, this, &TcpListener::resume);
}

TcpListener::~TcpListener() = default;

bool TcpListener::listen(const QHostAddress &address, quint16 port)
{
    // [::] takes clients of both families where the system allows it (Qt
    // alone would listen on IPv6 only).
    const bool anyAddress = address == QHostAddress(QHostAddress::AnyIPv6);
    if (!m_server.listen(anyAddress ? QHostAddress(QHostAddress::Any) : address, port))
        return false;
#ifdef Q_OS_UNIX
    m_server.pauseAccepting();
    m_readable = new QSocketNotifier(m_server.socketDescriptor(), QSocketNotifier::Read, this);
    connect(m_readable, &QSocketNotifier::activated, this, &TcpListener::acceptWaiting);
#else
    connect(&m_server, &QTcpServer::newConnection, this, &TcpListener::acceptWaiting);
    connect(&m_server, &QTcpServer::acceptError, this, [this] { rest(m_server.errorString()); });
#endif
    return true;
}

void TcpListener::acceptWaiting()
{
#ifdef Q_OS_UNIX
    for (;;) {
        const int accepted = acceptOne(m_server.socketDescriptor());
        if (accepted < 0) {
            if (errno == EINTR || errno == ECONNABORTED)
                continue;
            if (errno != EAGAIN && errno != EWOULDBLOCK)
                rest(QString::fromLocal8Bit(std::strerror(errno)));
            return;
        }
        // Serving a client takes more than its socket (a writer of its own,
        // the files the panel writes): with no descriptor to spare, it is
        // not taken at all.
        const int spare = ::fcntl(accepted, F_DUPFD_CLOEXEC, 0);
        if (spare < 0) {
            const int error = errno;
            ::close(accepted);
            rest(QString::fromLocal8Bit(std::strerror(error)));
            return;
        }
        ::close(spare);
        auto *socket = new QTcpSocket;
        if (!socket->setSocketDescriptor(accepted)) {
            ::close(accepted);
            delete socket;
            continue;
        }
        m_failing = false;
        emit connectionArrived(socket);
    }
#else
    while (QTcpSocket *socket = m_server.nextPendingConnection()) {
        socket->setParent(nullptr);
        m_failing = false;
        emit connectionArrived(socket);
    }
#endif
}

void TcpListener::rest(const QString &error)
{
    if (m_readable)
        m_readable->setEnabled(false);
    else
        m_server.pauseAccepting();
    m_rest.start();
    if (!std::exchange(m_failing, true))
        emit acceptFailed(error);
}

void TcpListener::resume()
{
    if (m_readable)
        m_readable->setEnabled(true);
    else
        m_server.resumeAccepting();
}

} // namespace desktop
