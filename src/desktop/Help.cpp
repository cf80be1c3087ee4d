#include "desktop/Help.h"

#include "base/PanelLimits.h"
#include "desktop/AppFolder.h"
#include "desktop/Dialogs.h"
#include "desktop/Shell.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <exception>

namespace {

QString helpFile = HelpFileName;

bool hasFolder(const QString &path)
{
    return path.contains(u'/') || path.contains(u'\\');
}

} // namespace

QString HelpFile()
{
    return helpFile;
}

void setHelpFile(const QString &path)
{
    helpFile = path;
}

void CompleteHelpFile()
{
    if (!hasFolder(helpFile))
        helpFile = HelpFolder(QCoreApplication::applicationDirPath()) + u'/' + helpFile;
}

QString HelpFolder(const QString &programFolder)
{
    const QDir folder(programFolder);
    if (QFileInfo::exists(folder.filePath(HelpFileName)))
        return folder.path();
    return QDir::cleanPath(folder.filePath(QStringLiteral(VELMORA_HELP_FROM_PROGRAM)));
}

void ShowHelp()
{
    bool opened = false;
    try {
        // A bare name is looked up where the program was started from.
        const QFileInfo page(helpFile);
        opened =
            page.isFile() && desktop::shell().ShellOpen(page.absoluteFilePath()) >= desktop::Shell::ShellOpenSucceeded;
    } catch (const std::exception &) {
        opened = false;
    }
    if (!opened)
        desktop::showMessage(limits::ProgramName,
                             QStringLiteral("Help file cannot be found.  Try reinstalling the application"));
}
