#include "panel/ShowFiles.h"
#include "support/DataRows.h"
#include "support/PanelRig.h"

#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

namespace {

// One router at frame address 0: matrix inputs and outputs 1 to 8, named
// "In N" / "Out N"; the simulator acknowledges every route, at once unless
// told to wait `answerMs`.
struct ShowRig : PanelRig
{
    bool started = false;

    explicit ShowRig(bool split = true, int answerMs = 0)
    {
        useRouter(7, 7, split);
        started = startSim(
            {QStringLiteral("--no-pacing"), QStringLiteral("--answer"), QStringLiteral("0=ack@%1").arg(answerMs)});
        build().Form_Load([this] { runSetup(); });
    }

    [[nodiscard]] ShowFiles &shows() const { return panel->shows(); }

    void write(const QString &file, const QByteArray &bytes) const
    {
        QDir().mkpath(QFileInfo(file).path());
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(bytes);
    }
    void writeSnapshot(const QString &name, const QByteArray &bytes) const
    {
        write(appFolder() + QStringLiteral("snapshots/") + name + QStringLiteral(".csv"), bytes);
    }

    // Runs the recall to its end as a client's turns would; its answers, then the result.
    [[nodiscard]] QStringList recall(const QString &name, bool all = false) const
    {
        const ShowAnswer begun = shows().beginRecall(name, all);
        if (!begun.ok)
            return {begun.text};
        while (shows().recallStep()) {
        }
        return {shows().recallResult().text};
    }

    // "OUT<-IN level" of each route the snapshot's recalls logged, in order.
    [[nodiscard]] QStringList recalled() const
    {
        static const QRegularExpression route(
            QStringLiteral("\tsnapshot [^\t]*\troute output=(\\d+) .* input=(\\d+) .* level=(\\w+) result=ok"));
        QStringList result;
        for (auto match = route.globalMatch(log()); match.hasNext();) {
            const QRegularExpressionMatch next = match.next();
            result.append(next.captured(1) + QStringLiteral("<-") + next.captured(2) + u' ' + next.captured(3));
        }
        return result;
    }
};

const QByteArray Header = "output,output name,video,video name,audio,audio name\r\n";

} // namespace

class TestShowFiles : public QObject
{
    Q_OBJECT

private slots:
    // What a recall sends: one route for both levels where it can, only
    // what differs from the known state, every one with all.
    void recallSends_data()
    {
        columns<bool, QByteArray, QString>({"split", "rows", "routes"});
        QTest::newRow("split levels") << true << QByteArray(Header + "1,,2,,2,\n2,,3,,4,\n3,,,,5,\n4,,,,,\n")
                                      << "1<-2 both|2<-3 video|2<-4 audio|3<-5 audio";
        QTest::newRow("levels together") << false << QByteArray(Header + "1,,2,,2,\n2,,3,,,\n3,,,,5,\n")
                                         << "1<-2 both|2<-3 both|3<-5 both";
        QTest::newRow("output order, columns moved")
            << true << QByteArray("audio,output,video\n1,3,1\n6,1,6\n") << "1<-6 both|3<-1 both";
    }
    void recallSends()
    {
        const auto [split, rows, routes] = fetch<bool, QByteArray, QString>({"split", "rows", "routes"});
        ShowRig rig(split);
        QVERIFY(rig.started);
        rig.writeSnapshot(QStringLiteral("show"), rows);
        const QStringList result = rig.recall(QStringLiteral("show"));
        QCOMPARE(rig.recalled().join(u'|'), routes);
        QVERIFY2(result.constFirst().endsWith(QStringLiteral("outputs locked, 0 failed")),
                 qPrintable(result.join(u'\n')));

        // Known now: nothing differs, and all sends them again.
        QCOMPARE(rig.recall(QStringLiteral("show")),
                 QStringList{QStringLiteral("Recalled \"show\": 0 routes taken, 0 outputs locked, 0 failed")});
        QVERIFY(rig.shows().diffSnapshot(QStringLiteral("show")).lines.isEmpty());
        (void)rig.recall(QStringLiteral("show"), true);
        QCOMPARE(rig.recalled().join(u'|'), routes + u'|' + routes);
    }

