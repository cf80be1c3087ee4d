#include "desktop/DisplayFile.h"

#include "desktop/AppFolder.h"
#include "desktop/WholeFile.h"

#include <QFile>

namespace desktop {

QString writeDisplayFile(const QString &text)
{
    const QString path = AppFolder() + QStringLiteral("display.txt");
    // A link in its place is removed, never written through.
    QFile::remove(path);
    writeWholeFile(path, (text + QStringLiteral("\r\n")).toUtf8());
    return path;
}

} // namespace desktop
