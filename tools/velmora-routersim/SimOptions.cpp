#include "SimOptions.h"

#include "frame/CrosspointFrame.h"

#include <charconv>
#include <cstdio>

namespace routersim {

namespace {

// Long enough for any timeout test, short enough to catch a typo'd extra digit.
constexpr unsigned MaxDelayMs = 600000;

std::optional<unsigned> parseNumber(std::string_view text, unsigned maximum, int base = 10)
{
    unsigned value = 0;
    const char *end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value, base);
    if (text.empty() || ec != std::errc{} || ptr != end || value > maximum)
        return std::nullopt;
    return value;
}

std::vector<std::string_view> split(std::string_view text, char separator)
{
    std::vector<std::string_view> parts;
    for (;;) {
        const auto at = text.find(separator);
        parts.push_back(text.substr(0, at));
        if (at == std::string_view::npos)
            return parts;
        text.remove_prefix(at + 1);
    }
}

std::optional<std::vector<std::uint8_t>> parseAnswerBytes(std::string_view body)
{
    if (body == "ack")
        return std::vector<std::uint8_t>{CrosspointFrame::Ack};
    if (body == "silent")
        return std::vector<std::uint8_t>{};
    if (body.starts_with("code:")) {
        const auto code = parseNumber(body.substr(5), 255);
        if (!code)
            return std::nullopt;
        return std::vector<std::uint8_t>{static_cast<std::uint8_t>(*code)};
    }
    if (body.starts_with("bytes:")) {
        std::vector<std::uint8_t> bytes;
        for (const auto item : split(body.substr(6), ',')) {
            // Exactly one or two hex digits, so "123" is an error rather than 0x7B.
            if (item.size() > 2)
                return std::nullopt;
            const auto value = parseNumber(item, 255, 16);
            if (!value)
                return std::nullopt;
            bytes.push_back(static_cast<std::uint8_t>(*value));
        }
        return bytes;
    }
    return std::nullopt;
}

std::optional<std::array<bool, RouterCount>> parseRouterList(std::string_view list)
{
    std::array<bool, RouterCount> present{};
    if (list.empty())
        return present; // no router at all: every frame goes unanswered
    for (const auto item : split(list, ',')) {
        const auto dash = item.find('-');
        const auto first = parseNumber(item.substr(0, dash), RouterCount - 1);
        const auto last = dash == std::string_view::npos ? first : parseNumber(item.substr(dash + 1), RouterCount - 1);
        if (!first || !last || *last < *first)
            return std::nullopt;
        for (unsigned address = *first; address <= *last; ++address)
            present[address] = true;
    }
    return present;
}

} // namespace

Answer acknowledge()
{
    return Answer{{CrosspointFrame::Ack}, std::chrono::milliseconds{0}};
}

std::optional<Answer> parseAnswer(std::string_view text)
{
    const auto at = text.find('@');
    const auto bytes = parseAnswerBytes(text.substr(0, at));
    if (!bytes)
        return std::nullopt;
    Answer answer{*bytes, std::chrono::milliseconds{0}};
    if (at != std::string_view::npos) {
        const auto delay = parseNumber(text.substr(at + 1), MaxDelayMs);
        if (!delay)
            return std::nullopt;
        answer.delay = std::chrono::milliseconds{*delay};
    }
    return answer;
}

std::optional<Trouble> parseTrouble(std::string_view text)
{
    const auto parts = split(text, ':');
    if (parts.size() < 2 || parts.size() > 3)
        return std::nullopt;
    const auto seed = parseNumber(parts[0], 0xffffffffu);
    const auto percent = parseNumber(parts[1], 100);
    const auto late = parts.size() == 3 ? parseNumber(parts[2], MaxDelayMs) : std::optional<unsigned>(500);
    if (!seed || !percent || !late || *late == 0)
        return std::nullopt;
    return Trouble{*seed, *percent, *late};
}

std::string describeAnswer(const Answer &answer)
{
    if (answer.bytes.empty())
        return "silent";
    std::string verdict;
    if (answer.bytes.size() == 1) {
        verdict = answer.bytes[0] == CrosspointFrame::Ack ? "ack" : "refused:" + std::to_string(answer.bytes[0]);
    } else {
        verdict = "bytes:";
        for (std::size_t i = 0; i < answer.bytes.size(); ++i) {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%02X", answer.bytes[i]);
            if (i > 0)
                verdict += ',';
            verdict += hex;
        }
    }
    if (answer.delay.count() > 0)
        verdict += " delay=" + std::to_string(answer.delay.count());
    return verdict;
}

