#include "support/ConfigTestSupport.h"
#include "support/DataRows.h"

#include <QDir>
#include <optional>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

// Runs `body` with the files this process writes limited to `bytes`: a write
// past that fails (EFBIG) instead of raising SIGXFSZ. Like a full disk, without root.
template <typename Body> void withFileSizeLimit(rlim_t bytes, Body body)
{
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit tight = old;
    tight.rlim_cur = bytes;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &tight);
    body();
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
}

// Runs `body` as the unprivileged "nobody" when the test runs as root, whom
// folder permissions do not stop.
template <typename Body> void unprivileged(Body body)
{
    const bool root = geteuid() == 0;
    if (root && seteuid(65534) != 0)
        qFatal("cannot drop privileges");
    body();
    if (root && seteuid(0) != 0)
        qFatal("cannot regain privileges");
}
#endif

class TestConfigSave : public QObject
{
    Q_OBJECT

    std::optional<ConfigFixture> m_f;

    [[nodiscard]] QString pathOf(const QString &name) const { return m_f->dir.filePath(name); }
    [[nodiscard]] qsizetype fileCount() const { return QDir(m_f->dir.path()).entryList(QDir::Files).size(); }

private slots:
    // The timeout's separator is "." whatever the operator's locale.
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    void init() { m_f.emplace(); }

    // A file the program wrote comes back byte for byte (all sixteen routers
    // and the whole matrix included); one edited by hand comes back normalised.
    // Names edited on Windows are in its code page, maybe beside UTF-8 lines:
    // each line is read in its own encoding, no letter is lost, and all are
    // written as UTF-8; control characters in them are dropped, a tab, quotes,
    // backslashes and markup kept.
    void roundTrip_data()
    {
        columns<QString, QString>({"source", "expected"});
        // clang-format off
        QTest::newRow("written by the program") << "config/golden.rcf" << "config/golden.rcf";
        QTest::newRow("edited by hand") << "config/hand-edited.rcf" << "config/hand-edited.expected.rcf";
        QTest::newRow("every number at its largest") << "fuzz-corpus/boundaries.rcf" << "fuzz-corpus/boundaries.rcf";
        QTest::newRow("names in a code page, in UTF-8, with controls") << "config/foreign-names.rcf" << "config/foreign-names.expected.rcf";
        // clang-format on
    }

    void roundTrip()
    {
        const auto [source, expected] = fetch<QString, QString>({"source", "expected"});
        const QString data = QStringLiteral(VELMORA_TEST_DATA "/");
        m_f->load(readTestFile(data + source));
        QString name = pathOf(QStringLiteral("saved.rcf"));
        ConfigSave(m_f->config, m_f->macros, name);
        QVERIFY(m_f->boxes.shown.isEmpty());
        QCOMPARE(readTestFile(name), readTestFile(data + expected));
    }

    // ".rcf" is appended unless the name ends in it in any letter case. An
    // empty name asks with the save dialog, which proposes the last file; a
    // cancelled one writes nothing.
    void savedName_data()
    {
        columns<QString, QString, QString>({"given", "answer", "written"});
        // clang-format off
        QTest::newRow("capitals kept") << "SETUP.RCF" << "" << "SETUP.RCF";
        QTest::newRow("another extension") << "setup.txt" << "" << "setup.txt.rcf";
        QTest::newRow("dialog, chosen") << "" << "chosen" << "chosen.rcf";
        QTest::newRow("dialog, cancelled") << "" << "" << "";
        // clang-format on
    }

    void savedName()
    {
        const auto [given, answer, written] = fetch<QString, QString, QString>({"given", "answer", "written"});
        if (!answer.isEmpty())
            m_f->shell.saveAnswers.enqueue(pathOf(answer));
        QString name = given.isEmpty() ? QString() : pathOf(given);
        ConfigSave(m_f->config, m_f->macros, name);
        QCOMPARE(m_f->shell.saveProposedNames, QStringList(given.isEmpty() ? 1 : 0, QStringLiteral("before.rcf")));
        QCOMPARE(name, written.isEmpty() ? QString() : pathOf(written));
        QCOMPARE(m_f->config.ConfigFilePath, written.isEmpty() ? QStringLiteral("before.rcf") : name);
        QCOMPARE(fileCount(), written.isEmpty() ? 0 : 1);
        QVERIFY(m_f->boxes.shown.isEmpty());
    }

