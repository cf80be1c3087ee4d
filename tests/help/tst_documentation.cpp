#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QRegularExpression>
#include <QTest>

// The help page as the build made it: every picture it shows is there.
class TestDocumentation : public QObject
{
    Q_OBJECT

    static QString read(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

private slots:
    // Each <img> names a PNG beside the page of the size it gives, says in
    // words what it shows, and no picture is drawn that the page leaves out.
    void pagePictures()
    {
        const QString bin = QStringLiteral(VELMORA_BIN_DIR "/");
        const QString page = read(bin + QStringLiteral("Velmora.html"));
        const QRegularExpression attribute(QStringLiteral("([a-z]+)=\"([^\"]*)\""));
        QStringList shown;
        for (const auto &img : QRegularExpression(QStringLiteral("<img\\s([^>]*)>")).globalMatch(page)) {
            QMap<QString, QString> value;
            for (const auto &pair : attribute.globalMatch(img.captured(1)))
                value[pair.captured(1)] = pair.captured(2);
            const QString src = value[QStringLiteral("src")];
            shown << src;
            QVERIFY2(!value[QStringLiteral("alt")].trimmed().isEmpty(), qPrintable(src));
            QImageReader reader(bin + src);
            QCOMPARE(reader.format(), QByteArray("png"));
            QCOMPARE(reader.size(),
                     QSize(value[QStringLiteral("width")].toInt(), value[QStringLiteral("height")].toInt()));
            QVERIFY2(!reader.read().isNull(), qPrintable(src));
        }
        QStringList drawn = QDir(bin + QStringLiteral("pictures")).entryList({QStringLiteral("*.png")});
        drawn.replaceInStrings(QRegularExpression(QStringLiteral("^")), QStringLiteral("pictures/"));
        shown.sort();
        QCOMPARE(shown, drawn);
    }
};

QTEST_GUILESS_MAIN(TestDocumentation)
#include "tst_documentation.moc"
