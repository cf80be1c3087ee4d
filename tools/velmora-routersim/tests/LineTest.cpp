// Runs the simulator binary and talks to it over its pseudo-terminal the way
// the panel does: raw termios, 8-byte frames out, answer bytes back.

#include "Check.h"

#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using check::Bytes;
using check::frame;
using check::hex;

namespace {

// Generous: the whole suite also runs under the sanitizers on a busy machine.
constexpr auto Patience = 5s;

std::string simulatorPath;
fs::path scratch;

Clock::time_point soon()
{
    return Clock::now() + Patience;
}

int msUntil(Clock::time_point deadline)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return static_cast<int>(std::max<long long>(left, 0));
}

Bytes fromHex(const std::string &text)
{
    Bytes bytes;
    for (std::size_t at = 0; at + 1 < text.size(); at += 3)
        bytes.push_back(static_cast<std::uint8_t>(std::stoul(text.substr(at, 2), nullptr, 16)));
    return bytes;
}

// One running simulator with its stdout and stderr on pipes.
class Simulator
{
public:
    explicit Simulator(const std::vector<std::string> &args)
    {
        int out[2];
        int err[2];
        if (::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0)
            std::abort();
        std::vector<std::string> all{simulatorPath};
        all.insert(all.end(), args.begin(), args.end());
        std::vector<char *> argv;
        for (auto &a : all)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(out[1], STDOUT_FILENO);
            ::dup2(err[1], STDERR_FILENO);
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
        ::close(out[1]);
        ::close(err[1]);
        out_ = out[0];
        err_ = err[0];
    }

    Simulator(const Simulator &) = delete;
    Simulator &operator=(const Simulator &) = delete;

    ~Simulator()
    {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        ::close(out_);
        ::close(err_);
    }

    pid_t pid() const { return pid_; }
    const std::string &errors() const { return err_text_; }
    const std::string &output() const { return out_text_; }

    std::optional<std::string> nextLine(Clock::time_point deadline = soon())
    {
        for (;;) {
            if (const auto end = out_text_.find('\n', consumed_); end != std::string::npos) {
                std::string line = out_text_.substr(consumed_, end - consumed_);
                consumed_ = end + 1;
                return line;
            }
            if (outClosed_ || !pump(deadline))
                return std::nullopt;
        }
    }

    // Waits until stderr holds text at least times times.
    bool waitForError(const std::string &text, int times = 1, Clock::time_point deadline = soon())
    {
        auto count = [&] {
            int n = 0;
            for (auto at = err_text_.find(text); at != std::string::npos; at = err_text_.find(text, at + 1))
                ++n;
            return n;
        };
        while (count() < times)
            if (!pump(deadline))
                return false;
        return true;
    }

    // Exit code, 128 + signal if killed, nothing if it outlived the deadline.
    std::optional<int> waitExit(Clock::time_point deadline = soon())
    {
        while (!outClosed_ || !errClosed_)
            if (!pump(deadline)) {
                ::kill(pid_, SIGKILL);
                ::waitpid(pid_, nullptr, 0);
                pid_ = -1;
                return std::nullopt;
            }
        int status = 0;
        ::waitpid(pid_, &status, 0);
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }

    // CPU time the simulator has used so far, in clock ticks (utime + stime).
    long cpuTicks() const
    {
        std::ifstream stat("/proc/" + std::to_string(pid_) + "/stat");
        std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
        unsigned long utime = 0;
        unsigned long stime = 0;
        // Fields 14 and 15; the command name in parentheses may contain blanks.
        std::sscanf(text.c_str() + text.rfind(')') + 1, " %*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %lu %lu", &utime,
                    &stime);
        return static_cast<long>(utime + stime);
    }

private:
    // Waits for output on either pipe; false once the deadline passed or both ended.
    bool pump(Clock::time_point deadline)
    {
        if (outClosed_ && errClosed_)
            return false;
        pollfd fds[2] = {{outClosed_ ? -1 : out_, POLLIN, 0}, {errClosed_ ? -1 : err_, POLLIN, 0}};
        if (::poll(fds, 2, msUntil(deadline)) <= 0)
            return false;
        drain(fds[0], out_, out_text_, outClosed_);
        drain(fds[1], err_, err_text_, errClosed_);
        return true;
    }

    static void drain(const pollfd &p, int fd, std::string &text, bool &closed)
    {
        if (!(p.revents & (POLLIN | POLLHUP)))
            return;
        char buffer[4096];
        const auto n = ::read(fd, buffer, sizeof buffer);
        if (n > 0)
            text.append(buffer, static_cast<std::size_t>(n));
        else
            closed = true;
    }

    pid_t pid_ = -1;
    int out_ = -1;
    int err_ = -1;
    std::string out_text_;
    std::string err_text_;
    std::size_t consumed_ = 0;
    bool outClosed_ = false;
    bool errClosed_ = false;
};

