#include "CommandLoad.h"
#include "CommandRouter.h"
#include "Commands.h"
#include "PanelConnection.h"
#include "Usage.h"
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

int runRoute(const QStringList &given)
{
    QStringList arguments = given;
    const std::optional<PanelOptions> options = takePanelOptions(arguments, true);
    const auto at = [&](qsizetype i, int low, int high) {
        return i < arguments.size() ? argumentNumber(arguments.at(i), low, high) : std::nullopt;
    };
    const std::optional<int> frameAddress = at(1, 0, 15);
    const std::optional<int> output = at(2, 0, clsRouter::MaxPortIndex);
    const std::optional<int> input = at(3, 0, clsRouter::MaxPortIndex);
    const std::optional<int> level = arguments.size() == 5 ? at(4, 1, 3) : std::optional<int>(3);
    if (!options || arguments.size() < 4 || arguments.size() > 5 || arguments.constFirst().isEmpty() || !frameAddress ||
        !output || !input || !level)
        return refuseUsage(QStringLiteral("route"));
    if (!options->direct) {
        const std::optional<QString> answer = askPanel(
            QStringLiteral("route %1 %2 %3 %4").arg(*frameAddress).arg(*output).arg(*input).arg(*level), *options);
        if (answer)
            return panelVerdict(*answer);
    }
    CommandSetup setup;
    if (!loadForCommand(arguments.constFirst(), setup))
        return ExitFailed;

    return CommandRouter::run(setup, QStringLiteral("route"), 1, [&](CommandRouter &router) {
        if (clsRouter *target = router.routes().routerAt(*frameAddress))
            router.Route(*target, *output, *input, *level);
    });
}
