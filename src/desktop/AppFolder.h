#pragma once

#include <QString>

// The per-user application folder and file tests. Paths use "/" on every
// platform (Qt converts where needed).
namespace desktop {

inline const QString ProductName = QStringLiteral("Velmora");
// The program's major and minor version joined by a full stop.
inline const QString VersionFolder = QStringLiteral("1.1");

// The per-user application data folder, without a trailing separator:
// $XDG_DATA_HOME, else ~/.local/share on Linux; %APPDATA% on Windows.
[[nodiscard]] QString GetAppDataFolder();

// The program's folder inside the application data folder, created level by
// level (empty parts skipped), ending with one "/". When the application
// data folder itself does not exist, the folder of the program file, creating
// nothing. A folder that cannot be created throws desktop::Fault.
[[nodiscard]] QString EnsureAppFolder(const QString &company, const QString &product, const QString &version);

// EnsureAppFolder("", "Velmora", "1.1"): ".../Velmora/1.1/". Home of the
// default configuration, the display file and the per-user port folders.
[[nodiscard]] QString AppFolder();

// True when the path names an existing file or folder; false when it does
// not exist, cannot be examined, or is empty.
[[nodiscard]] bool FileExists(const QString &path);

} // namespace desktop
