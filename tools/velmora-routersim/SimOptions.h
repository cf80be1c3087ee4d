#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace routersim {

inline constexpr int RouterCount = 16;

// What a router sends back for a good frame, and how long it takes first.
struct Answer
{
    std::vector<std::uint8_t> bytes; // empty: the router stays silent
    std::chrono::milliseconds delay{0};

    bool operator==(const Answer &) const = default;
};

Answer acknowledge();

// "ack", "silent", "code:N", "bytes:HH,HH,..", each optionally followed by "@MS".
std::optional<Answer> parseAnswer(std::string_view text);

// The verdict word the log shows for an answer, e.g. "refused:21 delay=200".
// Named after what goes on the wire, so "code:6" logs as "ack".
std::string describeAnswer(const Answer &answer);

enum class PortKind { Link, Device };

// Seeded random trouble on acknowledged frames: PERCENT of them are refused,
// left unanswered or acknowledged late (up to lateMs), a third each.
struct Trouble
{
    unsigned seed = 0;
    unsigned percent = 0;
    unsigned lateMs = 500;

    bool operator==(const Trouble &) const = default;
};

// "SEED:PERCENT" or "SEED:PERCENT:LATE_MS".
std::optional<Trouble> parseTrouble(std::string_view text);

struct Options
{
    PortKind kind = PortKind::Link;
    std::string path;
    std::array<bool, RouterCount> present{};
    std::array<Answer, RouterCount> answers;
    bool pacing = true;
    // Every read of received bytes is logged too (a line-side listener for other protocols).
    bool dump = false;
    std::optional<Trouble> trouble;
};

struct ParseOutcome
{
    enum class Action { Run, Help, Version, UsageError };
    Action action = Action::UsageError;
    Options options;
    std::string message;               // why the command line was refused
    std::vector<std::string> warnings; // accepted, but probably not what was meant
};

// args excludes the program name.
ParseOutcome parseCommandLine(const std::vector<std::string_view> &args);

std::string usageLine();
std::string helpText();

} // namespace routersim