// The panel's side of the line.
class Port
{
public:
    explicit Port(int fd) : fd_(fd) {}

    explicit Port(const std::string &path) : fd_(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC))
    {
        termios t{};
        if (fd_ >= 0 && ::tcgetattr(fd_, &t) == 0) {
            ::cfmakeraw(&t);
            ::cfsetspeed(&t, B9600);
            ::tcsetattr(fd_, TCSANOW, &t);
        }
    }

    Port(const Port &) = delete;
    Port &operator=(const Port &) = delete;
    ~Port() { close(); }

    bool isOpen() const { return fd_ >= 0; }

    void close()
    {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
    }

    bool send(const Bytes &bytes)
    {
        return ::write(fd_, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    }

    // Up to count bytes; fewer only when the deadline passed.
    Bytes receive(std::size_t count, Clock::time_point deadline = soon())
    {
        Bytes got;
        while (got.size() < count) {
            pollfd p{fd_, POLLIN, 0};
            if (::poll(&p, 1, msUntil(deadline)) <= 0)
                break;
            std::uint8_t buffer[256];
            const auto n = ::read(fd_, buffer, std::min(sizeof buffer, count - got.size()));
            if (n > 0)
                got.insert(got.end(), buffer, buffer + n);
            else if (n == 0 || (errno != EAGAIN && errno != EINTR))
                break;
        }
        return got;
    }

private:
    int fd_ = -1;
};

std::string linkTarget(const fs::path &link)
{
    std::error_code ec;
    const auto target = fs::read_symlink(link, ec);
    return ec ? std::string() : target.string();
}

// Splits "12.345 <rest>" and checks the time looks like seconds with milliseconds.
std::string withoutTime(const std::optional<std::string> &line)
{
    if (!line) {
        check::fail(__FILE__, __LINE__, "no log line");
        return {};
    }
    const auto space = line->find(' ');
    const auto dot = line->find('.');
    const bool timeOk = space != std::string::npos && dot != std::string::npos && dot > 0 && space == dot + 4 &&
                        line->find_first_not_of("0123456789.") == space;
    if (!timeOk)
        check::fail(__FILE__, __LINE__, "log line without a time: " + *line);
    return space == std::string::npos ? *line : line->substr(space + 1);
}

std::vector<std::string> withLink(const fs::path &link, std::vector<std::string> args)
{
    args.insert(args.begin(), {"--link", link.string()});
    return args;
}

// Starts a simulator on a link and waits for its ready line.
struct Bench
{
    fs::path link;
    Simulator sim;
    bool ready = false;

    Bench(const std::string &name, std::vector<std::string> args)
        : link(scratch / name / "ttyRouter"), sim(withLink(link, std::move(args)))
    {
        const auto line = sim.nextLine();
        ready = line == "ready " + link.string();
        if (!ready)
            check::fail(__FILE__, __LINE__, "no ready line: " + line.value_or("(none)") + " / " + sim.errors());
    }
};

void refusesBadCommandLines()
{
    const std::string file = (scratch / "plain-file").string();
    std::ofstream(file) << "keep me\n";
    struct Row
    {
        std::vector<std::string> args;
        int exitCode;
        bool onStdout;
        const char *text;
    };
    const std::vector<Row> rows = {
        {{}, 2, false, "usage: velmora-routersim"},
        {{"--link", (scratch / "a").string(), "--answer", "3=code:256"}, 2, false, "usage:"},
        {{"--help"}, 0, true, "--answer FA=SPEC"},
        {{"--device", (scratch / "no-such-tty").string()}, 1, false, "cannot open"},
        {{"--device", file}, 1, false, "not a terminal"},
        {{"--link", file}, 1, false, "not a symbolic link"},
    };
    for (const auto &row : rows) {
        Simulator sim(row.args);
        const auto code = sim.waitExit();
        CHECK_EQ(code.value_or(-1), row.exitCode);
        const auto &text = row.onStdout ? sim.output() : sim.errors();
        if (text.find(row.text) == std::string::npos)
            check::fail(__FILE__, __LINE__, "missing '" + std::string(row.text) + "' in: " + text);
    }
    std::ifstream kept(file);
    std::string content;
    std::getline(kept, content);
    CHECK_EQ(content, std::string("keep me"));
}

