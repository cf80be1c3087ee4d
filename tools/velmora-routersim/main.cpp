// The simulator's event loop: the one place in Velmora that talks to POSIX
// terminals directly. Everything is driven by a single ppoll() so the process
// sleeps between frames and answer bytes.

#include "FrameScanner.h"
#include "RouterBank.h"
#include "SimOptions.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <deque>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <poll.h>
#include <string>
#include <sys/inotify.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

namespace {

using namespace routersim;
using Clock = std::chrono::steady_clock;

// 9600 baud with start and stop bit: ten bit times per byte.
constexpr auto ByteTime =
    std::chrono::duration_cast<Clock::duration>(std::chrono::nanoseconds{10'000'000'000LL / 9600});
// How long to leave a hung-up port alone before looking again.
constexpr auto HangupRest = std::chrono::milliseconds{50};

int signalPipeWrite = -1;

extern "C" void onSignal(int signalNumber)
{
    const int savedErrno = errno;
    const auto byte = static_cast<unsigned char>(signalNumber);
    [[maybe_unused]] const auto written = ::write(signalPipeWrite, &byte, 1);
    errno = savedErrno;
}

std::string systemError(const std::string &what)
{
    return what + ": " + std::strerror(errno);
}

bool setRaw(int fd, std::string &error)
{
    termios settings{};
    if (::tcgetattr(fd, &settings) != 0) {
        error = systemError("not a terminal");
        return false;
    }
    ::cfmakeraw(&settings);
    settings.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS);
    settings.c_cflag |= CS8 | CREAD | CLOCAL;
    settings.c_cc[VMIN] = 1;
    settings.c_cc[VTIME] = 0;
    ::cfsetispeed(&settings, B9600);
    ::cfsetospeed(&settings, B9600);
    if (::tcsetattr(fd, TCSANOW, &settings) != 0) {
        error = systemError("cannot set raw 9600 8N1");
        return false;
    }
    return true;
}

void closeFd(int &fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

void printLine(const std::string &line)
{
    std::fputs((line + '\n').c_str(), stdout);
    std::fflush(stdout);
}

class Simulator
{
public:
    explicit Simulator(Options options)
        : options_(std::move(options)), byteTime_(options_.pacing ? ByteTime : Clock::duration::zero())
    {}

    Simulator(const Simulator &) = delete;
    Simulator &operator=(const Simulator &) = delete;

    ~Simulator()
    {
        removeLink();
        closeFd(watch_);
        closeFd(ownSlave_);
        closeFd(port_);
    }

    bool open(std::string &error)
    {
        return options_.kind == PortKind::Link ? openPseudoTerminal(error) : openDevice(error);
    }

    // Returns when a termination signal arrives on signalFd.
    int run(int signalFd)
    {
        for (;;) {
            const auto now = Clock::now();
            putDueAnswersOnWire(now);
            writeDueBytes(now);

            const bool resting = now < restUntil_;
            pollfd fds[3] = {
                {signalFd, POLLIN, 0},
                {watch_, POLLIN, 0},
                {resting ? -1 : port_, static_cast<short>(POLLIN | (writeBlocked_ ? POLLOUT : 0)), 0},
            };
            const auto deadline = nextDeadline(resting);
            timespec timeout{};
            if (deadline) {
                const auto wait = std::max(*deadline - Clock::now(), Clock::duration::zero());
                const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(wait).count();
                timeout.tv_sec = static_cast<time_t>(ns / 1'000'000'000);
                timeout.tv_nsec = static_cast<long>(ns % 1'000'000'000);
            }
            if (::ppoll(fds, 3, deadline ? &timeout : nullptr, nullptr) < 0) {
                if (errno == EINTR)
                    continue;
                std::fprintf(stderr, "velmora-routersim: %s\n", systemError("poll").c_str());
                return 1;
            }
            if (fds[0].revents)
                return 0;
            if (fds[1].revents & POLLIN)
                readOpenCloseEvents();
            if (fds[2].revents & POLLOUT)
                writeBlocked_ = false;
            if (fds[2].revents & POLLIN)
                readPort();
            else if (fds[2].revents & (POLLHUP | POLLERR))
                restUntil_ = Clock::now() + HangupRest;
        }
    }

private:
    struct WireByte
    {
        Clock::time_point at;
        std::uint8_t byte;
    };

    bool openPseudoTerminal(std::string &error)
    {
        port_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (port_ < 0 || ::grantpt(port_) != 0 || ::unlockpt(port_) != 0) {
            error = systemError("cannot create a pseudo-terminal");
            return false;
        }
        char name[128];
        if (::ptsname_r(port_, name, sizeof name) != 0) {
            error = systemError("cannot name the pseudo-terminal");
            return false;
        }
        slavePath_ = name;
        // Holding the slave open ourselves keeps the master from hanging up
        // while the panel has the port closed between sessions.
        ownSlave_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (ownSlave_ < 0) {
            error = systemError("cannot open " + slavePath_);
            return false;
        }
        if (!setRaw(ownSlave_, error) || !setNonBlocking(port_, error))
            return false;
        // Opens and closes by others tell us whether anybody listens, so that
        // answers sent to a closed port are lost as they would be on a real line.
        watch_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        if (watch_ >= 0 && ::inotify_add_watch(watch_, name, IN_OPEN | IN_CLOSE) >= 0) {
            clients_ = 0;
        } else {
            std::fprintf(stderr, "velmora-routersim: cannot watch %s, answers always go out\n", name);
            closeFd(watch_);
        }
        return createLink(error);
    }

    bool openDevice(std::string &error)
    {
        port_ = ::open(options_.path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (port_ < 0) {
            error = systemError("cannot open " + options_.path);
            return false;
        }
        if (!setRaw(port_, error))
            return false;
        ::tcflush(port_, TCIOFLUSH);
        return true;
    }

    static bool setNonBlocking(int fd, std::string &error)
    {
        const int flags = ::fcntl(fd, F_GETFL);
        if (flags < 0 || ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) != 0) {
            error = systemError("fcntl");
            return false;
        }
        return true;
    }

    bool createLink(std::string &error)
    {
        namespace fs = std::filesystem;
        const fs::path link = options_.path;
        std::error_code ec;
        if (link.has_parent_path())
            fs::create_directories(link.parent_path(), ec);
        if (ec) {
            error = "cannot create " + link.parent_path().string() + ": " + ec.message();
            return false;
        }
        const auto status = fs::symlink_status(link, ec);
        if (fs::exists(status) && !fs::is_symlink(status)) {
            error = link.string() + " exists and is not a symbolic link; not replacing it";
            return false;
        }
        // Build the link aside and rename it into place, so a client never
        // finds PATH missing or pointing at an old pseudo-terminal.
        const std::string temporary = link.string() + ".routersim-" + std::to_string(::getpid());
        ::unlink(temporary.c_str());
        if (::symlink(slavePath_.c_str(), temporary.c_str()) != 0 || ::rename(temporary.c_str(), link.c_str()) != 0) {
            error = systemError("cannot create the link " + link.string());
            ::unlink(temporary.c_str());
            return false;
        }
        linkCreated_ = true;
        return true;
    }

    // Only our own link goes: another simulator may have taken PATH over since.
    void removeLink()
    {
        if (!linkCreated_)
            return;
        char target[256];
        const auto length = ::readlink(options_.path.c_str(), target, sizeof target - 1);
        if (length > 0 && std::string(target, static_cast<std::size_t>(length)) == slavePath_)
            ::unlink(options_.path.c_str());
        linkCreated_ = false;
    }

    // Called before each batch of received bytes is answered: a close and
    // reopen are always queued before anything the new client writes, so the
    // discard below never eats an answer meant for the new session.
    void readOpenCloseEvents()
    {
        if (watch_ < 0)
            return;
        alignas(inotify_event) char buffer[4096];
        for (;;) {
            const auto length = ::read(watch_, buffer, sizeof buffer);
            if (length <= 0)
                return;
            for (std::size_t at = 0; at + sizeof(inotify_event) <= static_cast<std::size_t>(length);) {
                inotify_event event;
                std::memcpy(&event, buffer + at, sizeof event);
                at += sizeof event + event.len;
                if (event.mask & (IN_Q_OVERFLOW | IN_IGNORED)) {
                    clients_ = -1; // lost count: assume somebody listens from now on
                    continue;
                }
                if (clients_ < 0)
                    continue;
                if (event.mask & IN_OPEN && clients_++ == 0)
                    std::fprintf(stderr, "velmora-routersim: port opened\n");
                if (event.mask & IN_CLOSE && clients_ > 0 && --clients_ == 0)
                    lastClientClosed();
            }
        }
    }

    // A real port forgets what it received but nobody read once it is closed,
    // and bytes still on the wire are lost. The pseudo-terminal would keep
    // them for the next session, so drop them here.
    void lastClientClosed()
    {
        ::tcflush(ownSlave_, TCIFLUSH);
        wire_.clear();
        writeBlocked_ = false;
        std::fprintf(stderr, "velmora-routersim: port closed\n");
    }

    void readPort()
    {
        std::uint8_t buffer[512];
        for (;;) {
            const auto length = ::read(port_, buffer, sizeof buffer);
            if (length > 0) {
                // A pseudo-terminal delivers the bytes at once; on a real line
                // they take their time, and a router answers only once the
                // last byte of a frame is in.
                receivedAt_ = std::max(Clock::now(), receivedAt_) + byteTime_ * length;
                readOpenCloseEvents();
                for (const auto &frame : scanner_.feed({buffer, static_cast<std::size_t>(length)}))
                    handleFrame(frame, receivedAt_);
                // Immediate answers go out before the next read, so they
                // belong to the session that asked for them.
                putDueAnswersOnWire(Clock::now());
                writeDueBytes(Clock::now());
                continue;
            }
            if (length < 0 && errno == EINTR)
                continue;
            if (length == 0 || (errno != EAGAIN && errno != EWOULDBLOCK))
                restUntil_ = Clock::now() + HangupRest;
            return;
        }
    }

    void handleFrame(const CrosspointFrame::Bytes &frame, Clock::time_point at)
    {
        const Reception reception = receive(options_, frame);
        printLine(
            logLine(std::chrono::duration_cast<std::chrono::milliseconds>(at - start_), frame, reception.verdict));
        if (reception.answer)
            scheduled_.emplace(at + reception.answer->delay, reception.answer->bytes);
    }

    // Answers due now go on the line one after another, each byte taking its
    // time on the wire; a later answer never overtakes an earlier one.
    void putDueAnswersOnWire(Clock::time_point now)
    {
        while (!scheduled_.empty() && scheduled_.begin()->first <= now) {
            auto node = scheduled_.extract(scheduled_.begin());
            if (clients_ == 0) {
                std::fprintf(stderr, "velmora-routersim: answer dropped, the port is closed\n");
                continue;
            }
            auto start = std::max(node.key(), wireFreeAt_);
            for (const std::uint8_t byte : node.mapped()) {
                start += byteTime_;
                wire_.push_back({start, byte});
            }
            wireFreeAt_ = start;
        }
    }

    void writeDueBytes(Clock::time_point now)
    {
        if (writeBlocked_)
            return;
        std::vector<std::uint8_t> due;
        for (const auto &w : wire_) {
            if (w.at > now)
                break;
            due.push_back(w.byte);
        }
        if (due.empty())
            return;
        const auto written = ::write(port_, due.data(), due.size());
        if (written < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            writeBlocked_ = true;
            return;
        }
        if (written < 0) {
            std::fprintf(stderr, "velmora-routersim: %s, answer lost\n", systemError("write").c_str());
            wire_.erase(wire_.begin(), wire_.begin() + static_cast<std::ptrdiff_t>(due.size()));
            return;
        }
        wire_.erase(wire_.begin(), wire_.begin() + written);
        writeBlocked_ = static_cast<std::size_t>(written) < due.size();
    }

    std::optional<Clock::time_point> nextDeadline(bool resting) const
    {
        std::optional<Clock::time_point> deadline;
        auto consider = [&deadline](Clock::time_point t) { deadline = deadline ? std::min(*deadline, t) : t; };
        if (!scheduled_.empty())
            consider(scheduled_.begin()->first);
        if (!wire_.empty() && !writeBlocked_)
            consider(wire_.front().at);
        if (resting)
            consider(restUntil_);
        return deadline;
    }

    Options options_;
    Clock::duration byteTime_;
    Clock::time_point start_ = Clock::now();

    int port_ = -1;     // pseudo-terminal master, or the serial device
    int ownSlave_ = -1; // our own hold on the pseudo-terminal's slave side
    int watch_ = -1;    // inotify on the slave device
    int clients_ = -1;  // others holding the slave open; -1 when unknown
    std::string slavePath_;
    bool linkCreated_ = false;

    FrameScanner scanner_;
    std::multimap<Clock::time_point, std::vector<std::uint8_t>> scheduled_;
    std::deque<WireByte> wire_;
    Clock::time_point wireFreeAt_ = Clock::time_point::min();
    Clock::time_point receivedAt_ = Clock::time_point::min();
    bool writeBlocked_ = false;
    Clock::time_point restUntil_ = Clock::time_point::min();
};

bool installSignalHandlers(int &readEnd)
{
    int fds[2];
    if (::pipe2(fds, O_NONBLOCK | O_CLOEXEC) != 0)
        return false;
    readEnd = fds[0];
    signalPipeWrite = fds[1];
    struct sigaction action
    {
    };
    action.sa_handler = onSignal;
    ::sigemptyset(&action.sa_mask);
    for (const int signalNumber : {SIGINT, SIGTERM, SIGHUP})
        ::sigaction(signalNumber, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN); // a reader that went away must not kill the routers
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    const ParseOutcome parsed = parseCommandLine(args);
    switch (parsed.action) {
    case ParseOutcome::Action::Help:
        std::fputs(helpText().c_str(), stdout);
        return 0;
    case ParseOutcome::Action::UsageError:
        std::fprintf(stderr, "velmora-routersim: %s\n%s", parsed.message.c_str(), usageLine().c_str());
        return 2;
    case ParseOutcome::Action::Run:
        break;
    }
    for (const auto &warning : parsed.warnings)
        std::fprintf(stderr, "velmora-routersim: %s\n", warning.c_str());

    int signalFd = -1;
    if (!installSignalHandlers(signalFd)) {
        std::fprintf(stderr, "velmora-routersim: %s\n", systemError("pipe").c_str());
        return 1;
    }
    int status = 1;
    {
        Simulator simulator(parsed.options);
        std::string error;
        if (simulator.open(error)) {
            printLine("ready " + parsed.options.path);
            status = simulator.run(signalFd);
        } else {
            std::fprintf(stderr, "velmora-routersim: %s\n", error.c_str());
        }
    }
    return status;
}
