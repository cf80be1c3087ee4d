#include "desktop/WholeFile.h"

#include "desktop/Fault.h"

#include <QDir>
#include <QSaveFile>

namespace desktop {

void writeWholeFile(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw Fault(QStringLiteral("Cannot write ") + QDir::toNativeSeparators(path));
}

} // namespace desktop
