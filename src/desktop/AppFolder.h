#pragma once

#include <QString>

// The per-user application folder and file tests. Paths use "/" on every
// platform (Qt converts where needed).
namespace desktop {

// The per-user application data folder, without a trailing separator:
// $XDG_DATA_HOME, else ~/.local/share on Linux; %APPDATA% on Windows. Empty
// when there is none (HOME unset or relative).
[[nodiscard]] QString GetAppDataFolder();

// The program's folder inside the application data folder, created level by
// level (empty parts skipped), ending with one "/". When the application
// data folder itself does not exist, the folder of the program file, creating
// nothing, but only when it is private (isPrivateFolder); otherwise the
// operator is told once and this throws desktop::Fault, as it does for a
// folder that cannot be created.
[[nodiscard]] QString EnsureAppFolder(const QString &company, const QString &product, const QString &version);

// EnsureAppFolder("", "Velmora", "1.1"): ".../Velmora/1.1/". Home of the
// default configuration, the display file and the per-user port folders.
[[nodiscard]] QString AppFolder();

// The user's settings file, for what the set-up file does not hold (the
// servers' addresses): $XDG_CONFIG_HOME/Velmora/velmora.conf, else
// ~/.config/Velmora/velmora.conf; %APPDATA%\Velmora\velmora.ini on Windows.
[[nodiscard]] QString settingsFile();

// The folder belongs to the operator and nobody else may write to it.
[[nodiscard]] bool isPrivateFolder(const QString &folder);

// True when the path names an existing file or folder; false when it does
// not exist, cannot be examined, or is empty.
[[nodiscard]] bool FileExists(const QString &path);

} // namespace desktop
