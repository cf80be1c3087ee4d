#include "desktop/AppFolder.h"

#include "desktop/Fault.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace desktop {

namespace {

QString withoutTrailingSeparator(QString folder)
{
    while (folder.size() > 1 && folder.endsWith(u'/'))
        folder.chop(1);
    return folder;
}

QString joined(const QString &folder, const QString &name)
{
    return folder.endsWith(u'/') ? folder + name : folder + u'/' + name;
}

} // namespace

QString GetAppDataFolder()
{
#ifdef Q_OS_WIN
    const QString folder = qEnvironmentVariable("APPDATA");
#else
    // A relative XDG_DATA_HOME is invalid and must be ignored.
    QString folder = qEnvironmentVariable("XDG_DATA_HOME");
    if (folder.isEmpty() || QDir::isRelativePath(folder))
        folder = QDir::homePath() + QStringLiteral("/.local/share");
#endif
    return withoutTrailingSeparator(QDir::fromNativeSeparators(folder));
}

QString EnsureAppFolder(const QString &company, const QString &product, const QString &version)
{
    QString folder = GetAppDataFolder();
#ifndef Q_OS_WIN
    // A new account may not have its data folder yet; the program's own
    // folder is rarely writable here, so every exit save would fail and the
    // set-up would be lost. The folder is made, private, as the XDG rules ask.
    if (!FileExists(folder) && QDir().mkpath(folder))
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
#endif
    if (!FileExists(folder))
        return joined(QCoreApplication::applicationDirPath(), QString());
    for (const QString &part : {company, product, version}) {
        if (part.isEmpty())
            continue;
        folder = joined(folder, part);
        if (!FileExists(folder) && !QDir().mkdir(folder))
            throw Fault(QStringLiteral("Cannot create the folder ") + QDir::toNativeSeparators(folder));
    }
    return joined(folder, QString());
}

QString AppFolder()
{
    return EnsureAppFolder(QString(), ProductName, VersionFolder);
}

bool FileExists(const QString &path)
{
    return !path.isEmpty() && QFileInfo::exists(path);
}

} // namespace desktop
