#include "desktop/StopSignals.h"

#include <QSocketNotifier>

#ifdef Q_OS_UNIX
#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace desktop {

#ifdef Q_OS_UNIX

namespace {

constexpr std::array StopSignalNumbers{SIGTERM, SIGINT, SIGHUP};

// The socket pair: the handler writes to [0], the event loop reads [1].
int wakeFds[2] = {-1, -1};
// What each signal did before, for the signals whose handler was put in.
std::array<struct sigaction, StopSignalNumbers.size()> previousActions{};
std::array<bool, StopSignalNumbers.size()> handled{};

void onStopSignal(int)
{
    const int savedErrno = errno;
    const char byte = 1;
    // Non-blocking: when the socket is full, a wake-up is pending already.
    [[maybe_unused]] const auto written = ::write(wakeFds[0], &byte, 1);
    errno = savedErrno;
}

bool prepare(int fd)
{
    const int flags = ::fcntl(fd, F_GETFL);
    return flags >= 0 && ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0 && ::fcntl(fd, F_SETFD, FD_CLOEXEC) == 0;
}

void closeWakeFds()
{
    for (int &fd : wakeFds) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
}

} // namespace

StopSignals::StopSignals(QObject *parent) : QObject(parent)
{
    Q_ASSERT(wakeFds[0] < 0);
    // Without the socket pair the signals keep their default action.
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, wakeFds) != 0 || !prepare(wakeFds[0]) || !prepare(wakeFds[1])) {
        closeWakeFds();
        return;
    }
    m_notifier = new QSocketNotifier(wakeFds[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &StopSignals::drain);

    struct sigaction action
    {
    };
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    // Calls the signal interrupts carry on instead of failing with EINTR.
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < StopSignalNumbers.size(); ++i) {
        struct sigaction current
        {
        };
        if (::sigaction(StopSignalNumbers[i], nullptr, &current) != 0 || current.sa_handler == SIG_IGN)
            continue;
        handled[i] = ::sigaction(StopSignalNumbers[i], &action, &previousActions[i]) == 0;
    }
}

StopSignals::~StopSignals()
{
    for (std::size_t i = 0; i < StopSignalNumbers.size(); ++i) {
        if (handled[i])
            ::sigaction(StopSignalNumbers[i], &previousActions[i], nullptr);
        handled[i] = false;
    }
    delete m_notifier;
    closeWakeFds();
}

void StopSignals::drain()
{
    char bytes[64];
    while (::read(wakeFds[1], bytes, sizeof bytes) > 0) {
    }
    emit stopRequested();
}

#else

StopSignals::StopSignals(QObject *parent) : QObject(parent)
{}

StopSignals::~StopSignals()
{
    delete m_notifier;
}

void StopSignals::drain()
{}

#endif

} // namespace desktop
