#include "remote/umd/UmdOptions.h"

#include "desktop/AppFolder.h"

#include <QSettings>

namespace {

const QString Option = QStringLiteral("--umd=");

} // namespace

UmdOptions UmdOptions::parse(const QStringList &arguments, const QSettings &settings)
{
    UmdOptions options;
    QStringList given;
    for (const QString &argument : arguments) {
        if (argument.startsWith(Option))
            given.append(argument.mid(Option.size()));
    }
    if (given.size() > serverlimits::UmdTargets) {
        options.optionError = QStringLiteral("--umd: at most %1 targets").arg(serverlimits::UmdTargets);
        return options;
    }
    for (qsizetype i = 0; i < given.size(); ++i) {
        QString why;
        const UmdTarget target = UmdTarget::read(given[i], why);
        if (!why.isEmpty()) {
            options.targets.clear();
            options.optionError = QStringLiteral("--umd: cannot read the target \"%1\" (%2)").arg(given[i], why);
            return options;
        }
        options.targets.append({int(i) + 1, target});
    }
    if (!given.isEmpty())
        return options;
    for (int number = 1; number <= serverlimits::UmdTargets; ++number) {
        const QString key = QStringLiteral("umd/target%1").arg(number);
        if (!settings.contains(key))
            continue;
        // A value with commas reads back as a string list.
        const QString url = settings.value(key).toStringList().join(u',');
        QString why;
        const UmdTarget target = UmdTarget::read(url, why);
        if (why.isEmpty())
            options.targets.append({number, target});
        else
            options.errors.append(
                QStringLiteral("UMD output not started: cannot read target%1 \"%2\" (%3)").arg(number).arg(url, why));
    }
    return options;
}

UmdOptions UmdOptions::parse(const QStringList &arguments)
{
    return parse(arguments, QSettings(desktop::settingsFile(), QSettings::IniFormat));
}
