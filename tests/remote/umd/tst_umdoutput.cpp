#include "remote/umd/UmdOptions.h"
#include "remote/umd/UmdOutput.h"
#include "support/DataRows.h"
#include "support/FakeRemotePanel.h"
#include "support/UmdPeer.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <memory>

// The UMD output in process, against a panel in memory (4 inputs "In N", 6
// outputs "Out N"; input 1 "Caméra", output 6 fed by input 2, output 2
// locked) and display receivers on loopback: how targets are read, what each
// display shows, which messages go when, and what the operator is told.

namespace {

// A target in a few words ("host port mode level first count address screen
// tally refresh utf16 baud"), or "error WHY".
QString summary(const QString &url)
{
    QString why;
    const UmdTarget t = UmdTarget::read(url, why);
    QStringList words{t.device.isEmpty() ? t.host + u' ' + QString::number(t.port) : t.device};
    for (const int n : {int(t.mode), t.level, t.first, t.count, t.address, int(t.screen), int(t.tally),
                        t.refreshSeconds, int(t.utf16), t.baud})
        words.append(QString::number(n));
    return why.isEmpty() ? words.join(u' ') : QStringLiteral("error ") + why;
}

UmdOptions targets(const QStringList &urls)
{
    UmdOptions options;
    QString why;
    for (const QString &url : urls)
        options.targets.append({int(options.targets.size()) + 1, UmdTarget::read(url, why)});
    return options;
}

const RouteSource Client{QStringLiteral("videohub 127.0.0.1:5000"), QStringLiteral("127.0.0.1")};

// A target under test (URL with P for its receiver's port) beside a sentinel
// target showing output 6's name: the sentinel's message of a change goes
// after every message of that change to the other, so a change that sends
// nothing is seen as nothing.
struct Rig
{
    FakeRemotePanel panel{4, 6};
    UmdPeer peer;
    UmdPeer sentinel{UmdPeer::Kind::Tsl31};
    std::unique_ptr<UmdOutput> output;
    int steps = 0;

    explicit Rig(const QString &url) : peer(url.startsWith("tsl5") ? UmdPeer::Kind::Tsl5 : UmdPeer::Kind::Tsl31)
    {
        panel.renamePort(true, 0, QString::fromUtf8("Caméra"), Client);
        panel.takeRoute(5, 1, 1, Client);
        panel.state.lockOwners[1] = Client.lockOwner;
        const QString sentinelUrl = "tsl31://127.0.0.1:%1?mode=outputs&first=6&count=1&refresh=0";
        output = std::make_unique<UmdOutput>(panel, targets({QString(url).replace("P", QString::number(peer.port())),
                                                             sentinelUrl.arg(sentinel.port())}));
        output->start();
    }

    // What the target received until the sentinel's next message.
    QStringList sent() { return sentinel.take(1).isEmpty() ? QStringList{"no sentinel"} : peer.take(); }

    // What the target received for the changes `change` makes in one turn.
    QStringList after(const std::function<void()> &change)
    {
        change();
        panel.renamePort(false, 5, QStringLiteral("Step %1").arg(++steps), Client);
        return sent();
    }
};

} // namespace

class TestUmdOutput : public QObject
{
    Q_OBJECT

private slots:
    void readTarget_data()
    {
        columns<QString, QString>({"url", "target"});
        // clang-format off
        QTest::newRow("udp defaults") << "tsl31://192.0.2.10:4001" << "192.0.2.10 4001 0 1 1 127 0 0 1 5 0 38400";
        QTest::newRow("ipv6 in brackets") << "tsl5tcp://[::1]:8901" << "::1 8901 0 1 1 127 0 0 1 5 0 38400";
        QTest::newRow("serial device") << "tsl31serial:///dev/ttyUSB1?baud=9600" << "/dev/ttyUSB1 0 1 1 127 0 0 1 5 0 9600";
        QTest::newRow("every key") << "tsl5://h:1?mode=inputs&level=audio&first=3&count=5&address=10&screen=2&tally=none&refresh=0&utf16=1" << "h 1 2 2 3 5 10 2 0 0 1 38400";
        QTest::newRow("count to port 127") << "tsl31://h:1?first=100" << "h 1 0 1 100 28 0 0 1 5 0 38400";
        QTest::newRow("upper edges") << "tsl31://h:1?first=127&count=1&address=65535&refresh=3600" << "h 1 0 1 127 1 65535 0 1 3600 0 38400";
        QTest::newRow("unknown protocol") << "tsl4://h:1" << "error no protocol tsl31, tsl5, tsl5tcp or tsl31serial";
        QTest::newRow("no port") << "tsl31://h" << "error no port";
        QTest::newRow("mode") << "tsl31://h:1?mode=sources" << "error mode=sources is not follow|outputs|inputs";
        QTest::newRow("first 0") << "tsl31://h:1?first=0" << "error first=0 is not 1-127";
        QTest::newRow("past port 127") << "tsl31://h:1?first=100&count=30" << "error first=100 and count=30 reach past port 127";
        QTest::newRow("baud on udp") << "tsl5://h:1?baud=9600" << "error no key baud for tsl5";
        // clang-format on
    }
    void readTarget()
    {
        const auto [url, target] = fetch<QString, QString>({"url", "target"});
        QCOMPARE(summary(url), target);
    }