    // A file that does not fit the matrix is refused whole, by its line, before any route.
    void refusedWhole_data()
    {
        columns<QByteArray, QString>({"rows", "error"});
        QTest::newRow("no header") << QByteArray("1,2,3\n") << "line 1: no header with an \"output\" column";
        QTest::newRow("input not in the matrix")
            << QByteArray(Header + "1,,2,,2,\n\n2,,9,,,\n") << "line 4: input 9 is not a matrix input";
        QTest::newRow("output not in the matrix")
            << QByteArray(Header + "0,,1,,1,\n") << "line 2: output 0 is not a matrix output";
        QTest::newRow("no number") << QByteArray(Header + "1,,two,,,\n") << "line 2: input two is not a matrix input";
        QTest::newRow("output twice") << QByteArray(Header + "1,,1,,,\n1,,2,,,\n") << "line 3: output 1 is given twice";
        QTest::newRow("a quoted line break counts")
            << QByteArray(Header + "1,\"Prog\r\nA\",1,,1,\n2,,1,,3,\n")
            << "line 4: output 2 switches video and audio together, not from 1 and 3";
    }
    void refusedWhole()
    {
        const auto [rows, error] = fetch<QByteArray, QString>({"rows", "error"});
        ShowRig rig(false);
        QVERIFY(rig.started);
        rig.writeSnapshot(QStringLiteral("bad"), rows);
        QCOMPARE(rig.recall(QStringLiteral("bad")), QStringList{QStringLiteral("snapshots/bad.csv ") + error});
        QCOMPARE(rig.sim.frames(), QStringList());
    }

    // Locked outputs are skipped and counted; a stop drops the routes not yet sent.
    void locksAndStop()
    {
        ShowRig rig;
        QVERIFY(rig.started);
        rig.writeSnapshot(QStringLiteral("show"), Header + "1,,2,,2,\n2,,3,,3,\n3,,4,,4,\n4,,5,,5,\n");
        (void)rig.door->applyLocks({{1, LockAction::Lock}}, {QStringLiteral("videohub 192.0.2.7:1"), "192.0.2.7"});
        QCOMPARE(rig.shows().diffSnapshot(QStringLiteral("show")).lines.last(),
                 QStringLiteral("output 2 \"Out 02\" locked by 192.0.2.7"));
        QVERIFY(rig.shows().beginRecall(QStringLiteral("show"), false).ok);
        QVERIFY(rig.shows().recallStep());
        QVERIFY(rig.shows().recallStep());
        QCOMPARE(rig.shows().recallProgress(), QStringLiteral("Recalling \"show\": 2 of 4 routes"));
        QVERIFY(!rig.shows().beginRecall(QStringLiteral("show"), false).ok);
        QVERIFY(rig.shows().stopRecall().ok);
        QVERIFY(!rig.shows().recallStep());
        QCOMPARE(rig.recalled(), QStringList{QStringLiteral("1<-2 both")});
        QCOMPARE(rig.panel->statusLine().text(),
                 QStringLiteral("Recalled \"show\": 1 routes taken, 1 outputs locked, 0 failed"));
    }

