#include "Commands.h"
#include "PanelConnection.h"
#include "Usage.h"

#include <QFileInfo>

namespace {

const QString NoPanel = QStringLiteral("No panel is running: snapshots are taken and recalled by the panel");

// The control-port line for the arguments after "snapshot"; none when they are not one.
std::optional<QString> commandLine(const QStringList &arguments)
{
    const QString verb = arguments.value(0);
    const qsizetype count = arguments.size();
    QStringList words{QStringLiteral("snapshot"), verb};
    if ((verb == u"list" || verb == u"stop") && count == 1)
        return words.join(u' ');
    QString flag;
    if (verb == u"save" && count == 3 && arguments.at(2) == u"--replace")
        flag = QStringLiteral("replace");
    else if (verb == u"recall" && count == 3 && arguments.at(2) == u"--all")
        flag = QStringLiteral("all");
    else if (verb == u"import-videohub" && count == 3)
        flag = QFileInfo(arguments.at(1)).absoluteFilePath();
    else if (count != 2 || (verb != u"save" && verb != u"recall" && verb != u"diff" && verb != u"delete"))
        return std::nullopt;
    // import-videohub FILE NAME: the file first, as the panel reads it.
    const QStringList given = verb == u"import-videohub" ? QStringList{flag, arguments.at(2)}
                              : flag.isEmpty()           ? QStringList{arguments.at(1)}
                                                         : QStringList{arguments.at(1), flag};
    for (const QString &word : given) {
        const std::optional<QString> quoted = commandWord(word);
        if (!quoted)
            return std::nullopt;
        words.append(*quoted);
    }
    return words.join(u' ');
}

} // namespace

int runSnapshot(const QStringList &given)
{
    QStringList arguments = given;
    const std::optional<PanelOptions> options = takePanelOptions(arguments, false);
    const std::optional<QString> line = options ? commandLine(arguments) : std::nullopt;
    if (!line)
        return refuseUsage(QStringLiteral("snapshot"));
    const QString verb = arguments.constFirst();
    if (verb == u"list" || verb == u"diff")
        return printPanelAnswer(askPanel(*line, *options, AnswerForm::List), NoPanel);
    if (verb == u"recall")
        return printOkText(askPanel(*line, *options, AnswerForm::AfterProgress), NoPanel, true);
    return printOkText(askPanel(*line, *options), NoPanel);
}
