#include "Check.h"
#include "FrameScanner.h"
#include "SimOptions.h"

#include <string>
#include <vector>

using namespace routersim;
using check::Bytes;
using check::frame;

namespace {

std::string hex(const CrosspointFrame::Bytes &window)
{
    return check::hex(Bytes(window.begin(), window.end()));
}

Bytes operator+(Bytes a, const Bytes &b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

void scannerFindsTheSameWindowsHoweverTheStreamIsSplit()
{
    struct Row
    {
        const char *name;
        Bytes stream;
        std::vector<std::string> windows;
    };
    const Bytes truncated{0xBE, 0xEF, 0x01};
    const Bytes badCheck{0xBE, 0xEF, 0x01, 0x00, 0x00, 0x04, 0x02, 0xFF};
    const std::vector<Row> rows = {
        {"two good frames", frame(3, 0, 7) + frame(1, 4, 2), {"BE EF 03 00 00 00 07 55", "BE EF 01 00 00 04 02 56"}},
        {"noise before a frame, including a lone first start byte",
         Bytes{0x00, 0x11, 0xBE, 0x22, 0xEF} + frame(0, 0, 0),
         {"BE EF 00 00 00 00 00 51"}},
        {"bad check byte, then a good frame",
         badCheck + frame(2, 1, 1),
         {"BE EF 01 00 00 04 02 FF", "BE EF 02 00 00 01 01 53"}},
        // The truncated frame swallows the start of the next one; the good
        // frame must still come out after the bad window.
        {"truncated frame in front of a good one",
         truncated + frame(2, 1, 1),
         {"BE EF 01 BE EF 02 00 00", "BE EF 02 00 00 01 01 53"}},
        {"start bytes inside a good frame are not a new frame",
         frame(4, 0xBE, 0xEF) + frame(5, 0, 0),
         {"BE EF 04 00 00 BE EF 04", "BE EF 05 00 00 00 00 54"}},
        {"incomplete frame at the end is held back",
         frame(6, 1, 2) + Bytes{0xBE, 0xEF, 0x07},
         {"BE EF 06 00 00 01 02 54"}},
    };
    for (const auto &row : rows) {
        for (std::size_t chunk = 1; chunk <= row.stream.size(); ++chunk) {
            FrameScanner scanner;
            std::vector<std::string> seen;
            for (std::size_t at = 0; at < row.stream.size(); at += chunk) {
                const auto n = std::min(chunk, row.stream.size() - at);
                for (const auto &w : scanner.feed({row.stream.data() + at, n}))
                    seen.push_back(hex(w));
            }
            if (seen != row.windows)
                check::fail(__FILE__, __LINE__,
                            std::string(row.name) + " in chunks of " + std::to_string(chunk) + ": got " +
                                std::to_string(seen.size()) + " windows, first [" + (seen.empty() ? "" : seen.front()) +
                                "]");
        }
    }
}

void answerSpecsParse()
{
    using ms = std::chrono::milliseconds;
    struct Row
    {
        const char *spec;
        Bytes bytes;
        long delay;
        const char *verdict;
    };
    const std::vector<Row> good = {
        {"ack", {0x06}, 0, "ack"},
        {"silent", {}, 0, "silent"},
        {"code:21", {0x15}, 0, "refused:21"},
        {"code:0", {0x00}, 0, "refused:0"},
        {"code:255", {0xFF}, 0, "refused:255"},
        {"code:6", {0x06}, 0, "ack"},
        {"bytes:06,41,42", {0x06, 0x41, 0x42}, 0, "bytes:06,41,42"},
        {"bytes:f", {0x0F}, 0, "refused:15"},
        {"bytes:Ff,0", {0xFF, 0x00}, 0, "bytes:FF,00"},
        {"ack@1500", {0x06}, 1500, "ack delay=1500"},
        {"code:21@200", {0x15}, 200, "refused:21 delay=200"},
        {"ack@0", {0x06}, 0, "ack"},
        {"silent@100", {}, 100, "silent"},
        {"bytes:06,41@600000", {0x06, 0x41}, 600000, "bytes:06,41 delay=600000"},
    };
    for (const auto &row : good) {
        const auto answer = parseAnswerSpec(row.spec);
        CHECK(answer.has_value());
        if (!answer)
            continue;
        CHECK_EQ(check::hex(answer->bytes), check::hex(row.bytes));
        CHECK_EQ(answer->delay, ms{row.delay});
        CHECK_EQ(describeAnswer(*answer), std::string(row.verdict));
    }
    for (const char *spec :
         {"", "ACK", "nak", "code:", "code:256", "code:-1", "code:0x15", "code:2 1", "bytes:", "bytes:1g", "bytes:123",
          "bytes:06,,41", "bytes:06,", "ack@", "ack@x", "ack@-5", "ack@1500@2", "ack@600001", "@100"}) {
        if (parseAnswerSpec(spec))
            check::fail(__FILE__, __LINE__, std::string("accepted bad answer spec '") + spec + "'");
    }
}

ParseOutcome parse(std::vector<std::string_view> args)
{
    return parseCommandLine(args);
}

void commandLineIsRefusedWithAReason()
{
    const std::vector<std::vector<std::string_view>> refused = {
        {},
        {"--routers", "1"},
        {"--link", "a", "--device", "b"},
        {"--link", "a", "--link", "b"},
        {"--link"},
        {"--link="},
        {"--link", "a", "--routers", "0,16"},
        {"--link", "a", "--routers", "5-3"},
        {"--link", "a", "--routers", "1,,2"},
        {"--link", "a", "--answer", "16=ack"},
        {"--link", "a", "--answer", "3"},
        {"--link", "a", "--answer", "x=ack"},
        {"--link", "a", "--answer", "3=code:300"},
        {"--link", "a", "--no-pacing=yes"},
        {"--link", "a", "--frobnicate"},
        {"--link", "a", "extra"},
    };
    for (const auto &args : refused) {
        const auto outcome = parse(args);
        std::string joined;
        for (const auto a : args)
            joined += std::string(a) + ' ';
        if (outcome.action != ParseOutcome::Action::UsageError || outcome.message.empty())
            check::fail(__FILE__, __LINE__, "accepted: " + joined);
    }
    CHECK(parse({"--link", "a", "--bogus", "--help"}).action == ParseOutcome::Action::UsageError);
    CHECK(parse({"--help", "--bogus"}).action == ParseOutcome::Action::Help);
    CHECK(parse({"-h"}).action == ParseOutcome::Action::Help);
}

void commandLineBuildsTheRouters()
{
    const auto outcome =
        parse({"--answer", "1=ack", "--device=/dev/ttyX", "--answer=*=code:21", "--routers", "0-3,9", "--answer",
               "2=silent@50", "--answer", "2=bytes:06,41", "--no-pacing", "--answer", "12=ack"});
    CHECK(outcome.action == ParseOutcome::Action::Run);
    const Options &o = outcome.options;
    CHECK(o.kind == PortKind::Device);
    CHECK_EQ(o.path, std::string("/dev/ttyX"));
    CHECK(!o.pacing);
    for (int fa = 0; fa < RouterCount; ++fa)
        CHECK_EQ(o.present[fa], fa <= 3 || fa == 9);
    // A router's own answer beats "*" even when given first; the last of two wins.
    CHECK_EQ(check::hex(o.answers[0].bytes), check::hex(Bytes{0x15}));
    CHECK_EQ(check::hex(o.answers[1].bytes), check::hex(Bytes{0x06}));
    CHECK_EQ(check::hex(o.answers[2].bytes), check::hex(Bytes{0x06, 0x41}));
    CHECK_EQ(o.answers[2].delay.count(), 0);
    CHECK_EQ(outcome.warnings.size(), std::size_t{1}); // router 12 is not on the line

    const auto defaults = parse({"--link", "/tmp/x"});
    CHECK(defaults.action == ParseOutcome::Action::Run);
    CHECK(defaults.options.kind == PortKind::Link);
    CHECK(defaults.options.pacing);
    for (int fa = 0; fa < RouterCount; ++fa) {
        CHECK(defaults.options.present[fa]);
        CHECK(defaults.options.answers[fa] == acknowledge());
    }
    const auto none = parse({"--link", "/tmp/x", "--routers", ""});
    CHECK(none.action == ParseOutcome::Action::Run);
    for (int fa = 0; fa < RouterCount; ++fa)
        CHECK(!none.options.present[fa]);
}

} // namespace

int main()
{
    return check::runAll("routersim.unit", {
                                               {"scanner", scannerFindsTheSameWindowsHoweverTheStreamIsSplit},
                                               {"answerSpecs", answerSpecsParse},
                                               {"refusedCommandLines", commandLineIsRefusedWithAReason},
                                               {"routerSetup", commandLineBuildsTheRouters},
                                           });
}
