#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

// What the build cannot see of the fences it keeps between the folders of
// src/ (cmake/Layers.cmake): an include found beside the including file
// never reaches the headers the build hands out. And README.md shows the
// layers as src/layers.txt lists them.
class TestLayers : public QObject
{
    Q_OBJECT

    const QDir root{QStringLiteral(VELMORA_SOURCE_DIR)};

    [[nodiscard]] QString read(const QString &path) const
    {
        QFile file(root.filePath(path));
        return file.open(QIODevice::ReadOnly | QIODevice::Text) ? QString::fromUtf8(file.readAll()) : QString();
    }

private slots:
    // Every #include "..." of src/ names its header from src/ as a library
    // hands it out ("panel/MainPanel.h", "remote/swp08/Wire.h"): a name the
    // compiler finds in the including file's own folder ("Wire.h",
    // "videohub/Request.h", "../panel/MainPanel.h") steps around the fences.
    void includesGoThroughTheFences()
    {
        const QRegularExpression include(QStringLiteral("^\\s*#\\s*include\\s*\"([^\"]+)\""));
        QStringList offending;
        QDirIterator files(root.filePath(QStringLiteral("src")), QDir::Files, QDirIterator::Subdirectories);
        while (files.hasNext()) {
            const QFileInfo file(files.next());
            const QString path = root.relativeFilePath(file.filePath());
            const QStringList lines = read(path).split(u'\n');
            for (qsizetype i = 0; i < lines.size(); ++i) {
                const auto match = include.match(lines[i]);
                if (match.hasMatch() && QFileInfo::exists(file.dir().filePath(match.captured(1))))
                    offending.append(QStringLiteral("%1:%2: %3").arg(path).arg(i + 1).arg(lines[i]));
            }
        }
        QVERIFY2(offending.isEmpty(), qPrintable(offending.join(u'\n')));
    }

    void readmeShowsTheLayers()
    {
        QStringList rows = read(QStringLiteral("src/layers.txt")).split(u'\n', Qt::SkipEmptyParts);
        rows.removeIf([](const QString &line) { return line.startsWith(u'#'); });
        QVERIFY(!rows.isEmpty());
        const QString block = QStringLiteral("    ") + rows.join(QStringLiteral("\n    ")) + u'\n';
        QVERIFY2(read(QStringLiteral("README.md")).contains(block), qPrintable(block));
    }
};

QTEST_GUILESS_MAIN(TestLayers)
#include "tst_layers.moc"