    // A recall runs until its end is told to the one who began it, also once
    // its last route went or it was stopped: a recall begun in between took
    // the control port's recalling client, which then never had its answer.
    void anotherRecallWaitsForTheEnd()
    {
        ShowRig rig;
        QVERIFY(rig.started);
        rig.writeSnapshot(QStringLiteral("show"), Header + "1,,2,,2,\n2,,3,,3,\n");
        QVERIFY(rig.shows().beginRecall(QStringLiteral("show"), false).ok);
        QVERIFY(rig.shows().recallStep());
        QVERIFY(rig.shows().stopRecall().ok);
        QVERIFY(!rig.shows().beginRecall(QStringLiteral("show"), true).ok);
        QVERIFY(!rig.shows().recallStep());
        QVERIFY(rig.shows().beginRecall(QStringLiteral("show"), true).ok);
        QVERIFY(rig.shows().recallStep());
        QVERIFY(rig.shows().recallStep());
        QVERIFY(!rig.shows().beginRecall(QStringLiteral("show"), true).ok);
        QVERIFY(!rig.shows().recallStep());
        QCOMPARE(rig.shows().recallResult().text,
                 QStringLiteral("Recalled \"show\": 2 routes taken, 0 outputs locked, 0 failed"));
    }

    // Over a slow line the status line follows every route (over a fast one
    // it is noted a few times a second, so its repaint keeps off the line).
    void progressOnASlowLine()
    {
        ShowRig rig(true, 150);
        QVERIFY(rig.started);
        rig.writeSnapshot(QStringLiteral("show"), Header + "1,,2,,2,\n2,,3,,3,\n");
        QVERIFY(rig.shows().beginRecall(QStringLiteral("show"), false).ok);
        QCOMPARE(rig.panel->statusLine().text(), QStringLiteral("Recalling \"show\": 0 of 2 routes"));
        QVERIFY(rig.shows().recallStep());
        QCOMPARE(rig.panel->statusLine().text(), QStringLiteral("Recalling \"show\": 1 of 2 routes"));
        QVERIFY(rig.shows().recallStep());
        QCOMPARE(rig.panel->statusLine().text(), QStringLiteral("Recalling \"show\": 2 of 2 routes"));
        QVERIFY(!rig.shows().recallStep());
        QCOMPARE(rig.panel->statusLine().text(),
                 QStringLiteral("Recalled \"show\": 2 routes taken, 0 outputs locked, 0 failed"));
    }

    // Saved as the matrix stands, never over another unless asked, never outside its folder.
    void saveAndNames()
    {
        ShowRig rig;
        QVERIFY(rig.started);
        rig.writeSnapshot(QStringLiteral("in"), Header + "2,,3,,4,\n");
        (void)rig.recall(QStringLiteral("in"));
        QCOMPARE(rig.shows().saveSnapshot(QStringLiteral("Morning show_1.2"), false).text, QStringLiteral("8 outputs"));
        const QByteArray saved = PanelRig::readAll(rig.appFolder() + QStringLiteral("snapshots/Morning show_1.2.csv"));
        QCOMPARE(saved.split('\n').value(2), QByteArray("2,Out 02,3,In 03,4,In 04\r"));
        QCOMPARE(saved.split('\n').value(1), QByteArray("1,Out 01,,,,\r"));
        QCOMPARE(rig.shows().saveSnapshot(QStringLiteral("Morning show_1.2"), false).text,
                 QStringLiteral("snapshot \"Morning show_1.2\" exists"));
        for (const QString &name :
             {QStringLiteral("../x"), QStringLiteral(".x"), QStringLiteral("a/b"), QString(65, u'a'), QString()})
            QCOMPARE(rig.shows().saveSnapshot(name, true).text, ShowFiles::NameRule);
        QCOMPARE(rig.shows().listSnapshots().lines.size(), 2);
    }

