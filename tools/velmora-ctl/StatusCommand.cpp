#include "Commands.h"
#include "PanelConnection.h"
#include "Usage.h"

int runStatus(const QStringList &given)
{
    QStringList arguments = given;
    const std::optional<PanelOptions> options = takePanelOptions(arguments, false, StatusTimeoutSeconds);
    if (!options || !arguments.isEmpty())
        return refuseUsage(QStringLiteral("status"));
    return printPanelAnswer(askPanel(QStringLiteral("status"), *options, AnswerForm::List),
                            QStringLiteral("No Velmora panel is running"));
}
