#pragma once

#include "config/Configuration.h"
#include "model/MacroBank.h"

#include <QByteArray>
#include <QString>

// The first line of every configuration file, exactly.
inline const QString ConfigFileHeader = QStringLiteral("VL ConfigFile 1.2");

// The router timeout as the file holds it: "." as the decimal separator
// whatever the locale, at most 7 significant digits, no trailing zeros
// (3 gives "3", a half "0.5").
[[nodiscard]] QString routerTimeoutText(float timeout);

// The bytes a save writes (UTF-8, CR LF after every line): the header, the
// port, the timeout, one line per router with a type in ascending frame
// address, and the macro section.
[[nodiscard]] QByteArray configText(const Configuration &config, const MacroBank &macros);
