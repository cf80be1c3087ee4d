// Runs the simulator binary and talks to it over its pseudo-terminal the way
// the panel does: raw termios, 8-byte frames out, answer bytes back. Only
// what the panel's link tests do not see is here: delayed answers,
// sessions, stopping, and a device given on the command line.

#include "Check.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using check::Bytes;
using check::frame;
using check::operator+;

namespace {

// Generous: the whole suite also runs under the sanitizers on a busy machine.
constexpr auto Patience = 5s;

std::string simulatorPath;
fs::path scratch;

// Appends what fd delivers to text until done() holds; false when the
// patience ran out or fd ended first.
template <typename Done> bool readUntil(int fd, std::string &text, Done done)
{
    const auto deadline = Clock::now() + Patience;
    while (!done()) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        pollfd p{fd, POLLIN, 0};
        if (left <= 0 || ::poll(&p, 1, static_cast<int>(left)) <= 0)
            return false;
        char buffer[256];
        const auto n = ::read(fd, buffer, sizeof buffer);
        if (n > 0)
            text.append(buffer, static_cast<std::size_t>(n));
        else if (n == 0 || (errno != EAGAIN && errno != EINTR))
            return false;
    }
    return true;
}

// One running simulator; its standard output and error share one pipe.
class Simulator
{
public:
    explicit Simulator(std::vector<std::string> args)
    {
        int out[2];
        if (::pipe2(out, O_CLOEXEC) != 0)
            std::abort();
        args.insert(args.begin(), simulatorPath);
        std::vector<char *> argv;
        for (auto &a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(out[1], STDOUT_FILENO);
            ::dup2(out[1], STDERR_FILENO);
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
        ::close(out[1]);
        out_ = out[0];
    }

    Simulator(const Simulator &) = delete;
    Simulator &operator=(const Simulator &) = delete;
    ~Simulator() { finish(SIGKILL); }

    // The next line that is not a diagnostic: "ready PATH" or a frame.
    std::string nextLine()
    {
        for (;;) {
            const auto end = text_.find('\n', consumed_);
            if (end == std::string::npos) {
                if (!readUntil(out_, text_, [&] { return text_.find('\n', consumed_) != std::string::npos; }))
                    return "(no line) " + text_;
                continue;
            }
            std::string line = text_.substr(consumed_, end - consumed_);
            consumed_ = end + 1;
            if (!line.starts_with("velmora-routersim: "))
                return line;
        }
    }

    // Waits until the output holds text at least `times` times.
    bool waitFor(const std::string &text, int times = 1)
    {
        return readUntil(out_, text_, [&] {
            int n = 0;
            for (auto at = text_.find(text); at != std::string::npos; at = text_.find(text, at + 1))
                ++n;
            return n >= times;
        });
    }

    // Sends signalNumber (none for 0) and waits for the end: the exit code,
    // or 128 + signal if it was killed.
    int finish(int signalNumber = 0)
    {
        if (pid_ <= 0)
            return -1;
        if (signalNumber != 0)
            ::kill(pid_, signalNumber);
        readUntil(out_, text_, [] { return false; }); // to the end of its output
        ::kill(pid_, SIGKILL);                        // only if it outlived the patience
        int status = 0;
        ::waitpid(pid_, &status, 0);
        ::close(out_);
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }

private:
    pid_t pid_ = -1;
    int out_ = -1;
    std::string text_;
    std::size_t consumed_ = 0;
};

// The panel's side of the line.
class Port
{
public:
    explicit Port(int fd) : fd_(fd) {}

    // The simulator has made its pseudo-terminal raw already.
    explicit Port(const fs::path &path) : fd_(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC)) {}

    Port(const Port &) = delete;
    Port &operator=(const Port &) = delete;
    ~Port() { ::close(fd_); }

    bool send(const Bytes &bytes) { return ::write(fd_, bytes.data(), bytes.size()) == ssize_t(bytes.size()); }

    // The next count bytes received, in hex; fewer only when the patience ran out.
    std::string receive(std::size_t count)
    {
        readUntil(fd_, received_, [&] { return received_.size() >= count; });
        const std::string got = received_.substr(0, count);
        received_.erase(0, got.size());
        return check::hex(Bytes(got.begin(), got.end()));
    }

private:
    int fd_ = -1;
    std::string received_;
};