    // A save that fails reports it, keeps ConfigFilePath and never destroys
    // the previous file. The targets fail even for root.
    void failedSaveKeepsThePreviousFile_data()
    {
        columns<QString, bool, int>({"target", "previousExists", "sizeLimit"});
        QTest::newRow("folder is a regular file") << "plain-file/setup.rcf" << false << 0;
        QTest::newRow("target is a folder") << "folder.rcf" << false << 0;
        // The file can exist, but nothing can be written beside it under a
        // longer name.
        QTest::newRow("no room for a name beside it") << QString(251, u'a') + ".rcf" << true << 0;
#ifdef Q_OS_UNIX
        // Small enough to sit in the write buffer, the set-up fails only at
        // the flush (a full disk, a size limit).
        QTest::newRow("failing at the flush") << "setup.rcf" << true << 16;
#endif
    }

    void failedSaveKeepsThePreviousFile()
    {
        const auto [target, previousExists, sizeLimit] =
            fetch<QString, bool, int>({"target", "previousExists", "sizeLimit"});
        writeTestFile(m_f->dir, "not a folder", QStringLiteral("plain-file"));
        QDir(m_f->dir.path()).mkdir(QStringLiteral("folder.rcf"));
        if (previousExists)
            writeTestFile(m_f->dir, "previous set-up", target);

        QString name = pathOf(target);
#ifdef Q_OS_UNIX
        if (sizeLimit > 0)
            withFileSizeLimit(rlim_t(sizeLimit), [&] { ConfigSave(m_f->config, m_f->macros, name); });
        else
#endif
            ConfigSave(m_f->config, m_f->macros, name);
        QCOMPARE(m_f->boxes.lines(),
                 QStringList{"Function ConfigSave: Error: Cannot write " + QDir::toNativeSeparators(pathOf(target))});
        QCOMPARE(m_f->config.ConfigFilePath, QStringLiteral("before.rcf"));
        if (previousExists)
            QCOMPARE(readTestFile(name), QByteArray("previous set-up"));
        // Nothing half-written is left beside it.
        QCOMPARE(fileCount(), previousExists ? 2 : 1);
    }

#ifdef Q_OS_UNIX
    // A writable file in a folder where no new file can be made is written
    // in place.
    void writableFileInALockedFolderIsSaved()
    {
        // Others (and the group, which "nobody" keeps from root) may pass,
        // read and write the file, but not make one beside it.
        const auto pass = QFileDevice::ExeOwner | QFileDevice::ExeGroup | QFileDevice::ExeOther;
        const auto readWrite = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                               QFileDevice::WriteGroup | QFileDevice::ReadOther | QFileDevice::WriteOther;
        QVERIFY(QFile::setPermissions(m_f->dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | pass));
        const QString folder = m_f->dir.filePath(QStringLiteral("locked"));
        QVERIFY(QDir().mkdir(folder));
        QString name = writeTestFile(m_f->dir, {}, QStringLiteral("locked/setup.rcf"));
        QVERIFY(QFile::setPermissions(name, readWrite));
        QVERIFY(QFile::setPermissions(folder, QFileDevice::ReadOwner | pass));
        unprivileged([&] { ConfigSave(m_f->config, m_f->macros, name); });
        QVERIFY(m_f->boxes.shown.isEmpty());
        QCOMPARE(m_f->config.ConfigFilePath, name);
        QCOMPARE(readTestFile(name), configText(m_f->config, m_f->macros));
        QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{"setup.rcf"});
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
#endif

    // A slot renamed without routes is not written, so its name is lost on
    // the next save and load (a slot saved with an empty list keeps its name:
    // "Off Air" in the hand-edited round trip).
    void renamedEmptySlotLosesItsName()
    {
        m_f->macros.MacroNames[4] = QStringLiteral("Only a name");
        QVERIFY(!configText(m_f->config, m_f->macros).contains("Only a name"));
    }
};

QTEST_GUILESS_MAIN(TestConfigSave)
#include "tst_configsave.moc"
