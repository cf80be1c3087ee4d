#include "Check.h"
#include "FrameScanner.h"
#include "RouterBank.h"
#include "SimOptions.h"

#include <string>
#include <vector>

using namespace routersim;
using check::Bytes;
using check::frame;
using check::operator+;

namespace {

// Each stream, cut into reads of every size, gives the same windows, judged
// by routers at 0-4 and 6: 0 acknowledges (its own answer beats the "*"
// given after it), 2 refuses, the others stay silent.
void streamsAreScannedAndJudged()
{
    const auto parsed = parseCommandLine(
        {"--link", "x", "--routers", "0-4,6", "--answer", "0=ack", "--answer", "*=silent", "--answer", "2=code:21"});
    CHECK(parsed.action == ParseOutcome::Action::Run);
    struct Row
    {
        const char *name;
        Bytes stream;
        std::vector<std::string> judged;
    };
    const Bytes badCheck{0xBE, 0xEF, 0x01, 0x00, 0x00, 0x04, 0x02, 0xFF};
    const std::vector<Row> rows = {
        {"two good frames",
         frame(0, 0, 7) + frame(2, 4, 2),
         {"BE EF 00 00 00 00 07 56 router=0 input=0 output=7 ack",
          "BE EF 02 00 00 04 02 55 router=2 input=4 output=2 refused:21"}},
        {"noise before a frame, including a lone first start byte",
         Bytes{0x00, 0x11, 0xBE, 0x22, 0xEF} + frame(3, 0, 0),
         {"BE EF 03 00 00 00 00 52 router=3 input=0 output=0 silent"}},
        {"bad check byte, then a good frame",
         badCheck + frame(0, 1, 1),
         {"BE EF 01 00 00 04 02 FF router=1 input=4 output=2 bad-check",
          "BE EF 00 00 00 01 01 51 router=0 input=1 output=1 ack"}},
        // The truncated frame swallows the start of the next one; the good
        // frame must still come out after the bad window.
        {"truncated frame in front of a good one",
         Bytes{0xBE, 0xEF, 0x01} + frame(0, 1, 1),
         {"BE EF 01 BE EF 00 00 00 router=1 input=0 output=0 bad-check",
          "BE EF 00 00 00 01 01 51 router=0 input=1 output=1 ack"}},
        {"start bytes inside a good frame are not a new frame",
         frame(5, 0xBE, 0xEF) + frame(200, 0, 0),
         {"BE EF 05 00 00 BE EF 05 router=5 input=190 output=239 no-router",
          "BE EF C8 00 00 00 00 99 router=200 input=0 output=0 no-router"}},
        {"incomplete frame at the end is held back",
         frame(6, 1, 2) + Bytes{0xBE, 0xEF, 0x07},
         {"BE EF 06 00 00 01 02 54 router=6 input=1 output=2 silent"}},
    };
    for (const auto &row : rows) {
        for (std::size_t chunk = 1; chunk <= row.stream.size(); ++chunk) {
            FrameScanner scanner;
            std::vector<std::string> judged;
            for (std::size_t at = 0; at < row.stream.size(); at += chunk) {
                for (const auto &w : scanner.feed({row.stream.data() + at, std::min(chunk, row.stream.size() - at)})) {
                    const std::string line =
                        logLine(std::chrono::milliseconds{0}, w, receive(parsed.options, w).verdict);
                    judged.push_back(line.substr(line.find(' ') + 1));
                }
            }
            if (judged != row.judged)
                check::fail(__FILE__, __LINE__,
                            std::string(row.name) + " in chunks of " + std::to_string(chunk) + ": first [" +
                                (judged.empty() ? "" : judged.front()) + "]");
        }
    }
    CHECK_EQ(logLine(std::chrono::milliseconds{12'345}, CrosspointFrame::build(3, 0, 7), "ack"),
             std::string("12.345 BE EF 03 00 00 00 07 55 router=3 input=0 output=7 ack"));
}

void answerSpecsParse()
{
    using ms = std::chrono::milliseconds;
    struct Row
    {
        const char *text;
        Bytes bytes;
        long delay;
        const char *verdict;
    };
    const std::vector<Row> good = {
        {"ack", {0x06}, 0, "ack"},
        {"silent", {}, 0, "silent"},
        {"code:21", {0x15}, 0, "refused:21"},
        {"code:255", {0xFF}, 0, "refused:255"},
        {"code:6", {0x06}, 0, "ack"},
        {"bytes:06,41,42", {0x06, 0x41, 0x42}, 0, "bytes:06,41,42"},
        {"bytes:f", {0x0F}, 0, "refused:15"},
        {"bytes:Ff,0", {0xFF, 0x00}, 0, "bytes:FF,00"},
        {"ack@1500", {0x06}, 1500, "ack delay=1500"},
        {"silent@100", {}, 100, "silent"},
        {"bytes:06,41@600000", {0x06, 0x41}, 600000, "bytes:06,41 delay=600000"},
    };
    for (const auto &row : good) {
        const auto answer = parseAnswer(row.text);
        CHECK(answer.has_value());
        if (!answer)
            continue;
        CHECK_EQ(check::hex(answer->bytes), check::hex(row.bytes));
        CHECK_EQ(answer->delay, ms{row.delay});
        CHECK_EQ(describeAnswer(*answer), std::string(row.verdict));
    }
    for (const char *text :
         {"", "ACK", "nak", "code:", "code:256", "code:-1", "code:0x15", "code:2 1", "bytes:", "bytes:1g", "bytes:123",
          "bytes:06,,41", "bytes:06,", "ack@", "ack@x", "ack@-5", "ack@1500@2", "ack@600001", "@100"}) {
        if (parseAnswer(text))
            check::fail(__FILE__, __LINE__, std::string("accepted bad answer '") + text + "'");
    }
    // Frame addresses beyond the sixteen never index the router tables.
    for (const char *who : {"16=ack", "x=ack", "3"})
        CHECK(parseCommandLine({"--link", "x", "--answer", who}).action == ParseOutcome::Action::UsageError);
    for (const char *list : {"0,16", "5-3", "1,,2"})
        CHECK(parseCommandLine({"--link", "x", "--routers", list}).action == ParseOutcome::Action::UsageError);
}

} // namespace

int main()
{
    return check::runAll("routersim.unit", {
                                               {"scanAndJudge", streamsAreScannedAndJudged},
                                               {"answerSpecs", answerSpecsParse},
                                           });
}
