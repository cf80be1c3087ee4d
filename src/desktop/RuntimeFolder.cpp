#include "desktop/RuntimeFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace desktop {

QString RuntimeFolder()
{
#ifdef Q_OS_UNIX
    // cron, su and services leave the variable unset; the login session's
    // folder is still there while the user is logged in.
    QString folder = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (folder.isEmpty())
        folder = QStringLiteral("/run/user/%1").arg(geteuid());
    const QFileInfo info(folder);
    const auto othersMayEnter = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup |
                                QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
    const bool isPrivate = !QDir::isRelativePath(folder) && info.isDir() && info.ownerId() == geteuid() &&
                           !(info.permissions() & othersMayEnter);
    return isPrivate ? QDir::cleanPath(folder) : QString();
#else
    return QDir::cleanPath(QDir::tempPath());
#endif
}

void ExportRuntimeFolder()
{
#ifdef Q_OS_UNIX
    if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        return;
    const QString folder = RuntimeFolder();
    if (!folder.isEmpty())
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(folder));
#endif
}

} // namespace desktop
