#pragma once

#include "remote/ServerLimits.h"
#include "remote/umd/UmdTarget.h"

#include <QList>
#include <QStringList>

class QSettings;

// The targets of the UMD output: `--umd=URL` options, repeatable, or else
// the settings file's [umd] target1 to target8.
struct UmdOptions
{

    // Each with its number, as the status messages name it (target1...).
    QList<QPair<int, UmdTarget>> targets;
    // A target on the command line that cannot be read: the program is to
    // end at start with this line.
    QString optionError;
    // Entries of the settings file that cannot be read, as status messages;
    // the other targets run.
    QStringList errors;

    [[nodiscard]] static UmdOptions parse(const QStringList &arguments, const QSettings &settings);
    // The same with the user's settings file.
    [[nodiscard]] static UmdOptions parse(const QStringList &arguments);
};
