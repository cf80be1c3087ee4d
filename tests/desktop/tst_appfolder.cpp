#include "desktop/AppFolder.h"
#include "desktop/DataFolderClaim.h"
#include "desktop/DisplayFile.h"
#include "desktop/Fault.h"
#include "desktop/RuntimeFolder.h"
#include "desktop/WholeFile.h"
#include "support/DataRows.h"
#include "support/RuntimeSetting.h"
#include "support/ScriptedDialogs.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <optional>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

using namespace desktop;

namespace {

const auto OwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

// Each test gets a home of its own, with XDG_DATA_HOME at its "data" folder.
class TestAppFolder : public QObject
{
    Q_OBJECT

    std::optional<QTemporaryDir> m_home;

    [[nodiscard]] QString at(const QString &name) const { return m_home->filePath(name); }
    void setDataHome(const QString &name) { qputenv("XDG_DATA_HOME", at(name).toUtf8()); }

private slots:
    void init()
    {
        m_home.emplace();
        qputenv("HOME", m_home->path().toUtf8());
        QDir(m_home->path()).mkdir(QStringLiteral("data"));
        setDataHome(QStringLiteral("data"));
    }

    void appDataFolder_data()
    {
        columns<QString, QString>({"xdgDataHome", "expected"});
        // clang-format off
        QTest::newRow("XDG_DATA_HOME, trailing separator dropped") << "/srv/people/ann/data/" << "/srv/people/ann/data";
        QTest::newRow("unset: ~/.local/share") << "" << "HOME/.local/share";
        QTest::newRow("relative is ignored") << "data" << "HOME/.local/share";
        // clang-format on
    }

    void appDataFolder()
    {
        const auto [xdgDataHome, expected] = fetch<QString, QString>({"xdgDataHome", "expected"});
        qputenv("XDG_DATA_HOME", xdgDataHome.toUtf8());
        QCOMPARE(GetAppDataFolder(), QString(expected).replace(QStringLiteral("HOME"), m_home->path()));
    }

#ifdef Q_OS_UNIX
    // The control socket's folder: only one nobody else may enter, and only
    // an absolute one. Without such a runtime folder, the program's own in
    // the temporary folder, made private; one planted there beforehand is
    // used only when it is a real folder as private.
    void runtimeFolder_data()
    {
        columns<QString, int, QString, QString>({"xdgRuntimeDir", "permissions", "own", "used"});
        // clang-format off
        QTest::newRow("private") << "HOME/run" << int(OwnerOnly) << "missing" << "HOME/run";
        QTest::newRow("others may enter: own made") << "HOME/run" << int(OwnerOnly | QFileDevice::ExeOther) << "missing" << "OWN";
        QTest::newRow("group may read: own made") << "HOME/run" << int(OwnerOnly | QFileDevice::ReadGroup) << "missing" << "OWN";
        QTest::newRow("relative: own made") << "run" << int(OwnerOnly) << "missing" << "OWN";
        QTest::newRow("own there, private") << "run" << int(OwnerOnly) << "private" << "OWN";
        QTest::newRow("own there, others may enter") << "run" << int(OwnerOnly) << "open" << "";
        QTest::newRow("own a link to a private folder") << "run" << int(OwnerOnly) << "link" << "";
        QTest::newRow("own a file") << "run" << int(OwnerOnly) << "file" << "";
        // clang-format on
    }

    void runtimeFolder()
    {
        const auto [xdgRuntimeDir, permissions, own, used] =
            fetch<QString, int, QString, QString>({"xdgRuntimeDir", "permissions", "own", "used"});
        const QString run = at(QStringLiteral("run"));
        QVERIFY(QDir().mkdir(run));
        QVERIFY(QFile::setPermissions(run, QFileDevice::Permissions(permissions)));
        const QString start = QDir::currentPath();
        const auto restore = qScopeGuard([&] { QDir::setCurrent(start); });
        QVERIFY(QDir::setCurrent(m_home->path()));
        const RuntimeSetting setting(QString(xdgRuntimeDir).replace(QStringLiteral("HOME"), m_home->path()).toUtf8());
        const QString ownFolder = ownRuntimeFolder();
        QCOMPARE(ownFolder, setting.temporaryFolder() + QStringLiteral("/velmora-%1").arg(geteuid()));
        if (own == u"private" || own == u"open")
            QVERIFY(QDir().mkdir(ownFolder,
                                 OwnerOnly | (own == u"open" ? QFileDevice::ExeOther : QFileDevice::Permissions())));
        if (own == u"link")
            QVERIFY(QFile::link(run, ownFolder));
        if (own == u"file")
            writeWholeFile(ownFolder, "a file, not a folder");

        QCOMPARE(
            desktop::runtimeFolder(),
            QString(used).replace(QStringLiteral("HOME"), m_home->path()).replace(QStringLiteral("OWN"), ownFolder));
    }
#endif