    // The command line's targets replace the file's; a file entry that cannot
    // be read is told and the others run; more than 8 on the command line, or
    // one unreadable, end the program.
    void readOptions_data()
    {
        columns<QStringList, QStringList, QString>({"arguments", "targets", "problems"});
        // clang-format off
        QTest::newRow("file") << QStringList() << QStringList{"1 tsl31://h:1", "3 tsl5://h:3"} << "UMD output not started: cannot read target2 \"tsl31://h\" (no port)";
        QTest::newRow("command line wins") << QStringList{"--videohub", "--umd=tsl5tcp://h:9", "--umd=tsl31://h:8"} << QStringList{"1 tsl5tcp://h:9", "2 tsl31://h:8"} << QString();
        QTest::newRow("unreadable option") << QStringList{"--umd=tsl31://h:8", "--umd=tsl31://h"} << QStringList() << "--umd: cannot read the target \"tsl31://h\" (no port)";
        QTest::newRow("nine targets") << QStringList(9, "--umd=tsl31://h:8") << QStringList() << "--umd: at most 8 targets";
        // clang-format on
    }
    void readOptions()
    {
        const auto [arguments, targets, problems] =
            fetch<QStringList, QStringList, QString>({"arguments", "targets", "problems"});
        QTemporaryDir folder;
        QSettings settings(folder.filePath("velmora.conf"), QSettings::IniFormat);
        settings.setValue("umd/target1", "tsl31://h:1");
        settings.setValue("umd/target2", "tsl31://h");
        settings.setValue("umd/target3", "tsl5://h:3");
        settings.setValue("umd/target9", "tsl5://h:9");
        const UmdOptions read = UmdOptions::parse(arguments, settings);
        QStringList got;
        for (const auto &[number, target] : read.targets)
            got.append(QStringLiteral("%1 %2").arg(number).arg(target.url));
        QCOMPARE(got, targets);
        QCOMPARE((QStringList{read.optionError} + read.errors).join(u'\n').trimmed(), problems);
    }

    // The first round: every display of the range a router serves and the
    // protocol can address, in port order, with its address; a status note
    // for the ports beyond the addresses.
    void firstRound_data()
    {
        columns<QString, QStringList, QString>({"url", "messages", "note"});
        // clang-format off
        QTest::newRow("follow") << "tsl31://127.0.0.1:P?first=5" << QStringList{"0 30 ---", "1 30 In 2"} << QString();
        QTest::newRow("outputs from an address") << "tsl31://127.0.0.1:P?mode=outputs&first=2&count=2&address=10" << QStringList{"10 31 Out 2", "11 30 Out 3"} << QString();
        QTest::newRow("inputs: served only, never a tally") << "tsl31://127.0.0.1:P?mode=inputs&first=2" << QStringList{"0 30 In 2", "1 30 In 3", "2 30 In 4"} << QString();
        QTest::newRow("tally none") << "tsl31://127.0.0.1:P?mode=outputs&count=2&tally=none" << QStringList{"0 30 Out 1", "1 30 Out 2"} << QString();
        QTest::newRow("3.1 addresses end at 126") << "tsl31://127.0.0.1:P?mode=outputs&address=124" << QStringList{"124 30 Out 1", "125 31 Out 2", "126 30 Out 3"} << "UMD target1: ports 4-127 have no TSL 3.1 address (0-126) and are not sent";
        QTest::newRow("5.0 indexes end at 65534") << "tsl5://127.0.0.1:P?mode=outputs&address=65533&screen=7" << QStringList{"7/65533 00c0 Out 1", "7/65534 00d0 Out 2"} << "UMD target1: ports 3-127 have no TSL 5.0 index (0-65534) and are not sent";
        QTest::newRow("5.0 follow audio, left tally red") << "tsl5://127.0.0.1:P?level=audio&first=2&count=2&screen=3" << QStringList{"3/0 00d0 ---", "3/1 00c0 ---"} << QString();
        QTest::newRow("5.0 utf16") << "tsl5://127.0.0.1:P?mode=inputs&count=1&utf16=1" << QStringList{QString::fromUtf8("0/0 00c0 Caméra")} << QString();
        // clang-format on
    }
    void firstRound()
    {
        const auto [url, messages, note] = fetch<QString, QStringList, QString>({"url", "messages", "note"});
        Rig rig(url);
        QCOMPARE(rig.sent(), messages);
        QCOMPARE(rig.panel.statusSink.messages.mid(1).join(u'\n'), note);
    }

