#include "RouterBank.h"

#include <cstdio>

namespace routersim {

Reception receive(const Options &options, const CrosspointFrame::Bytes &frame)
{
    if (!CrosspointFrame::isWellFormed(frame))
        return {"bad-check", std::nullopt};
    const unsigned address = CrosspointFrame::frameAddress(frame);
    if (address >= RouterCount || !options.present[address])
        return {"no-router", std::nullopt};
    const Answer &answer = options.answers[address];
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
