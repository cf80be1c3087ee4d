#include "remote/ControlSocketName.h"

#include <QStandardPaths>

QString controlSocketName()
{
    const QString base = QStringLiteral("velmora-control");
#ifdef Q_OS_WIN
    return base + QLatin1Char('-') + qEnvironmentVariable("USERNAME");
#else
    // Qt creates the folder mode 0700 when XDG_RUNTIME_DIR is unset and
    // refuses one owned by someone else.
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return folder.isEmpty() ? QString() : folder + QLatin1Char('/') + base;
#endif
}
