#include "config/ConfigFile.h"

#include "config/ConfigReader.h"
#include "config/ConfigText.h"
#include "desktop/AppFolder.h"
#include "desktop/Fault.h"
#include "desktop/MessagePlace.h"
#include "desktop/Shell.h"
#include "desktop/WholeFile.h"

#include <QFile>

namespace {

const QString DialogTitle = QStringLiteral("Configuration File");
// One file type, shown as "*.rcf".
const QString FileFilter = QStringLiteral("*.rcf:*.rcf");
const QString Extension = QStringLiteral(".rcf");

const QString LoadOperation = QStringLiteral("ConfigLoad");

} // namespace

QString DefaultConfigPath()
{
    return desktop::AppFolder() + QStringLiteral("default.rcf");
}

LoadReport ConfigLoad(Configuration &config, MacroBank &macros, QString &fileName, bool macrosOnly)
{
    Q_UNUSED(macrosOnly)
    QFile file;
    const desktop::MessagePlace place(fileName);
    const bool opened = desktop::runTrapped(LoadOperation, [&] {
        if (fileName.isEmpty())
            fileName = desktop::shell().OpenFileDialog(DialogTitle, FileFilter, desktop::AppFolder());
        if (fileName.isEmpty())
            return;
        file.setFileName(fileName);
        if (!file.open(QIODevice::ReadOnly)) {
            throw desktop::Fault(desktop::FileExists(fileName) ? file.errorString() : desktop::FaultText::FileNotFound);
        }
    });
    if (opened && file.isOpen())
        return configLoadFrom(file, fileName, config, macros);
    return {};
}

LoadReport configLoadFrom(QIODevice &file, const QString &fileName, Configuration &config, MacroBank &macros)
{
    LoadReport report;
    ConfigReader reader(file, config, macros);
    const desktop::MessagePlace place(fileName, &reader.lineNumber());
    desktop::runTrapped(LoadOperation, [&] {
        if (!reader.readFile())
            return;
        reader.commitTo(config, macros);
        config.ConfigFilePath = fileName;
        config.ConfigLoaded = true;
        file.close();
        report = reader.report();
        // The load is complete by now: a display that fails is reported, nothing more.
        if (const QString errorList = report.errorList(); !errorList.isEmpty())
            desktop::shell().ShowText(errorList);
    });
    return report;
}

bool ConfigSave(Configuration &config, const MacroBank &macros, QString &fileName)
{
    bool written = false;
    desktop::runTrapped(QStringLiteral("ConfigSave"), [&] {
        if (fileName.isEmpty())
            fileName = desktop::shell().SaveFileDialog(DialogTitle, FileFilter, config.ConfigFilePath, QString());
        if (fileName.isEmpty())
            return;
        if (fileName.right(Extension.size()).toLower() != Extension)
            fileName += Extension;
        desktop::writeWholeFile(fileName, configText(config, macros));
        config.ConfigFilePath = fileName;
        written = true;
    });
    return written;
}
