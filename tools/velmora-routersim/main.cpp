// Starts the router simulator: reads the command line, turns termination
// signals into a byte on a pipe the event loop polls, and runs the loop on
// the opened port.

#include "Posix.h"
#include "SimOptions.h"
#include "Simulator.h"
#include "base/VersionNumber.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace {

using namespace routersim;

int signalPipeWrite = -1;

extern "C" void onSignal(int signalNumber)
{
    const int savedErrno = errno;
    const auto byte = static_cast<unsigned char>(signalNumber);
    [[maybe_unused]] const auto written = ::write(signalPipeWrite, &byte, 1);
    errno = savedErrno;
}

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
    case ParseOutcome::Action::Version:
        std::printf("velmora-routersim %s\n", VersionNumber);
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
        if (simulator.open(error))
            status = simulator.run(signalFd);
        else
            std::fprintf(stderr, "velmora-routersim: %s\n", error.c_str());
    }
    return status;
}
