#include "desktop/AppFolder.h"
#include "desktop/DisplayFile.h"
#include "desktop/Fault.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace desktop;

namespace {

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

} // namespace

class TestAppFolder : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_homeDir;
    QDir m_home;

private slots:
    void init()
    {
        m_homeDir = std::make_unique<QTemporaryDir>();
        m_home.setPath(m_homeDir->path());
        qputenv("HOME", m_home.path().toUtf8());
        qputenv("XDG_DATA_HOME", (m_home.path() + QStringLiteral("/data")).toUtf8());
        m_home.mkpath(QStringLiteral("data"));
    }

    void appDataFolder_data()
    {
        QTest::addColumn<QString>("xdgDataHome");
        QTest::addColumn<QString>("expected");
        QTest::newRow("XDG_DATA_HOME") << "/srv/people/ann/data"
                                       << "/srv/people/ann/data";
        QTest::newRow("trailing separator dropped") << "/srv/people/ann/data/"
                                                    << "/srv/people/ann/data";
        QTest::newRow("unset: ~/.local/share") << ""
                                               << "HOME/.local/share";
        QTest::newRow("relative is ignored") << "data"
                                             << "HOME/.local/share";
    }

    void appDataFolder()
    {
        QFETCH(QString, xdgDataHome);
        QFETCH(QString, expected);
        qputenv("XDG_DATA_HOME", xdgDataHome.toUtf8());
        QCOMPARE(GetAppDataFolder(), expected.replace(QStringLiteral("HOME"), m_home.path()));
    }

    void appFolderIsCreatedOnceWithOneSeparator()
    {
        const QString expected = m_home.path() + QStringLiteral("/data/Velmora/1.1/");
        QCOMPARE(AppFolder(), expected);
        QVERIFY(QFileInfo(expected).isDir());
        writeFile(expected + QStringLiteral("keep.txt"), "kept");
        QCOMPARE(AppFolder(), expected);
        QCOMPARE(contents(expected + QStringLiteral("keep.txt")), QByteArray("kept"));
        QCOMPARE(EnsureAppFolder(QStringLiteral("Maker"), QStringLiteral("Product"), QString()),
                 m_home.path() + QStringLiteral("/data/Maker/Product/"));
    }

    // A new account without its data folder gets one, private to the user,
    // rather than the program's folder, where saves would fail.
    void missingDataFolderIsCreated()
    {
        const QString missing = m_home.path() + QStringLiteral("/new/share");
        qputenv("XDG_DATA_HOME", missing.toUtf8());
        QCOMPARE(AppFolder(), missing + QStringLiteral("/Velmora/1.1/"));
        const auto othersMayAccess = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup
                                     | QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
        QVERIFY(!(QFileInfo(missing).permissions() & othersMayAccess));
    }

    // Only when the data folder cannot be made is the program's own folder used.
    void uncreatableDataFolderFallsBackToTheProgramFolder()
    {
        writeFile(m_home.path() + QStringLiteral("/blocked"), "a file, not a folder");
        qputenv("XDG_DATA_HOME", (m_home.path() + QStringLiteral("/blocked/share")).toUtf8());
        QCOMPARE(AppFolder(), QCoreApplication::applicationDirPath() + u'/');
    }

    void folderThatCannotBeCreatedFails()
    {
        writeFile(m_home.path() + QStringLiteral("/data/Velmora"), "a file, not a folder");
        QVERIFY_THROWS_EXCEPTION(Fault, (void)AppFolder());
    }

    void fileExists_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("exists");
        QTest::newRow("folder") << "data" << true;
        QTest::newRow("file") << "file.txt" << true;
        QTest::newRow("read-only file") << "read-only.txt" << true;
        QTest::newRow("missing") << "missing.txt" << false;
        QTest::newRow("empty path") << "" << false;
    }

    void fileExists()
    {
        QFETCH(QString, path);
        writeFile(m_home.filePath(QStringLiteral("file.txt")), "x");
        const QString readOnly = m_home.filePath(QStringLiteral("read-only.txt"));
        writeFile(readOnly, "x");
        QFile::setPermissions(readOnly, QFileDevice::ReadOwner);
        QTEST(FileExists(path.isEmpty() ? path : m_home.filePath(path)), "exists");
    }

    // The display file lives in the user's own folder and is replaced, never
    // written through a link someone planted in its place.
    void displayFileIsReplacedNotFollowed()
    {
        const QString folder = AppFolder();
        const QString victim = m_home.filePath(QStringLiteral("victim.txt"));
        writeFile(victim, "precious");
        QVERIFY(QFile::link(victim, folder + QStringLiteral("display.txt")));

        const QString path = WriteDisplayFile(QStringLiteral("Invalid Router--Line 3\r\n"));
        QCOMPARE(path, folder + QStringLiteral("display.txt"));
        QCOMPARE(contents(path), QByteArray("Invalid Router--Line 3\r\n\r\n"));
        QVERIFY(!QFileInfo(path).isSymLink());
        QCOMPARE(contents(victim), QByteArray("precious"));

        (void)WriteDisplayFile(QStringLiteral("second"));
        QCOMPARE(contents(path), QByteArray("second\r\n"));
    }
};

QTEST_GUILESS_MAIN(TestAppFolder)
#include "tst_appfolder.moc"
