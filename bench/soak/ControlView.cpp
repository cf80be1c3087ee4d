#include "ControlLine.h"
#include "Views.h"
#include "desktop/TextTokens.h"

void addNameFacts(const QString &routerLine, Facts &facts)
{
    const QStringList fields = routerLine.split(u';');
    if (fields.size() < 7)
        return;
    const int inputs = fields[2].trimmed().toInt() + 1;
    const int outputs = fields[3].trimmed().toInt() + 1;
    for (int i = 0; i < inputs + outputs && 7 + i < fields.size(); ++i) {
        const QString key =
            i < inputs ? QStringLiteral("input-name %1").arg(i) : QStringLiteral("output-name %1").arg(i - inputs);
        // As the set-up file is read: blanks at the ends go, tabs stay.
        facts.insert(key, desktop::trimBlanks(fields[7 + i]));
    }
}

Facts controlFacts(ControlLine &control, const SoakPorts &ports)
{
    Facts facts;
    for (int output = 0; output < ports.outputs; ++output) {
        const QStringList answer = control.ask(QStringLiteral("state 0 %1").arg(output));
        const QStringList words = answer.value(0).split(u' ');
        if (words.size() != 4) {
            facts.insert(QStringLiteral("state %1").arg(output), answer.value(0, QStringLiteral("no answer")));
            continue;
        }
        if (words[1] != u"-1")
            facts.insert(QStringLiteral("video %1").arg(output), words[1]);
        if (words[3] != u"-1")
            facts.insert(QStringLiteral("audio %1").arg(output), words[3]);
    }
    const QStringList routers = control.ask(QStringLiteral("names"));
    for (const QString &line : routers) {
        facts.insert(QStringLiteral("router %1").arg(line.section(u';', 1, 1).trimmed()), line);
        addNameFacts(line, facts);
    }
    return facts;
}
