#pragma once

#include <QString>
#include <functional>

// The help command: one HTML page opened with the desktop's browser.
inline const QString HelpFileName = QStringLiteral("Velmora.html");

// The help file setting: the bare name until the configuration dialog first
// opens, then the page in the program's folder.
[[nodiscard]] QString helpFile();
void setHelpFile(const QString &path);

// A setting without a folder becomes helpFolder(program folder) + "/" + name.
void completeHelpFile();

// Where the help page of a program in programFolder lies: that folder when
// the page is there (the build tree, or installed beside the program), else
// the shared data folder of an installed program (<prefix>/share/velmora
// for <prefix>/bin).
[[nodiscard]] QString helpFolder(const QString &programFolder);

// F1 and "&Velmora Help": opens the help file through the shell's browser;
// when there is no such file, the operator is told to reinstall; when it
// cannot be opened, the help teller hears why and where the page is.
void showHelp();
// Where "help could not be opened" goes (the main window's status line); a
// message box until one is set.
void setHelpTeller(std::function<void(const QString &message)> tell);
