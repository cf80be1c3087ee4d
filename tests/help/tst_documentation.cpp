#include "support/DataRows.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QProcess>
#include <QRegularExpression>

// The help page and the manual pages as the build made them: every picture
// the page shows is there, and every option a program lists is in its page.
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

    void manualPages_data()
    {
        columns<QString, QString>({"program", "path"});
        QTest::newRow("velmora") << "velmora" << VELMORA_PANEL;
        QTest::newRow("velmora-ctl") << "velmora-ctl" << VELMORA_CTL;
        QTest::newRow("velmora-routersim") << "velmora-routersim" << VELMORA_ROUTERSIM;
    }

    // The page is of this version and names every option --help lists.
    void manualPages()
    {
        const auto [program, path] = fetch<QString, QString>({"program", "path"});
        QProcess help;
        help.start(path, {QStringLiteral("--help")});
        QVERIFY(help.waitForFinished());
        const QString options = QString::fromUtf8(help.readAllStandardOutput());

        const QString page = read(QStringLiteral(VELMORA_MAN_DIR "/") + program + QStringLiteral(".1"))
                                 .replace(QStringLiteral("\\-"), QStringLiteral("-"));
        const QString title = page.split(u'\n').filter(QStringLiteral(".TH ")).value(0);
        QVERIFY2(title.contains(QStringLiteral("\"%1 %2\"").arg(program, VELMORA_VERSION)), qPrintable(title));
        const QRegularExpression option(QStringLiteral("(?<![\\w-])--?[a-z][a-z-]*"));
        int count = 0;
        for (const auto &listed : option.globalMatch(options)) {
            QVERIFY2(page.contains(listed.captured()), qPrintable(listed.captured()));
            ++count;
        }
        QCOMPARE_GE(count, 3);
    }
};

QTEST_GUILESS_MAIN(TestDocumentation)
#include "tst_documentation.moc"
