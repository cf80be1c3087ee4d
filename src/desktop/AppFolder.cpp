#include "desktop/AppFolder.h"

#include "base/PanelLimits.h"
#include "base/Version.h"
#include "desktop/Dialogs.h"
#include "desktop/Fault.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#ifndef Q_OS_WIN
#include <unistd.h>
#endif

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

// The program's folder, when nobody but the operator can plant links in it
// (a "default.rcf" link would make the exit save overwrite another file, a
// "ports/COM1" link would send routes to another device). Otherwise there is
// no data folder: the operator is told once, and every use fails.
QString privateProgramFolder()
{
    const QString folder = QCoreApplication::applicationDirPath();
    if (isPrivateFolder(folder))
        return joined(folder, QString());
    static bool told = false;
    if (!told) {
        told = true;
        showMessage(limits::ProgramName,
                    QStringLiteral("No private folder for the set-up: ") + QDir::toNativeSeparators(folder) +
                        QStringLiteral(" can be written by others. The set-up cannot be saved."),
                    Icon::Warning);
    }
    throw Fault(QStringLiteral("No private data folder"));
}

} // namespace

bool isPrivateFolder(const QString &folder)
{
#ifdef Q_OS_WIN
    // The per-user data folder always exists on Windows; a program folder
    // whose owner cannot be told is not used.
    Q_UNUSED(folder);
    return false;
#else
    const QFileInfo info(folder);
    const auto othersMayWrite = QFileDevice::WriteGroup | QFileDevice::WriteOther;
    return info.isDir() && info.ownerId() == geteuid() && !(info.permissions() & othersMayWrite);
#endif
}

QString GetAppDataFolder()
{
#ifdef Q_OS_WIN
    const QString folder = qEnvironmentVariable("APPDATA");
#else
    // A relative XDG_DATA_HOME is invalid and must be ignored; a relative
    // HOME names no folder either.
    QString folder = qEnvironmentVariable("XDG_DATA_HOME");
    if (folder.isEmpty() || QDir::isRelativePath(folder)) {
        const QString home = qEnvironmentVariable("HOME");
        if (home.isEmpty() || QDir::isRelativePath(home))
            return QString();
        folder = home + QStringLiteral("/.local/share");
    }
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
    if (!folder.isEmpty() && !FileExists(folder) && QDir().mkpath(folder))
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
#endif
    if (!FileExists(folder))
        return privateProgramFolder();
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
    return EnsureAppFolder(QString(), limits::ProgramName, VersionFolder());
}

bool FileExists(const QString &path)
{
    return !path.isEmpty() && QFileInfo::exists(path);
}

QString settingsFile()
{
#ifdef Q_OS_WIN
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Velmora"), QStringLiteral("velmora"))
        .fileName();
#else
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Velmora/velmora.conf");
#endif
}

} // namespace desktop
