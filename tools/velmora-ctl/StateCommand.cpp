#include "Commands.h"
#include "PanelConnection.h"
#include "StandardStreams.h"
#include "Usage.h"
#include "base/PanelLimits.h"

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
    const std::optional<QString> answer =
        askPanel(QStringLiteral("state %1 %2").arg(frameAddress).arg(output), *options);
    if (!answer) {
        writeErrorLine(QStringLiteral("No panel is running: the route state lives in the panel"));
        return ExitFailed;
    }
    if (answer->startsWith(u"error"))
        return panelVerdict(*answer);
    writeStandardOutput(answer->toUtf8() + '\n');
    return ExitOk;
}
