#include "Commands.h"
#include "PanelConnection.h"
#include "StandardStreams.h"
#include "Usage.h"

#include <QFileInfo>

namespace {

const QString NoPanel = QStringLiteral("No panel is running: the names live in the panel");

// names export -: the list's records as the panel gives them, each ended CR LF as in a file.
int exportToStandardOutput(const PanelOptions &options)
{
    const std::optional<QString> answer = askPanel(QStringLiteral("names export"), options, AnswerForm::List);
    if (!answer || answer->startsWith(u"error "))
        return printPanelAnswer(answer, NoPanel);
    writeStandardOutput(QString(*answer).replace(u'\n', QStringLiteral("\r\n")).toUtf8() + "\r\n");
    return ExitOk;
}

} // namespace

int runNames(const QStringList &given)
{
    QStringList arguments = given;
    const std::optional<PanelOptions> options = takePanelOptions(arguments, false);
    if (!options)
        return refuseUsage(QStringLiteral("names"));
    if (arguments.isEmpty())
        return printPanelAnswer(askPanel(QStringLiteral("names"), *options, AnswerForm::List), NoPanel);
    const QString verb = arguments.constFirst();
    if (verb == u"export" && arguments.size() == 2 && arguments.at(1) == u"-")
        return exportToStandardOutput(*options);
    const std::optional<QString> file =
        arguments.size() == 2 ? commandWord(QFileInfo(arguments.at(1)).absoluteFilePath()) : std::nullopt;
    if ((verb != u"export" && verb != u"import") || !file)
        return refuseUsage(QStringLiteral("names"));
    return printOkText(askPanel(QStringLiteral("names %1 %2").arg(verb, *file), *options), NoPanel);
}
