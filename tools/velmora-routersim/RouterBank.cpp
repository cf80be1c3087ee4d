#include "RouterBank.h"

#include <cstdio>

namespace routersim {

namespace {

// The byte a router refuses a frame with (NAK).
constexpr std::uint8_t RefusalCode = 0x15;

} // namespace

Answer TroubleDraw::replace(const Answer &acknowledgement)
{
    if (engine_() % 100 >= trouble_.percent)
        return acknowledgement;
    switch (engine_() % 3) {
    case 0:
        return Answer{{RefusalCode}, std::chrono::milliseconds{0}};
    case 1:
        return Answer{};
    default:
        return Answer{acknowledgement.bytes, std::chrono::milliseconds{1 + engine_() % trouble_.lateMs}};
    }
}

Reception receive(const Options &options, const CrosspointFrame::Bytes &frame, TroubleDraw *trouble)
{
    if (!CrosspointFrame::isWellFormed(frame))
        return {"bad-check", std::nullopt};
    const unsigned address = CrosspointFrame::frameAddress(frame);
    if (address >= RouterCount || !options.present[address])
        return {"no-router", std::nullopt};
    Answer answer = options.answers[address];
    if (trouble && answer == acknowledge())
        answer = trouble->replace(answer);
    return {describeAnswer(answer), answer.bytes.empty() ? std::nullopt : std::optional<Answer>(answer)};
}

std::string logLine(std::chrono::milliseconds sinceStart, const CrosspointFrame::Bytes &frame, std::string_view verdict)
{
    const long long ms = sinceStart.count();
    char text[160];
    int used = std::snprintf(text, sizeof text, "%lld.%03lld", ms / 1000, ms % 1000);
    for (const std::uint8_t byte : frame)
        used += std::snprintf(text + used, sizeof text - static_cast<std::size_t>(used), " %02X", byte);
    std::snprintf(text + used, sizeof text - static_cast<std::size_t>(used), " router=%u input=%u output=%u ",
                  unsigned{CrosspointFrame::frameAddress(frame)}, unsigned{CrosspointFrame::input(frame)},
                  unsigned{CrosspointFrame::output(frame)});
    return std::string(text) + std::string(verdict);
}

} // namespace routersim
