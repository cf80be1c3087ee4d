#include "Commands.h"
#include "PanelConnection.h"
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
    return printPanelAnswer(askPanel(QStringLiteral("state %1 %2").arg(frameAddress).arg(output), *options),
                            QStringLiteral("No panel is running: the route state lives in the panel"));
}
