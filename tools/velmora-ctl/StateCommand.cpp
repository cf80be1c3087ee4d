#include "Commands.h"
#include "PanelConnection.h"
#include "StandardStreams.h"
#include "Usage.h"
#include "base/PanelLimits.h"
#include "model/clsRouter.h"

namespace {

// A port as the window shows it: its matrix number and name, "none" for no port.
QString shown(int matrixPort, const QString &name)
{
    return matrixPort < 0 ? QStringLiteral("none") : QStringLiteral("%1 \"%2\"").arg(matrixPort + 1).arg(name);
}

// The lines after the state: the output and its sources as the window numbers
// and names them, from the panel's router lines; none when they do not say.
QString asTheWindowShows(const QString &state, int frameAddress, int output, const PanelOptions &options)
{
    const std::optional<QString> routers = askPanel(QStringLiteral("names"), options, AnswerForm::List);
    if (!routers || routers->startsWith(u"error"))
        return {};
    for (const QString &line : routers->split(u'\n', Qt::SkipEmptyParts)) {
        clsRouter router;
        router.setStringVal(line);
        if (!router.isValid() || router.FrameAddress() != frameAddress)
            continue;
        const QStringList words = state.split(u' ');
        const auto source = [&](int word) {
            const int phyIn = words.value(word).toInt();
            return shown(router.MapInput(phyIn), router.RouterInName(phyIn));
        };
        return QStringLiteral("output %1\nvideo %2\naudio %3\n")
            .arg(shown(router.MapOutput(output), router.RouterOutName(output)), source(1), source(3));
    }
    return {};
}

} // namespace

int runState(const QStringList &given)
{
    QStringList arguments = given;
    const std::optional<PanelOptions> options = takePanelOptions(arguments, false);
    bool frameOk = false;
    bool outputOk = false;
    const int frameAddress = arguments.value(0).toInt(&frameOk);
    const int output = arguments.value(1).toInt(&outputOk);
    if (!options || arguments.size() != 2 || !frameOk || !outputOk || frameAddress < 0 ||
        frameAddress >= limits::FrameAddresses || output < 0)
        return refuseUsage(QStringLiteral("state"));
    const std::optional<QString> state =
        askPanel(QStringLiteral("state %1 %2").arg(frameAddress).arg(output), *options);
    const int status =
        printPanelAnswer(state, QStringLiteral("No panel is running: the route state lives in the panel"));
    // The first line stays as scripts read it; the rest is for the operator.
    if (status == ExitOk)
        writeStandardOutput(asTheWindowShows(*state, frameAddress, output, *options).toUtf8());
    return status;
}
