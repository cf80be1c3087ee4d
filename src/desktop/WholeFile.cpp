#include "desktop/WholeFile.h"

#include "desktop/Fault.h"

#include <QDir>
#include <QSaveFile>

namespace desktop {

void writeWholeFile(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    // A writable file in a folder that allows no new file beside it is
    // written in place, so it can still be saved.
    file.setDirectWriteFallback(true);
    const auto fail = [&] {
        throw Fault(QStringLiteral("Cannot write ") + QDir::toNativeSeparators(path) + QStringLiteral(": ")
                    + file.errorString());
    };
    if (!file.open(QIODevice::WriteOnly))
        fail();
    // A small file sits in the write buffer until the flush, and commit()
    // would put the temporary file in place even when that flush failed
    // (a full disk, a size limit): only a checked flush proves it written.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        file.cancelWriting();
        fail();
    }
    if (!file.commit())
        fail();
}

} // namespace desktop
