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
        return usage("names");
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
    if (command == u"names")
        return listed(words, panel.names());
    if (command == u"status")
        return listed(words, report.lines());
    return usageOf(command);
}

bool ControlCommands::usesLine(const QString &text)
{
    const QString command = wordsOf(text).value(0);
    return command == u"route" || command == u"macro";
}
