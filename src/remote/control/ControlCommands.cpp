#include "remote/control/ControlCommands.h"

#include "base/PanelLimits.h"
#include "desktop/TextTokens.h"
#include "door/ControlDoor.h"
#include "link/RouteArguments.h"
#include "model/MacroBank.h"
#include "model/clsRouter.h"
#include "remote/control/StatusReport.h"

#include <QRegularExpression>
#include <optional>

namespace {

QString line(const QString &text)
{
    return desktop::withControlsBlanked(text) + QLatin1Char('\n');
}

QString judged(const ControlDoor::Outcome &outcome)
{
    return outcome.ok ? line(QStringLiteral("ok")) : line(QStringLiteral("error ") + outcome.failures.join(u"; "));
}

QString usage(const char *form)
{
    return line(QStringLiteral("error usage: ") + QLatin1String(form));
}

QString usageOf(const QString &command)
{
    if (command == u"route")
        return usage("route FA OUT IN [LEVEL]");
    if (command == u"macro")
        return usage("macro SLOT");
    if (command == u"state")
        return usage("state FA OUT");
    if (command == u"names")
        return usage("names | names export [FILE] | names import FILE");
    if (command == u"snapshot")
        return usage("snapshot save NAME [replace] | recall NAME [all] | diff NAME | list | delete NAME | stop | "
                     "import-videohub FILE NAME (NAME or FILE in double quotes when it holds a blank)");
    if (command == u"status")
        return usage("status");
    return line(QStringLiteral("error unknown command"));
}

QString route(const QStringList &words, ControlDoor &panel)
{
    const std::optional<RouteArguments> crosspoint = RouteArguments::parse(words.mid(1));
    if (!crosspoint)
        return usageOf(words.value(0));
    return judged(panel.route(crosspoint->FrameAddress, crosspoint->phyOut, crosspoint->phyIn, crosspoint->Level));
}

QString macro(const QStringList &words, ControlDoor &panel)
{
    const auto slot = boundedNumber(words.value(1), 0, MacroBank::SlotCount - 1);
    if (words.size() != 2 || !slot)
        return usageOf(words.value(0));
    return judged(panel.recallMacro(*slot));
}

QString state(const QStringList &words, ControlDoor &panel)
{
    const auto frameAddress = boundedNumber(words.value(1), 0, limits::FrameAddresses - 1);
    const auto output = boundedNumber(words.value(2), 0, clsRouter::MaxPortIndex);
    if (words.size() != 3 || !frameAddress || !output)
        return usageOf(words.value(0));
    OutputSources sources;
    const ControlDoor::Outcome outcome = panel.sources(*frameAddress, *output, sources);
    if (!outcome.ok)
        return judged(outcome);
    return line(QStringLiteral("video %1 audio %2").arg(sources.video).arg(sources.audio));
}

// The lines one by one, then "end".
QString listed(const QStringList &words, const QStringList &lines)
{
    if (words.size() != 1)
        return usageOf(words.value(0));
    QString text;
    for (const QString &each : lines)
        text += line(each);
    return text + line(QStringLiteral("end"));
}

// An answer's one line, "ok TEXT" or "error TEXT".
QString judged(const ShowAnswer &answer)
{
    return line((answer.ok ? QStringLiteral("ok ") : QStringLiteral("error ")) + answer.text);
}

// A listing's lines then "end"; a refusal as its one line.
QString listedOrRefused(const ShowAnswer &answer)
{
    if (!answer.ok)
        return judged(answer);
    QString text;
    for (const QString &each : answer.lines)
        text += line(each);
    return text + line(QStringLiteral("end"));
}

QString snapshot(const QStringList &words, ShowDoor &shows)
{
    const QString verb = words.value(1);
    const qsizetype count = words.size();
    if (verb == u"save" && (count == 3 || (count == 4 && words.at(3) == u"replace")))
        return judged(shows.saveSnapshot(words.at(2), count == 4));
    if (verb == u"diff" && count == 3)
        return listedOrRefused(shows.diffSnapshot(words.at(2)));
    if (verb == u"list" && count == 2)
        return listedOrRefused(shows.listSnapshots());
    if (verb == u"delete" && count == 3)
        return judged(shows.deleteSnapshot(words.at(2)));
    if (verb == u"stop" && count == 2)
        return judged(shows.stopRecall());
    if (verb == u"import-videohub" && count == 4)
        return judged(shows.importVideohub(words.at(2), words.at(3)));
    return usageOf(words.value(0));
}

QString nameList(const QStringList &words, ShowDoor &shows)
{
    const QString verb = words.value(1);
    if (verb == u"export" && words.size() <= 3)
        return words.size() == 2 ? listedOrRefused(shows.exportNames({})) : judged(shows.exportNames(words.at(2)));
    if (verb == u"import" && words.size() == 3)
        return judged(shows.importNames(words.at(2)));
    return usageOf(words.value(0));
}

// The show-file commands: the door's show files, or its refusal.
QString showCommand(const QStringList &words, ControlDoor &panel)
{
    QString refusal;
    ShowDoor *shows = panel.shows(refusal);
    if (!shows)
        return line(QStringLiteral("error ") + refusal);
    return words.value(0) == u"snapshot" ? snapshot(words, *shows) : nameList(words, *shows);
}

} // namespace

namespace {

// Control characters never belong in a command; tab separates words like a blank.
const QRegularExpression &controlCharacter()
{
    static const QRegularExpression control(QStringLiteral("[\\x00-\\x08\\x0a-\\x1f\\x7f-\\x9f]"));
    return control;
}

QStringList wordsOf(const QString &text)
{
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    return text.split(blanks, Qt::SkipEmptyParts);
}

// Words, where a word in double quotes may hold blanks (a snapshot name, a path).
QStringList quotedWordsOf(const QString &text)
{
    static const QRegularExpression word(QStringLiteral("\"([^\"]*)\"|(\\S+)"));
    QStringList words;
    for (auto match = word.globalMatch(text); match.hasNext();) {
        const QRegularExpressionMatch next = match.next();
        words.append(next.hasCaptured(1) ? next.captured(1) : next.captured(2));
    }
    return words;
}

} // namespace

QString ControlCommands::answer(const QString &text, ControlDoor &panel, const StatusReport &report)
{
    const QStringList words = wordsOf(text);
    const QString command = words.value(0);
    // Judged by its command word alone, so a control character cannot cut a number short.
    if (text.contains(controlCharacter()))
        return usageOf(wordsOf(text.section(controlCharacter(), 0, 0)).value(0));
    if (command == u"route")
        return route(words, panel);
    if (command == u"macro")
        return macro(words, panel);
    if (command == u"state")
        return state(words, panel);
    if (command == u"snapshot" || (command == u"names" && words.size() > 1))
        return showCommand(quotedWordsOf(text), panel);
    if (command == u"names")
        return listed(words, panel.names());
    if (command == u"status")
        return listed(words, report.lines());
    return usageOf(command);
}

bool ControlCommands::usesLine(const QString &text)
{
    const QString command = wordsOf(text).value(0);
    return command == u"route" || command == u"macro" || recallOf(text).has_value();
}

std::optional<ControlCommands::Recall> ControlCommands::recallOf(const QString &text)
{
    if (text.contains(controlCharacter()))
        return std::nullopt;
    const QStringList words = quotedWordsOf(text);
    if (words.value(0) != u"snapshot" || words.value(1) != u"recall" || words.size() < 3 || words.size() > 4 ||
        (words.size() == 4 && words.at(3) != u"all"))
        return std::nullopt;
    return Recall{words.at(2), words.size() == 4};
}
