#include "desktop/SocketWriter.h"

#include <QIODevice>
#include <QSocketNotifier>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace {

#ifdef Q_OS_UNIX
// A write to a peer that left must fail with EPIPE, never raise SIGPIPE.
#ifdef MSG_NOSIGNAL
constexpr int SendFlags = MSG_NOSIGNAL;
#else
constexpr int SendFlags = 0;
#endif

int duplicate(qintptr descriptor)
{
    if (descriptor < 0)
        return -1;
    const int copy = ::dup(int(descriptor));
#ifdef SO_NOSIGPIPE
    if (copy >= 0) {
        const int on = 1;
        (void)::setsockopt(copy, SOL_SOCKET, SO_NOSIGPIPE, &on, sizeof on);
    }
#endif
    return copy;
}
#endif

} // namespace

SocketWriter::SocketWriter(QIODevice &socket, qintptr descriptor, QObject *parent) : QObject(parent), m_socket(socket)
{
#ifdef Q_OS_UNIX
    // Shares the socket's open file description, so it is non-blocking too.
    m_descriptor = duplicate(descriptor);
#else
    Q_UNUSED(descriptor);
#endif
    if (m_descriptor < 0) {
        connect(&m_socket, &QIODevice::bytesWritten, this, &SocketWriter::bytesWritten);
        return;
    }
    m_writable = new QSocketNotifier(m_descriptor, QSocketNotifier::Write, this);
    m_writable->setEnabled(false);
    connect(m_writable, &QSocketNotifier::activated, this, [this] {
        flushPending();
        emit bytesWritten();
    });
}

SocketWriter::~SocketWriter()
{
#ifdef Q_OS_UNIX
    if (m_descriptor >= 0) {
        delete m_writable;
        ::close(m_descriptor);
    }
#endif
}

void SocketWriter::write(const QByteArray &bytes)
{
    if (m_gone)
        return;
    if (m_descriptor < 0) {
        if (m_socket.isWritable())
            m_socket.write(bytes);
        return;
    }
    m_pending += bytes;
    flushPending();
}

qint64 SocketWriter::bytesToWrite() const
{
    return m_descriptor < 0 ? m_socket.bytesToWrite() : m_pending.size();
}

void SocketWriter::flushPending()
{
#ifdef Q_OS_UNIX
    qsizetype written = 0;
    while (written < m_pending.size()) {
        const auto sent =
            ::send(m_descriptor, m_pending.constData() + written, size_t(m_pending.size() - written), SendFlags);
        if (sent > 0) {
            written += sent;
            continue;
        }
        if (sent < 0 && errno == EINTR)
            continue;
        if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            break;
        markGone();
        return;
    }
    m_pending.remove(0, written);
    m_writable->setEnabled(!m_pending.isEmpty());
#endif
}

bool SocketWriter::peerGone()
{
#ifdef Q_OS_UNIX
    if (!m_gone && m_descriptor >= 0) {
        pollfd state{m_descriptor, POLLOUT, 0};
        if (::poll(&state, 1, 0) > 0 && (state.revents & (POLLHUP | POLLERR)))
            markGone();
    }
#endif
    if (m_descriptor < 0 && !m_socket.isOpen())
        m_gone = true;
    return m_gone;
}

void SocketWriter::markGone()
{
    m_gone = true;
    m_pending.clear();
    if (m_writable)
        m_writable->setEnabled(false);
}