    // A name list is taken whole or not at all, as one change, and reads back unchanged.
    void nameLists()
    {
        ShowRig rig;
        QVERIFY(rig.started);
        const QString list = rig.appFolder() + QStringLiteral("names.csv");
        rig.write(list, "\xEF\xBB\xBFnumber,kind,name\n1,input,\"Cam 1, wide\"\n2,input,ok\n9,input,x\n1,output,a;b\n"
                        "2,Output,\"x\x01y\"\n3,monitor,x\n2,input,again\n");
        const ShowAnswer refused = rig.shows().importNames(list);
        QCOMPARE(refused.lines, (QStringList{list + " line 4: input 9 is not a matrix input",
                                             list + " line 5: the name holds a semicolon (;)",
                                             list + " line 6: the name holds a control character",
                                             list + " line 7: kind \"monitor\" is neither input nor output",
                                             list + " line 8: input 2 is named twice"}));
        QCOMPARE(rig.panel->names().matrixInputName(0), QStringLiteral("In 01"));

        // Two names trading places take no "!"; one notice per kind.
        QSignalSpy notices(rig.panel.get(), &MainPanel::portNamesChanged);
        rig.write(list, "kind,number,name\ninput,1,In 02\ninput,2,In 01\noutput,3, Mon C \n");
        QCOMPARE(rig.shows().importNames(list).text, QStringLiteral("3 names changed"));
        QCOMPARE(notices.size(), 2);
        QCOMPARE(notices.at(0).at(1).value<QList<int>>(), (QList<int>{0, 1}));
        QCOMPARE(rig.panel->names().matrixInputName(0) + u'|' + rig.panel->names().matrixInputName(1),
                 QStringLiteral("In 02|In 01"));

        QVERIFY(rig.shows().exportNames(list).ok);
        const QByteArray exported = PanelRig::readAll(list);
        QVERIFY(exported.contains("\r\noutput,3,Mon C\r\n"));
        QCOMPARE(rig.shows().importNames(list).text, QStringLiteral("0 names changed"));
        QVERIFY(rig.shows().exportNames(list).ok);
        QCOMPARE(PanelRig::readAll(list), exported);
    }

    // A Videohub controller's route file: ports from 0, both levels, the named outputs only.
    void videohubRouteFile()
    {
        ShowRig rig;
        QVERIFY(rig.started);
        const QString file = rig.appFolder() + QStringLiteral("routes.txt");
        // The bytes Companion's Videohub module (v3.1.0) saved against the panel's Videohub server: every
        // output, blanks before the colon, then a history whose commas are not pairs.
        rig.write(file, "0 2,1 0,2 7,3 1,4 4,5 6,6 3,7 5  : BMD uses zero based indexing when referencing source and "
                        "destination so '0' in this file references port '1'.  You may add your own text here after "
                        "the colon. \n\nRouting history: \n0 5,2\n1 0\n2 7\n3 6,1\n4 4\n5 6\n6 3\n7 5\n");
        QCOMPARE(rig.shows().importVideohub(file, QStringLiteral("vh")).text, QStringLiteral("8 outputs"));
        (void)rig.recall(QStringLiteral("vh"));
        QCOMPARE(rig.recalled().join(u'|'),
                 QStringLiteral("1<-3 both|2<-1 both|3<-8 both|4<-2 both|5<-5 both|6<-7 both|7<-4 both|8<-6 both"));
        // Saved while the panel knew some routes only: the module's placeholder "N N" for an output it
        // never heard a route for (its history line empty) is no route, also where N is an input.
        rig.write(file, "0 3,1 1,2 6,3 3,4 4,5 1,6 6,7 7  : comment \n\nRouting history: \n0 3\n1 \n2 6\n3 \n4 \n5 "
                        "1\n6 \n7 \n");
        QCOMPARE(rig.shows().importVideohub(file, QStringLiteral("partly")).text, QStringLiteral("3 outputs"));
        (void)rig.recall(QStringLiteral("partly"));
        QCOMPARE(rig.recalled().mid(8).join(u'|'), QStringLiteral("1<-4 both|3<-7 both|6<-2 both"));
        rig.write(file, "0 2,1 1,8 1");
        QCOMPARE(rig.shows().importVideohub(file, QStringLiteral("vh2")).text,
                 file + QStringLiteral(" pair 3: output 8 is not a matrix output"));
    }
};

QTEST_MAIN(TestShowFiles)
#include "tst_showfiles.moc"
