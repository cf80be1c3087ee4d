#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QTest>

// Every #include "layer/..." of a folder of src/ names a layer that
// src/layers.txt lets that folder include, and README.md shows the table.
class TestLayers : public QObject
{
    Q_OBJECT

    const QDir root{QStringLiteral(VELMORA_SOURCE_DIR)};
    QStringList rows;
    QMap<QString, QStringList> mayInclude;

    [[nodiscard]] QString read(const QString &path) const
    {
        QFile file(root.filePath(path));
        return file.open(QIODevice::ReadOnly | QIODevice::Text) ? QString::fromUtf8(file.readAll()) : QString();
    }

private slots:
    void initTestCase()
    {
        for (const QString &line : read(QStringLiteral("src/layers.txt")).split(u'\n', Qt::SkipEmptyParts)) {
            if (line.startsWith(u'#'))
                continue;
            rows.append(line);
            const QString layer = line.section(u':', 0, 0);
            mayInclude[layer] = line.section(u':', 1).split(u' ', Qt::SkipEmptyParts) << layer;
        }
        QVERIFY(mayInclude.contains(QStringLiteral("base")));
    }

    // A layer's folder may not exist yet; a folder must have its line.
    void includesReachOnlyLowerLayers()
    {
        const QRegularExpression include(QStringLiteral("^\\s*#\\s*include\\s*\"(\\w+)/"));
        QStringList offending;
        const QString src = root.filePath(QStringLiteral("src"));
        for (const QString &layer : QDir(src).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            if (!mayInclude.contains(layer))
                offending.append(QStringLiteral("src/%1: no line in src/layers.txt").arg(layer));
            QDirIterator files(src + u'/' + layer, QDir::Files, QDirIterator::Subdirectories);
            while (files.hasNext()) {
                const QString path = root.relativeFilePath(files.next());
                const QStringList lines = read(path).split(u'\n');
                for (qsizetype i = 0; i < lines.size(); ++i) {
                    const auto match = include.match(lines[i]);
                    if (match.hasMatch() && !mayInclude.value(layer).contains(match.captured(1)))
                        offending.append(QStringLiteral("%1:%2: %3").arg(path).arg(i + 1).arg(lines[i]));
                }
            }
        }
        QVERIFY2(offending.isEmpty(), qPrintable(offending.join(u'\n')));
    }

    void readmeShowsTheTable()
    {
        const QString block = QStringLiteral("    ") + rows.join(QStringLiteral("\n    ")) + u'\n';
        QVERIFY2(read(QStringLiteral("README.md")).contains(block), qPrintable(block));
    }
};

QTEST_GUILESS_MAIN(TestLayers)
#include "tst_layers.moc"
