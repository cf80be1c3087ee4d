#include "link/ActivityEvents.h"

namespace ActivityEvents {
namespace {

QString number(int value)
{
    return value < 0 ? QStringLiteral("-") : QString::number(value);
}

} // namespace

QString quoted(const QString &name)
{
    QString text;
    text.reserve(name.size() + 2);
    text += u'"';
    for (const QChar c : name) {
        if (c == u'"' || c == u'\\')
            text += u'\\';
        if (c == u'\t')
            text += QStringLiteral("\\t");
        else
            text += c;
    }
    text += u'"';
    return text;
}

QString macroSource(const QString &by, int slot, const QString &name)
{
    return QStringLiteral("%1 macro %2 ").arg(by).arg(slot, 2, 10, QLatin1Char('0')) + quoted(name);
}

QString route(const RouteActivity &r)
{
    return QStringLiteral("route output=%1 %2 input=%3 %4 frame=%5 router-output=%6 router-input=%7 level=%8 result=%9")
        .arg(number(r.output), quoted(r.outputName), number(r.input), quoted(r.inputName), number(r.frameAddress),
             number(r.routerOutput), number(r.routerInput), r.level, r.result);
}

QString label(const QString &side, int port, const QString &oldName, const QString &newName)
{
    return QStringLiteral("label %1=%2 old=%3 new=%4")
        .arg(side, QString::number(port), quoted(oldName), quoted(newName));
}

QString lock(const QString &action, int output, const QString &outputName, const QString &owner, const QString &result)
{
    return QStringLiteral("lock output=%1 %2 action=%3 owner=%4 result=%5")
        .arg(QString::number(output), quoted(outputName), action, owner, result);
}

} // namespace ActivityEvents
