#include "link/RouteArguments.h"

#include "base/PanelLimits.h"
#include "model/clsRouter.h"

std::optional<int> boundedNumber(const QString &text, int low, int high)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok && value >= low && value <= high ? std::optional<int>(value) : std::nullopt;
}

std::optional<RouteArguments> RouteArguments::parse(const QStringList &words)
{
    if (words.size() < 3 || words.size() > 4)
        return std::nullopt;
    const auto frameAddress = boundedNumber(words.at(0), 0, limits::FrameAddresses - 1);
    const auto output = boundedNumber(words.at(1), 0, clsRouter::MaxPortIndex);
    const auto input = boundedNumber(words.at(2), 0, clsRouter::MaxPortIndex);
    const auto level = words.size() == 4
                           ? boundedNumber(words.at(3), int(limits::Level::Video), int(limits::Level::Both))
                           : std::optional<int>(int(limits::Level::Both));
    if (!frameAddress || !output || !input || !level)
        return std::nullopt;
    return RouteArguments{*frameAddress, *output, *input, *level};
}
