#include "Commands.h"
#include "PanelConnection.h"
#include "Usage.h"

int runNames(const QStringList &given)
{
    QStringList arguments = given;
    const std::optional<PanelOptions> options = takePanelOptions(arguments, false);
    if (!options || !arguments.isEmpty())
        return refuseUsage(QStringLiteral("names"));
    return printPanelAnswer(askPanel(QStringLiteral("names"), *options, AnswerForm::List),
                            QStringLiteral("No panel is running: the names live in the panel"));
}