    // A new account without its data folder gets one, private to the user,
    // rather than the program's folder, where saves would fail, made once
    // (a second call keeps what is in it). Only when it cannot be made is the
    // program's folder used.
    void missingDataFolder()
    {
        setDataHome(QStringLiteral("new/share"));
        const QString made = at(QStringLiteral("new/share/Velmora/1.1/"));
        QCOMPARE(AppFolder(), made);
        writeWholeFile(made + QStringLiteral("keep.txt"), "kept");
        QCOMPARE(AppFolder(), made);
        QCOMPARE(contents(made + QStringLiteral("keep.txt")), QByteArray("kept"));
        const auto othersMayAccess = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup |
                                     QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
        QVERIFY(!(QFileInfo(at(QStringLiteral("new/share"))).permissions() & othersMayAccess));

        writeWholeFile(at(QStringLiteral("blocked")), "a file, not a folder");
        setDataHome(QStringLiteral("blocked/share"));
        QCOMPARE(AppFolder(), QCoreApplication::applicationDirPath() + u'/');
        // The data folder there, but the program's own folder in it blocked: a fault.
        writeWholeFile(at(QStringLiteral("data/Velmora")), "a file, not a folder");
        setDataHome(QStringLiteral("data"));
        QVERIFY_THROWS_EXCEPTION(Fault, (void)AppFolder());
    }

    // Without a data folder (here: a relative HOME), the program's folder is
    // used only when nobody else can write to it (others may read it): a link
    // planted there as "default.rcf" or "ports/COM1" would send the exit save
    // or the routes elsewhere. Refused, the operator is told once and every
    // use fails.
    void sharedProgramFolderIsRefused()
    {
        qputenv("HOME", "relative/home");
        qunsetenv("XDG_DATA_HOME");
        QCOMPARE(GetAppDataFolder(), QString());
        const QString programFolder = QCoreApplication::applicationDirPath();
        const auto permissions = QFile::permissions(programFolder);
        const auto restore = qScopeGuard([&] { QFile::setPermissions(programFolder, permissions); });
        const auto ownerAndRead = OwnerOnly | QFileDevice::ReadOther | QFileDevice::ExeOther;
        ScriptedDialogs boxes;
        for (const auto othersWrite : {QFileDevice::WriteOther, QFileDevice::WriteGroup}) {
            QVERIFY(QFile::setPermissions(programFolder, ownerAndRead | othersWrite));
            QVERIFY_THROWS_EXCEPTION(Fault, (void)AppFolder());
        }
        QCOMPARE(boxes.shown.size(), 1);
        QVERIFY(boxes.shown[0].text.contains(QDir::toNativeSeparators(programFolder)));
        QVERIFY(QFile::setPermissions(programFolder, ownerAndRead));
        QCOMPARE(AppFolder(), programFolder + u'/');
    }

    // One panel per data folder: a second claim is refused with a box (its
    // text checked where a second panel starts, in the service suite) while
    // the first holds it, and succeeds once it is released or its holder is
    // gone (a lock file left by a process that no longer runs). A live
    // holder's lock never goes stale by age, also where the system's own
    // file lock does not reach (a network share): here the lock file a live
    // panel wrote, put back days old.
    void dataFolderClaim()
    {
        ScriptedDialogs boxes;
        const QString lock = AppFolder() + QStringLiteral("velmora.lock");
        QByteArray live;
        {
            const DataFolderClaim first;
            QVERIFY(!first.refused());
            QVERIFY(DataFolderClaim().refused());
            live = contents(lock);
        }
        writeWholeFile(lock, live);
        QFile old(lock);
        QVERIFY(old.open(QIODevice::ReadWrite));
        QVERIFY(old.setFileTime(QDateTime::currentDateTime().addDays(-3), QFileDevice::FileModificationTime));
        QVERIFY(DataFolderClaim().refused());
        writeWholeFile(lock, "2147483646\nvelmora\n\n");
        QVERIFY(!DataFolderClaim().refused());
        QCOMPARE(boxes.shown.size(), 2);
    }

    // The display file lives in the user's own folder and is replaced, never
    // written through a link someone planted in its place.
    void displayFileIsReplacedNotFollowed()
    {
        const QString path = AppFolder() + QStringLiteral("display.txt");
        const QString victim = at(QStringLiteral("victim.txt"));
        writeWholeFile(victim, "precious");
        QVERIFY(QFile::link(victim, path));

        QCOMPARE(writeDisplayFile(QStringLiteral("Invalid Router--Line 3\r\n")), path);
        QCOMPARE(contents(path), QByteArray("Invalid Router--Line 3\r\n\r\n"));
        QVERIFY(!QFileInfo(path).isSymLink());
        QCOMPARE(contents(victim), QByteArray("precious"));

        (void)writeDisplayFile(QStringLiteral("second"));
        QCOMPARE(contents(path), QByteArray("second\r\n"));
    }
};

QTEST_GUILESS_MAIN(TestAppFolder)
#include "tst_appfolder.moc"
