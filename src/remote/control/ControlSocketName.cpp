#include "remote/control/ControlSocketName.h"

#include "desktop/RuntimeFolder.h"

#include <QLockFile>

namespace {

const QString BaseName = QStringLiteral("velmora-control");

} // namespace

QString controlSocketName()
{
#ifdef Q_OS_WIN
    return BaseName + QLatin1Char('-') + qEnvironmentVariable("USERNAME");
#else
    const QString folder = desktop::runtimeFolder();
    return folder.isEmpty() ? QString() : folder + QLatin1Char('/') + BaseName;
#endif
}

std::unique_ptr<QLockFile> controlPortLock()
{
    const QString folder = desktop::runtimeFolder();
    if (folder.isEmpty())
        return nullptr;
    auto lock = std::make_unique<QLockFile>(folder + QLatin1Char('/') + BaseName + QStringLiteral(".lock"));
    lock->setStaleLockTime(0);
    return lock;
}

bool panelHoldsControlPort()
{
    const std::unique_ptr<QLockFile> lock = controlPortLock();
    return lock && !lock->tryLock(0) && lock->error() == QLockFile::LockFailedError;
}