ParseOutcome parseCommandLine(const std::vector<std::string_view> &args)
{
    ParseOutcome outcome;
    auto refuse = [&outcome](std::string why) {
        outcome.action = ParseOutcome::Action::UsageError;
        outcome.message = std::move(why);
        return outcome;
    };

    std::optional<PortKind> kind;
    std::string path;
    std::optional<Answer> forAll;
    std::array<std::optional<Answer>, RouterCount> perRouter;
    std::array<bool, RouterCount> present;
    present.fill(true);
    bool pacing = true;
    bool dump = false;
    std::optional<Trouble> trouble;

    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        std::string_view name = arg;
        std::optional<std::string_view> attached;
        if (arg.starts_with("--")) {
            if (const auto eq = arg.find('='); eq != std::string_view::npos) {
                name = arg.substr(0, eq);
                attached = arg.substr(eq + 1);
            }
        }
        auto value = [&]() -> std::optional<std::string_view> {
            if (attached)
                return attached;
            if (i + 1 < args.size())
                return args[++i];
            return std::nullopt;
        };

        if (name == "--help" || name == "-h") {
            outcome.action = ParseOutcome::Action::Help;
            return outcome;
        }
        if (name == "--version") {
            outcome.action = ParseOutcome::Action::Version;
            return outcome;
        }
        if (name == "--no-pacing" && !attached) {
            pacing = false;
        } else if (name == "--dump" && !attached) {
            dump = true;
        } else if (name == "--link" || name == "--device") {
            const auto v = value();
            if (!v || v->empty())
                return refuse(std::string(name) + " needs a path");
            if (kind)
                return refuse("give exactly one of --link and --device");
            kind = name == "--link" ? PortKind::Link : PortKind::Device;
            path = std::string(*v);
        } else if (name == "--routers") {
            const auto v = value();
            const auto list = v ? parseRouterList(*v) : std::nullopt;
            if (!list)
                return refuse("--routers needs frame addresses 0-15, e.g. 0,3,5-7");
            present = *list;
        } else if (name == "--trouble") {
            const auto v = value();
            trouble = v ? parseTrouble(*v) : std::nullopt;
            if (!trouble)
                return refuse("--trouble needs SEED:PERCENT[:LATE_MS], PERCENT 0-100, LATE_MS above 0");
        } else if (name == "--answer") {
            const auto v = value();
            const auto eq = v ? v->find('=') : std::string_view::npos;
            if (eq == std::string_view::npos)
                return refuse("--answer needs FA=ANSWER");
            const auto answer = parseAnswer(v->substr(eq + 1));
            if (!answer)
                return refuse("bad answer '" + std::string(v->substr(eq + 1)) +
                              "': use ack, silent, code:N or bytes:HH,.. optionally with @MS");
            const auto who = v->substr(0, eq);
            if (who == "*") {
                forAll = answer;
            } else if (const auto address = parseNumber(who, RouterCount - 1)) {
                perRouter[*address] = answer;
            } else {
                return refuse("bad frame address '" + std::string(who) + "' in --answer: use 0-15 or *");
            }
        } else {
            return refuse("unknown option '" + std::string(arg) + "'");
        }
    }
    if (!kind)
        return refuse("give exactly one of --link and --device");

    outcome.action = ParseOutcome::Action::Run;
    Options &options = outcome.options;
    options.kind = *kind;
    options.path = path;
    options.present = present;
    options.pacing = pacing;
    options.dump = dump;
    options.trouble = trouble;
    // A router's own --answer wins over "*" whichever comes first, so a
    // test can say "all refuse except 3" in any order.
    for (int address = 0; address < RouterCount; ++address) {
        options.answers[address] = perRouter[address].value_or(forAll.value_or(acknowledge()));
        if (perRouter[address] && !present[address])
            outcome.warnings.push_back("--answer for " + std::to_string(address) +
                                       " has no effect: no router at that frame address");
    }
    return outcome;
}

std::string usageLine()
{
    return "usage: velmora-routersim (--link PATH | --device PATH) [--routers LIST] [--answer FA=ANSWER]... "
           "[--trouble SEED:PERCENT[:LATE_MS]] [--no-pacing] [--dump]\n";
}

std::string helpText()
{
    // Laid out as help2man reads it, so the manual page keeps these lists:
    // an option or a row per line, its text from column 24, continued there.
    return usageLine() + R"(
Stands in for up to 16 crosspoint routers sharing one 9600 baud line.

Options:
  --link PATH          create a pseudo-terminal and point the symbolic link PATH at it
  --device PATH        use an existing serial device instead (set raw, 9600 8N1)
  --routers LIST       frame addresses that have a router, e.g. 0,3,5-7 (default 0-15);
                       frames for any other address go unanswered
  --answer FA=ANSWER   how router FA (0-15, or * for all) answers a good frame, ANSWER
                       being one of the answers below; a router's own --answer
                       overrides FA=*
  --trouble SEED:PERCENT[:LATE_MS]
                       of the frames a router would acknowledge, PERCENT (chosen at
                       random from SEED, the same every run) are refused (21), left
                       unanswered or acknowledged up to LATE_MS (default 500) late,
                       a third each
  --no-pacing          write answers at once instead of at 9600 baud
  --dump               log every read of received bytes as well, whatever they are
  -h, --help           print this help and exit
  --version            print the program's name and version and exit

Answers:
  ack                  the acknowledge byte 06 (default)
  silent               nothing
  code:N               the single byte N (decimal 0-255)
  bytes:HH,..          these bytes, in hex
  ANSWER@MS            that answer, MS milliseconds after the frame arrived

Output:
  ready PATH           once the port is usable
  SECONDS.MMM B0 B1 B2 B3 B4 B5 B6 B7 router=FA input=N output=N VERDICT
                       one line per frame; VERDICT is ack, refused:N, silent,
                       bytes:HH,.., no-router or bad-check, followed by delay=MS
                       when the answer is delayed
  SECONDS.MMM bytes HH ..
                       with --dump: the bytes of one read, in hex

It stops on SIGINT or SIGTERM.
)";
}

} // namespace routersim
