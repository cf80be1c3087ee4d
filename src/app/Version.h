#pragma once

#include <QString>

// The program's version: major.minor, and the revision of that release.
inline constexpr int VersionMajor = 1;
inline constexpr int VersionMinor = 1;
inline constexpr int VersionRevision = 1;

// "Version 1.1.1".
[[nodiscard]] inline QString VersionText()
{
    return QStringLiteral("Version %1.%2.%3").arg(VersionMajor).arg(VersionMinor).arg(VersionRevision);
}
