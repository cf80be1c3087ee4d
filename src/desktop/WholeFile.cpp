#include "desktop/WholeFile.h"

#include "desktop/Fault.h"

#include <QDir>
#include <QSaveFile>

namespace desktop {

void writeWholeFile(const QString &path, const QByteArray &bytes)
{
    const auto fail = [&] { throw Fault(QStringLiteral("Cannot write ") + QDir::toNativeSeparators(path)); };
    QSaveFile file(path);
    // A writable file in a folder that allows no new file beside it is
    // written in place, so it can still be saved.
    file.setDirectWriteFallback(true);
    // Unbuffered, every byte has reached the file (or failed) when write()
    // returns. Buffered, a small set-up would only be written by commit(),
    // which puts the file in place even when that write fails (a full disk,
    // a size limit), and the in-place file has no flush() of its own.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        fail();
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        fail();
    }
    if (!file.commit())
        fail();
}

} // namespace desktop