    // Only the displays whose text or tally changed, once each with their
    // latest state, in port order; a refused route, a route on the other
    // level, a rename nobody shows send nothing; a burst on one output sends
    // its last state once; a load that leaves an output without a router no
    // longer sends it.
    void changes()
    {
        Rig rig("tsl31://127.0.0.1:P?count=5");
        FakeRemotePanel &panel = rig.panel;
        const auto route = [&](int out, int in, int level) { panel.takeRoute(out, in, level, Client); };
        const auto rename = [&](int in, const QString &name) { panel.renamePort(true, in, name, Client); };
        QCOMPARE(rig.sent(), (QStringList{"0 30 ---", "1 31 ---", "2 30 ---", "3 30 ---", "4 30 ---"}));
        // clang-format off
        const QList<std::pair<std::function<void()>, QStringList>> steps{
            {[&] { route(1, 2, 1); }, {"1 31 In 3"}},
            {[&] { route(1, 3, 2); }, {}},
            {[&] { panel.refusing = {1}; route(1, 0, 3); }, {}},
            {[&] { panel.applyLocks({{1, LockAction::ForceUnlock}}, Client); }, {"1 30 In 3"}},
            {[&] { route(3, 2, 3); }, {"3 30 In 3"}},
            {[&] { rename(2, "Cam 3"); }, {"1 30 Cam 3", "3 30 Cam 3"}},
            {[&] { rename(3, "Cam 4"); }, {}},
            {[&] { panel.applyLocks({{3, LockAction::Lock}, {0, LockAction::Lock}}, Client); route(2, 0, 1); }, {"0 31 ---", "2 30 Camera", "3 31 Cam 3"}},
            {[&] { for (int i = 0; i < 50; ++i) route(4, i % 4, 1); }, {"4 30 In 2"}},
            {[&] { panel.state.outputNames[2] = QString(); panel.state.sources[4] = {}; emit panel.setupChanged(); }, {"4 30 ---"}},
        };
        // clang-format on
        for (const auto &[change, messages] : steps)
            QCOMPARE(rig.after(change), messages);
        QCOMPARE(rig.panel.logged, (QStringList{"umd target1 sending", "umd target2 sending"}));
    }

    // Every display again every `refresh` seconds, in port order.
    void refresh()
    {
        Rig rig("tsl31://127.0.0.1:P?mode=inputs&refresh=1");
        const QStringList round{"0 30 Camera", "1 30 In 2", "2 30 In 3", "3 30 In 4"};
        QCOMPARE(rig.sent(), round);
        QCOMPARE(rig.peer.take(4), round);
        QVERIFY(rig.output->statusLines().constFirst().endsWith("?mode=inputs&refresh=1 sending sent 8"));
    }

    // A UDP receiver that went away is told once, however many changes follow.
    void udpReceiverGone()
    {
        Rig rig("tsl31://127.0.0.1:P?mode=outputs&count=1&refresh=0");
        rig.peer.stop();
        for (const char *name : {"A", "B", "C"})
            (void)rig.after([&] { rig.panel.renamePort(false, 0, name, Client); });
        QCOMPARE(rig.panel.statusSink.messages.filter("cannot send").size(), 1);
    }

    // A TCP target that cannot connect is told once, however often it tries;
    // connected, it gets every display, and again after the receiver
    // restarted; the operator and the activity log hear of each change of
    // state, never of a message.
    void tcpTarget()
    {
        FakeRemotePanel panel(4, 6);
        UmdPeer peer(UmdPeer::Kind::Tsl5Tcp);
        const quint16 port = peer.port();
        peer.stop();
        const QString where = QStringLiteral("tsl5tcp://127.0.0.1:%1").arg(port);
        UmdOutput output(panel, targets({where + "?mode=outputs&count=2&refresh=0&address=254"}));
        output.start();
        QTRY_VERIFY_WITH_TIMEOUT(output.statusLines().constFirst().endsWith(" failed Connection refused sent 0"), 5000);

        QVERIFY(peer.listen(port));
        QCOMPARE(peer.take(2), (QStringList{"0/254 00c0 Out 1", "0/255 00c0 Out 2"}));
        panel.applyLocks({{0, LockAction::Lock}}, Client);
        QCOMPARE(peer.take(1), QStringList{"0/254 00d0 Out 1"});
        peer.stop();
        QVERIFY(peer.listen(port));
        QCOMPARE(peer.take(2), (QStringList{"0/254 00d0 Out 1", "0/255 00c0 Out 2"}));
        const QString failed = "UMD target1 (" + where + ") cannot connect: %1; trying again";
        // clang-format off
        QCOMPARE(panel.statusSink.messages + panel.logged,
                 (QStringList{"UMD output to 1 target", failed.arg("Connection refused"), "UMD target1 connected", failed.arg("The remote host closed the connection"), "UMD target1 connected",
                              "umd target1 failed Connection refused", "umd target1 connected", "umd target1 failed The remote host closed the connection", "umd target1 connected"}));
        // clang-format on
    }
};

QTEST_GUILESS_MAIN(TestUmdOutput)
#include "tst_umdoutput.moc"
