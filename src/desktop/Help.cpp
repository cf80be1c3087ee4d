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

QString currentHelpFile = HelpFileName;
std::function<void(const QString &)> helpTeller;

void tellHelpFailure(const QString &why, const QString &page)
{
    const QString message =
        QStringLiteral("Help could not be opened (%1); the page is %2").arg(why, QDir::toNativeSeparators(page));
    if (helpTeller)
        helpTeller(message);
    else
        desktop::showMessage(limits::ProgramName, message);
}

bool hasFolder(const QString &path)
{
    return path.contains(u'/') || path.contains(u'\\');
}

} // namespace

QString helpFile()
{
    return currentHelpFile;
}

void setHelpFile(const QString &path)
{
    currentHelpFile = path;
}

void completeHelpFile()
{
    if (!hasFolder(currentHelpFile))
        currentHelpFile = helpFolder(QCoreApplication::applicationDirPath()) + u'/' + currentHelpFile;
}

QString helpFolder(const QString &programFolder)
{
    const QDir folder(programFolder);
    if (QFileInfo::exists(folder.filePath(HelpFileName)))
        return folder.path();
    return QDir::cleanPath(folder.filePath(QStringLiteral(VELMORA_HELP_FROM_PROGRAM)));
}

void setHelpTeller(std::function<void(const QString &message)> tell)
{
    helpTeller = std::move(tell);
}

void showHelp()
{
    // A bare name is looked up where the program was started from.
    const QFileInfo page(currentHelpFile);
    bool handedOver = false;
    try {
        if (!page.isFile()) {
            desktop::showMessage(limits::ProgramName,
                                 QStringLiteral("Help file cannot be found.  Try reinstalling the application"));
            return;
        }
        const QString path = page.absoluteFilePath();
        handedOver = desktop::shell().openWebPage(path, [path](const QString &why) { tellHelpFailure(why, path); });
    } catch (const std::exception &) {
        handedOver = false;
    }
    if (!handedOver)
        tellHelpFailure(QStringLiteral("no program opens web pages"), page.absoluteFilePath());
}
