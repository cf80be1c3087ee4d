#include "desktop/RuntimeFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace desktop {

namespace {

#ifdef Q_OS_UNIX
const auto OwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;

bool isPrivate(const QFileInfo &info)
{
    const auto othersMayEnter = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup |
                                QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
    return info.isAbsolute() && info.isDir() && info.ownerId() == geteuid() && !(info.permissions() & othersMayEnter);
}
#endif

} // namespace

QString ownRuntimeFolder()
{
#ifdef Q_OS_UNIX
    return QDir::cleanPath(QDir::tempPath()) + QStringLiteral("/velmora-%1").arg(geteuid());
#else
    return QDir::cleanPath(QDir::tempPath());
#endif
}

QString runtimeFolder()
{
#ifdef Q_OS_UNIX
    // cron, su and services leave the variable unset; the login session's
    // folder is still there while the user is logged in.
    QString folder = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (folder.isEmpty())
        folder = QStringLiteral("/run/user/%1").arg(geteuid());
    if (isPrivate(QFileInfo(folder)))
        return QDir::cleanPath(folder);
    // The temporary folder is everyone's: a name planted there beforehand,
    // a link above all, could lead the socket into someone else's hands.
    const QString own = ownRuntimeFolder();
    if (!QFileInfo::exists(own))
        (void)QDir().mkdir(own, OwnerOnly);
    const QFileInfo info(own);
    return !info.isSymLink() && isPrivate(info) ? own : QString();
#else
    return ownRuntimeFolder();
#endif
}

void exportRuntimeFolder()
{
#ifdef Q_OS_UNIX
    if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        return;
    const QString folder = runtimeFolder();
    if (!folder.isEmpty())
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(folder));
#endif
}

} // namespace desktop
