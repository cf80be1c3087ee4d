#include "CommandLoad.h"
#include "CommandRouter.h"
#include "Commands.h"
#include "StandardStreams.h"
#include "model/clsRouter.h"

#include <optional>

namespace {

// A whole decimal number within [low, high].
std::optional<int> argumentNumber(const QString &text, int low, int high)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok && value >= low && value <= high ? std::optional<int>(value) : std::nullopt;
}

} // namespace

int runRoute(const QStringList &arguments)
{
    const auto at = [&](qsizetype i, int low, int high) {
        return i < arguments.size() ? argumentNumber(arguments.at(i), low, high) : std::nullopt;
    };
    const std::optional<int> frameAddress = at(1, 0, 15);
    const std::optional<int> output = at(2, 0, clsRouter::MaxPortIndex);
    const std::optional<int> input = at(3, 0, clsRouter::MaxPortIndex);
    const std::optional<int> level = arguments.size() == 5 ? at(4, 1, 3) : std::optional<int>(3);
    if (arguments.size() < 4 || arguments.size() > 5 || arguments.constFirst().isEmpty() || !frameAddress || !output ||
        !input || !level) {
        writeErrorLine(QStringLiteral("usage: velmora-ctl route FILE FA OUT IN [LEVEL]"));
        writeErrorLine(QStringLiteral("  FA 0-15; OUT and IN the router's ports counted from 0, as in the "
                                      "file's macro lines; LEVEL 1 video, 2 audio, 3 both (default)"));
        return ExitUsage;
    }
    if (!loadForCommand(arguments.constFirst()))
        return ExitFailed;

    return CommandRouter::run(QStringLiteral("route"), 1, [&](CommandRouter &router) {
        if (clsRouter *target = router.routes().routerAt(*frameAddress))
            router.Route(*target, *output, *input, *level);
    });
}
