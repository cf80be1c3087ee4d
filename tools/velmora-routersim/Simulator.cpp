#include "Simulator.h"

#include "Posix.h"
#include "RouterBank.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <poll.h>
#include <span>
#include <string>
#include <sys/inotify.h>
#include <unistd.h>
#include <utility>

namespace routersim {

namespace {

using Clock = Simulator::Clock;

// 9600 baud with start and stop bit: ten bit times per byte.
constexpr auto ByteTime =
    std::chrono::duration_cast<Clock::duration>(std::chrono::nanoseconds{10'000'000'000LL / 9600});
// How long to leave a hung-up port alone before looking again.
constexpr auto HangupRest = std::chrono::milliseconds{50};

void printLine(const std::string &line)
{
    std::fputs((line + '\n').c_str(), stdout);
    std::fflush(stdout);
}

// "SECONDS.MMM bytes HH HH ..".
std::string bytesLine(std::chrono::milliseconds sinceStart, std::span<const std::uint8_t> bytes)
{
    const long long ms = sinceStart.count();
    std::string line(32 + 3 * bytes.size(), '\0');
    int used = std::snprintf(line.data(), line.size(), "%lld.%03lld bytes", ms / 1000, ms % 1000);
    for (const std::uint8_t byte : bytes)
        used += std::snprintf(line.data() + used, line.size() - std::size_t(used), " %02X", byte);
    line.resize(std::size_t(used));
    return line;
}

} // namespace

Simulator::Simulator(Options options)
    : options_(std::move(options)), byteTime_(options_.pacing ? ByteTime : Clock::duration::zero())
{
    if (options_.trouble)
        trouble_.emplace(*options_.trouble);
}

Simulator::~Simulator()
{
    closeFd(watch_);
}

bool Simulator::open(std::string &error)
{
    if (options_.kind == PortKind::Device)
        return terminal_.openDevice(options_.path, error);
    if (!terminal_.openPseudoTerminal(error))
        return false;
    watchClients();
    return terminal_.createLink(options_.path, error);
}

int Simulator::run(int signalFd)
{
    printLine("ready " + options_.path);
    for (;;) {
        const auto now = Clock::now();
        putDueAnswersOnWire(now);
        writeDueBytes(now);

        const bool resting = now < restUntil_;
        pollfd fds[3] = {
            {signalFd, POLLIN, 0},
            {watch_, POLLIN, 0},
            {resting ? -1 : terminal_.fd(), static_cast<short>(POLLIN | (writeBlocked_ ? POLLOUT : 0)), 0},
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

// Opens and closes by others tell us whether anybody listens, so that
// answers sent to a closed port are lost as they would be on a real line.
void Simulator::watchClients()
{
    const std::string &name = terminal_.slavePath();
    watch_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (watch_ >= 0 && ::inotify_add_watch(watch_, name.c_str(), IN_OPEN | IN_CLOSE) >= 0) {
        clients_ = 0;
    } else {
        std::fprintf(stderr, "velmora-routersim: cannot watch %s, answers always go out\n", name.c_str());
        closeFd(watch_);
    }
}

// Called before each batch of received bytes is answered: a close and
// reopen are always queued before anything the new client writes, so the
// discard below never eats an answer meant for the new session.
void Simulator::readOpenCloseEvents()
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
void Simulator::lastClientClosed()
{
    terminal_.discardUnread();
    wire_.clear();
    writeBlocked_ = false;
    std::fprintf(stderr, "velmora-routersim: port closed\n");
}

void Simulator::readPort()
{
    std::uint8_t buffer[512];
    for (;;) {
        const auto length = ::read(terminal_.fd(), buffer, sizeof buffer);
        if (length > 0) {
            // A pseudo-terminal delivers the bytes at once; on a real line
            // they take their time, and a router answers only once the
            // last byte of a frame is in.
            receivedAt_ = std::max(Clock::now(), receivedAt_) + byteTime_ * length;
            readOpenCloseEvents();
            if (options_.dump)
                printLine(bytesLine(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start_),
                                    {buffer, static_cast<std::size_t>(length)}));
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

void Simulator::handleFrame(const CrosspointFrame::Bytes &frame, Clock::time_point at)
{
    const Reception reception = receive(options_, frame, trouble_ ? &*trouble_ : nullptr);
    printLine(logLine(std::chrono::duration_cast<std::chrono::milliseconds>(at - start_), frame, reception.verdict));
    if (reception.answer)
        scheduled_.emplace(at + reception.answer->delay, reception.answer->bytes);
}

// Answers due now go on the line one after another, each byte taking its
// time on the wire; a later answer never overtakes an earlier one.
void Simulator::putDueAnswersOnWire(Clock::time_point now)
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

void Simulator::writeDueBytes(Clock::time_point now)
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
    const auto written = ::write(terminal_.fd(), due.data(), due.size());
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

std::optional<Simulator::Clock::time_point> Simulator::nextDeadline(bool resting) const
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

} // namespace routersim
