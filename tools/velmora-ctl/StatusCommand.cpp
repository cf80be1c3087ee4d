#include "Commands.h"
#include "PanelConnection.h"
#include "StandardStreams.h"
#include "Usage.h"

int runStatus(const QStringList &given)
{
    QStringList arguments = given;
    const std::optional<PanelOptions> options = takePanelOptions(arguments, false, StatusTimeoutSeconds);
    if (!options || !arguments.isEmpty())
        return refuseUsage(QStringLiteral("status"));
    const std::optional<QString> answer = askPanel(QStringLiteral("status"), *options, AnswerForm::List);
    if (!answer) {
        writeErrorLine(QStringLiteral("No Velmora panel is running"));
        return ExitFailed;
    }
    if (answer->startsWith(u"error "))
        return panelVerdict(*answer);
    writeStandardOutput(answer->toUtf8() + '\n');
    return ExitOk;
}