// A simulator on a fresh link under scratch, checked ready.
struct Bench
{
    fs::path link;
    Simulator sim;

    Bench(const std::string &name, const std::vector<std::string> &args)
        : link(scratch / name / "ttyRouter"), sim(std::vector<std::string>{"--link", link.string()} + args)
    {
        CHECK_EQ(sim.nextLine(), "ready " + link.string());
    }
};

// A delayed answer goes out in time order and does not hold up the next router's.
void delayedAnswerDoesNotHoldUpOthers()
{
    Bench bench("delay", {"--answer", "4=code:21@300", "--no-pacing"});
    Port port(bench.link);
    CHECK(port.send(frame(4, 1, 2)));
    CHECK(port.send(frame(5, 1, 2)));
    CHECK_EQ(port.receive(2), std::string("06 15"));
    CHECK(bench.sim.nextLine().ends_with(" BE EF 04 00 00 01 02 56 router=4 input=1 output=2 refused:21 delay=300"));
}

// A session's unread answers, and answers falling due while the port is
// closed, never reach the next session.
void survivesTheClientReopening()
{
    Bench bench("reopen", {"--answer", "7=code:21@400", "--answer", "8=code:22", "--no-pacing"});
    int closes = 0;
    for (const std::uint8_t router : {0, 7}) { // answered at once but not read; answered after the close
        {
            Port port(bench.link);
            CHECK(port.send(frame(router, 0, 0)));
            bench.sim.nextLine();
        }
        // Reopening only once the simulator noted the close keeps the test
        // independent of how fast it notices.
        CHECK(bench.sim.waitFor("port closed", ++closes));
    }
    CHECK(bench.sim.waitFor("answer dropped"));
    Port port(bench.link);
    CHECK(port.send(frame(8, 0, 0)));
    CHECK_EQ(port.receive(1), std::string("16"));
}

// SIGTERM ends the simulator cleanly and takes its link away; a plain file
// in the link's place is never replaced.
void stopsCleanlyOnSigterm()
{
    const fs::path plain = scratch / "plain-file";
    std::ofstream(plain) << "keep me\n";
    Simulator refused({"--link", plain.string()});
    CHECK(refused.waitFor("not a symbolic link"));
    CHECK_EQ(refused.finish(), 1);
    CHECK_EQ(fs::file_size(plain), std::uintmax_t{8});

    Bench bench("signal", {});
    CHECK(fs::is_symlink(bench.link));
    CHECK_EQ(bench.sim.finish(SIGTERM), 0);
    std::error_code ec;
    CHECK(!fs::exists(fs::symlink_status(bench.link, ec)));
}

void drivesAnExistingDevice()
{
    // The test's own pseudo-terminal stands in for a serial port; its slave is
    // left in cooked mode with echo on, so only a raw port answers correctly.
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    CHECK(master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0);
    const std::string device = ::ptsname(master);
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    Port wire(master);

    Simulator sim({"--device", device, "--answer", "3=code:21"});
    CHECK_EQ(sim.nextLine(), "ready " + device);
    CHECK(wire.send(frame(3, 0, 7)));
    CHECK_EQ(wire.receive(1), std::string("15"));
    CHECK(wire.send(frame(1, 4, 2)));
    CHECK_EQ(wire.receive(1), std::string("06"));
    CHECK(sim.nextLine().ends_with(" router=3 input=0 output=7 refused:21"));
    CHECK_EQ(sim.finish(SIGTERM), 0);
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s PATH-TO-velmora-routersim\n", argv[0]);
        return 2;
    }
    simulatorPath = argv[1];
    std::string pattern = (fs::temp_directory_path() / "routersim-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        return 2;
    scratch = pattern;
    const int result = check::runAll("routersim.line", {
                                                           {"delay", delayedAnswerDoesNotHoldUpOthers},
                                                           {"reopen", survivesTheClientReopening},
                                                           {"sigterm", stopsCleanlyOnSigterm},
                                                           {"device", drivesAnExistingDevice},
                                                       });
    std::error_code ec;
    fs::remove_all(scratch, ec);
    return result;
}