void acknowledgesTheWorkedFrames()
{
    struct Row
    {
        const char *wire;
        const char *decoded;
    };
    const std::vector<Row> rows = {
        {"BE EF 00 00 00 00 00 51", "router=0 input=0 output=0"},
        {"BE EF 03 00 00 00 07 55", "router=3 input=0 output=7"},
        {"BE EF 01 00 00 04 02 56", "router=1 input=4 output=2"},
        {"BE EF 0F 00 00 7E 7E 5E", "router=15 input=126 output=126"},
    };
    // Missing parent folders are created.
    Bench bench("worked/deeper", {});
    if (!bench.ready)
        return;
    CHECK(linkTarget(bench.link).starts_with("/dev/pts/"));
    Port port(bench.link.string());
    CHECK(port.isOpen());
    for (const auto &row : rows) {
        CHECK(port.send(fromHex(row.wire)));
        CHECK_EQ(hex(port.receive(1)), std::string("06"));
        CHECK_EQ(withoutTime(bench.sim.nextLine()), std::string(row.wire) + " " + row.decoded + " ack");
    }
}

void answersAsConfigured()
{
    Bench bench("answers", {"--routers", "0-3,9", "--answer", "1=ack", "--answer", "*=code:21", "--answer", "2=silent",
                            "--answer", "3=bytes:06,41,42", "--no-pacing"});
    if (!bench.ready)
        return;
    Port port(bench.link.string());
    auto corrupt = frame(1, 4, 2);
    corrupt[7] ^= 0x40;
    struct Row
    {
        Bytes sent;
        const char *answer;
        const char *verdict;
    };
    // Each row that expects nothing is followed by one that answers, so a
    // stray byte shows up as a wrong answer there.
    const std::vector<Row> rows = {
        {frame(0, 1, 1), "15", "refused:21"},
        {frame(2, 1, 1), "", "silent"},
        {frame(3, 1, 1), "06 41 42", "bytes:06,41,42"},
        {frame(5, 1, 1), "", "no-router"},
        {frame(9, 1, 1), "15", "refused:21"},
        {corrupt, "", "bad-check"},
        {frame(200, 1, 1), "", "no-router"},
        {frame(1, 1, 1), "06", "ack"},
    };
    for (const auto &row : rows) {
        CHECK(port.send(row.sent));
        CHECK_EQ(withoutTime(bench.sim.nextLine()), hex(row.sent) + " router=" + std::to_string(row.sent[2]) +
                                                        " input=" + std::to_string(row.sent[5]) +
                                                        " output=" + std::to_string(row.sent[6]) + " " + row.verdict);
        const std::string expected = row.answer;
        if (!expected.empty())
            CHECK_EQ(hex(port.receive(fromHex(expected + " ").size())), expected);
    }
}

void resynchronisesAfterNoise()
{
    Bench bench("noise", {"--answer", "0=code:21"});
    if (!bench.ready)
        return;
    Port port(bench.link.string());
    Bytes stream{0x00, 0x11, 0xBE, 0x22};                                 // noise
    const Bytes badCheck{0xBE, 0xEF, 0x01, 0x00, 0x00, 0x04, 0x02, 0x57}; // router 1 would ack
    const Bytes truncated{0xBE, 0xEF, 0x01};
    stream.insert(stream.end(), badCheck.begin(), badCheck.end());
    stream.insert(stream.end(), truncated.begin(), truncated.end());
    const Bytes good = frame(2, 5, 6);
    stream.insert(stream.end(), good.begin(), good.end());
    CHECK(port.send(stream));

    CHECK_EQ(withoutTime(bench.sim.nextLine()),
             std::string("BE EF 01 00 00 04 02 57 router=1 input=4 output=2 bad-check"));
    CHECK_EQ(withoutTime(bench.sim.nextLine()),
             std::string("BE EF 01 BE EF 02 00 00 router=1 input=2 output=0 bad-check"));
    CHECK_EQ(withoutTime(bench.sim.nextLine()), hex(good) + " router=2 input=5 output=6 ack");
    CHECK_EQ(hex(port.receive(1)), std::string("06"));
    // Had either bad window been answered, its 06 would come before this 15.
    CHECK(port.send(frame(0, 0, 0)));
    CHECK_EQ(hex(port.receive(1)), std::string("15"));
}

void delayedAnswerDoesNotHoldUpOthers()
{
    Bench bench("delay", {"--answer", "4=code:21@300"});
    if (!bench.ready)
        return;
    Port port(bench.link.string());
    const auto sent = Clock::now();
    CHECK(port.send(frame(4, 1, 2)));
    CHECK(port.send(frame(5, 1, 2)));
    CHECK_EQ(hex(port.receive(1)), std::string("06"));
    CHECK_EQ(hex(port.receive(1)), std::string("15"));
    CHECK(Clock::now() - sent >= 300ms);
    CHECK(withoutTime(bench.sim.nextLine()).ends_with("router=4 input=1 output=2 refused:21 delay=300"));
    CHECK(withoutTime(bench.sim.nextLine()).ends_with("router=5 input=1 output=2 ack"));
}

