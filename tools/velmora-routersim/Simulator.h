#pragma once

#include "FrameScanner.h"
#include "RouterBank.h"
#include "SimOptions.h"
#include "Terminal.h"

#include <chrono>
#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace routersim {

// The simulator's event loop. Everything is driven by a single ppoll() so the
// process sleeps between frames and answer bytes.
class Simulator
{
public:
    using Clock = std::chrono::steady_clock;

    explicit Simulator(Options options);
    Simulator(const Simulator &) = delete;
    Simulator &operator=(const Simulator &) = delete;
    ~Simulator();

    [[nodiscard]] bool open(std::string &error);

    // Prints "ready PATH", then serves the line. Returns when a termination
    // signal arrives on signalFd.
    [[nodiscard]] int run(int signalFd);

private:
    struct WireByte
    {
        Clock::time_point at;
        std::uint8_t byte;
    };

    void watchClients();
    void readOpenCloseEvents();
    void lastClientClosed();
    void readPort();
    void handleFrame(const CrosspointFrame::Bytes &frame, Clock::time_point at);
    void putDueAnswersOnWire(Clock::time_point now);
    void writeDueBytes(Clock::time_point now);
    [[nodiscard]] std::optional<Clock::time_point> nextDeadline(bool resting) const;

    Options options_;
    std::optional<TroubleDraw> trouble_;
    Clock::duration byteTime_;
    Clock::time_point start_ = Clock::now();

    Terminal terminal_;
    int watch_ = -1;   // inotify on the slave device
    int clients_ = -1; // others holding the slave open; -1 when unknown

    FrameScanner scanner_;
    std::multimap<Clock::time_point, std::vector<std::uint8_t>> scheduled_;
    std::deque<WireByte> wire_;
    Clock::time_point wireFreeAt_ = Clock::time_point::min();
    Clock::time_point receivedAt_ = Clock::time_point::min();
    bool writeBlocked_ = false;
    Clock::time_point restUntil_ = Clock::time_point::min();
};

} // namespace routersim
