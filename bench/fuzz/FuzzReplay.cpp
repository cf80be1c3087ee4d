// Runs the fuzz target once on every file of the folders and files given,
// so the test build replays the seed corpus without a fuzzing engine.

#include "desktop/ConsoleLine.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size);

namespace {

bool replay(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        desktop::writeConsoleLine(QStringLiteral("cannot read ") + path);
        return false;
    }
    const QByteArray bytes = file.readAll();
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t *>(bytes.constData()), std::size_t(bytes.size()));
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    int replayed = 0;
    int unreadable = 0;
    for (int i = 1; i < argc; ++i) {
        const QString root = QString::fromLocal8Bit(argv[i]);
        if (QFileInfo(root).isFile()) {
            replay(root) ? ++replayed : ++unreadable;
            continue;
        }
        QDirIterator files(root, QDir::Files, QDirIterator::Subdirectories);
        while (files.hasNext())
            replay(files.next()) ? ++replayed : ++unreadable;
    }
    desktop::writeConsoleOutput(QStringLiteral("replayed %1 inputs, %2 unreadable\n").arg(replayed).arg(unreadable));
    return replayed > 0 && unreadable == 0 ? 0 : 1;
}