void pacesAnswersAt9600Baud()
{
    Bytes answer;
    std::string spec = "6=bytes:";
    for (std::uint8_t b = 0; b < 40; ++b) {
        answer.push_back(b);
        char item[4];
        std::snprintf(item, sizeof item, "%02X", b);
        spec += (b ? "," : "") + std::string(item);
    }
    Bench bench("pacing", {"--answer", spec});
    if (!bench.ready)
        return;
    Port port(bench.link.string());
    CHECK(port.send(frame(6, 0, 0)));
    Bytes got = port.receive(1);
    const auto first = Clock::now();
    const Bytes rest = port.receive(answer.size() - 1);
    const auto last = Clock::now();
    got.insert(got.end(), rest.begin(), rest.end());
    CHECK_EQ(hex(got), hex(answer));
    // 39 more bytes at about 1.04 ms each; only the lower bound is reliable.
    CHECK(last - first >= 36ms);
}

void survivesTheClientReopening()
{
    Bench bench("reopen", {"--answer", "7=code:21@400", "--answer", "8=code:22", "--no-pacing"});
    if (!bench.ready)
        return;
    // The simulator notes each close on stderr; reopening only after that
    // keeps the test independent of how fast it notices.
    int closes = 0;
    {
        // An answer nobody read before the port closed must not greet the next session.
        Port port(bench.link.string());
        CHECK(port.send(frame(0, 0, 0)));
        CHECK(withoutTime(bench.sim.nextLine()).ends_with(" ack"));
    }
    CHECK(bench.sim.waitForError("port closed", ++closes));
    {
        Port port(bench.link.string());
        CHECK(port.send(frame(8, 0, 0)));
        CHECK_EQ(hex(port.receive(1)), std::string("16"));
        CHECK(withoutTime(bench.sim.nextLine()).ends_with(" refused:22"));
    }
    CHECK(bench.sim.waitForError("port closed", ++closes));
    // An answer falling due while the port is closed is lost, and waiting for
    // it must not keep the simulator busy.
    const long ticksBefore = bench.sim.cpuTicks();
    {
        Port port(bench.link.string());
        CHECK(port.send(frame(7, 0, 0)));
        CHECK(withoutTime(bench.sim.nextLine()).ends_with(" refused:21 delay=400"));
    }
    CHECK(bench.sim.waitForError("port closed", ++closes));
    CHECK(bench.sim.waitForError("answer dropped"));
    CHECK(bench.sim.cpuTicks() - ticksBefore < 15);
    Port port(bench.link.string());
    CHECK(port.send(frame(8, 0, 0)));
    CHECK_EQ(hex(port.receive(1)), std::string("16"));
}

void stopsCleanlyOnSignals()
{
    for (const int signalNumber : {SIGINT, SIGTERM}) {
        const fs::path link = scratch / ("signal-" + std::to_string(signalNumber)) / "ttyRouter";
        fs::create_directories(link.parent_path());
        fs::create_symlink("/dev/pts/no-such-terminal", link); // left over from a crashed run
        Simulator sim({"--link", link.string()});
        CHECK_EQ(sim.nextLine().value_or(""), "ready " + link.string());
        CHECK(linkTarget(link).starts_with("/dev/pts/"));
        {
            Port port(link.string());
            CHECK(port.send(frame(2, 3, 4)));
            CHECK_EQ(hex(port.receive(1)), std::string("06"));
        }
        ::kill(sim.pid(), signalNumber);
        CHECK_EQ(sim.waitExit().value_or(-1), 0);
        std::error_code ec;
        CHECK(!fs::exists(fs::symlink_status(link, ec)));
    }
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
    CHECK_EQ(sim.nextLine().value_or(""), "ready " + device);
    CHECK(wire.send(frame(3, 0, 7)));
    CHECK_EQ(hex(wire.receive(1)), std::string("15"));
    CHECK(wire.send(frame(1, 4, 2)));
    CHECK_EQ(hex(wire.receive(1)), std::string("06"));
    CHECK(withoutTime(sim.nextLine()).ends_with("router=3 input=0 output=7 refused:21"));
    ::kill(sim.pid(), SIGTERM);
    CHECK_EQ(sim.waitExit().value_or(-1), 0);
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
                                                           {"commandLine", refusesBadCommandLines},
                                                           {"workedFrames", acknowledgesTheWorkedFrames},
                                                           {"answers", answersAsConfigured},
                                                           {"noise", resynchronisesAfterNoise},
                                                           {"delay", delayedAnswerDoesNotHoldUpOthers},
                                                           {"pacing", pacesAnswersAt9600Baud},
                                                           {"reopen", survivesTheClientReopening},
                                                           {"signals", stopsCleanlyOnSignals},
                                                           {"device", drivesAnExistingDevice},
                                                       });
    std::error_code ec;
    fs::remove_all(scratch, ec);
    return result;
}
