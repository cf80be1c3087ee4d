#include "panel/MainPanel.h"
#include "panel/OutputLockMarks.h"
#include "support/ScriptedDialogs.h"
#include "support/TestRouters.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

// Who holds what, at the edges; the views pushed to clients and the routes
// refused on a locked output run end to end in the Videohub server's test.

using Outcome = OutputLocks::Outcome;
using enum OutputLocks::Outcome;
using enum LockAction;

namespace {

const QString A = QStringLiteral("192.0.2.7");
const QString B = QStringLiteral("192.0.2.8");

// What a client is shown of the locks.
QByteArray view(const OutputLocks &locks, const QString &client)
{
    MatrixSnapshot matrix;
    matrix.lockOwners = locks.owners();
    return matrix.lockView(client);
}

// The outputs of every announcement so far.
QList<QList<int>> announced(const QSignalSpy &spy)
{
    QList<QList<int>> outputs;
    for (const QList<QVariant> &arguments : spy)
        outputs.append(arguments.at(0).value<QList<int>>());
    return outputs;
}

} // namespace

class TestOutputLocks : public QObject
{
    Q_OBJECT

private slots:
    // Each client sees its own locks as O and others' as L; only a change is
    // announced, with the output it touched. A block is applied line by line
    // and announced once; lines refused because another client holds the
    // output are handed back. A smaller matrix drops the locks it no longer
    // has, and says so. The window's marks show the same owners.
    void ownersViewsBlocksAndMarks()
    {
        OutputLocks locks;
        locks.setOutputCount(4);
        QSignalSpy spy(&locks, &OutputLocks::locksChanged);
        QVERIFY(spy.isValid());
        QCOMPARE((QList<Outcome>{locks.lock(1, A), locks.lock(1, A), locks.lock(1, B), locks.unlock(1, B),
                                 locks.lock(3, B), locks.lock(4, B), locks.lock(-1, B)}),
                 (QList<Outcome>{Changed, Unchanged, Refused, Refused, Changed, Refused, Refused}));
        QCOMPARE(view(locks, A), QByteArray("UOUL"));
        QCOMPARE(view(locks, QStringLiteral("198.51.100.1")), QByteArray("ULUL"));

        QCOMPARE((QList<Outcome>{locks.unlock(0, A), locks.unlock(1, A), locks.forceUnlock(3), locks.forceUnlock(3)}),
                 (QList<Outcome>{Unchanged, Changed, Changed, Unchanged}));
        QCOMPARE(view(locks, A), QByteArray("UUUU"));
        QCOMPARE(announced(spy), (QList<QList<int>>{{1}, {3}, {1}, {3}}));

        QCOMPARE(locks.lock(2, B), Changed);
        spy.clear();
        QCOMPARE(
            locks.apply({{0, Lock}, {2, Lock}, {1, Lock}, {0, Unlock}, {0, Lock}, {2, Unlock}, {3, ForceUnlock}}, A),
            QList<int>{2});
        QCOMPARE(view(locks, A), QByteArray("OOLU"));
        QVERIFY(locks.apply({{3, Unlock}}, A).isEmpty());
        QVERIFY(locks.apply({{2, ForceUnlock}}, A).isEmpty());
        QCOMPARE(view(locks, B), QByteArray("LLUU"));
        locks.setOutputCount(1);
        locks.setOutputCount(4);
        QCOMPARE(view(locks, B), QByteArray("LUUU"));
        QCOMPARE(announced(spy), (QList<QList<int>>{{0, 1}, {2}, {1}}));

        // A column's mark tells who holds the output the column shows,
        // wherever scrolling puts it; a free output shows none.
        MatrixTables tables;
        RouterSlots routers;
        MatrixView matrix{tables, routers};
        locks.setOutputCount(40);
        QCOMPARE(locks.lock(20, A), Changed);
        const OutputLockMarks marks(matrix, locks);
        QCOMPARE(marks.tip(4), QString());
        matrix.OutOffset = 16;
        QCOMPARE((QStringList{marks.tip(3), marks.tip(4), marks.tip(5)}),
                 (QStringList{QString(), QStringLiteral("Locked by ") + A, QString()}));
    }

    // A refused lock is logged with the output's owner, the client that
    // holds it, not the one that asked.
    void aRefusedLockIsLoggedWithItsHolder()
    {
        QTemporaryDir data;
        qputenv("XDG_DATA_HOME", data.path().toUtf8());
        desktop::ScriptedDialogs boxes;
        MainPanel panel;
        panel.Form_Load([&panel] { addRouter(panel.config(), 0, 3, 3); });
        for (const QString &client : {A, B}) {
            const RouteSourceScope source(panel.currentSource(), {QStringLiteral("videohub ") + client, client});
            (void)panel.applyLocks({{1, Lock}});
        }
        QFile log(panel.activityLog()->filePath());
        QVERIFY(log.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(log.readAll().trimmed().split('\n').constLast()).section(u'\t', 1),
                 "videohub " + B + "\tlock output=2 \"Out 02\" action=lock owner=" + A + " result=refused");
    }
};

QTEST_GUILESS_MAIN(TestOutputLocks)
#include "tst_outputlocks.moc"
