#include "model/MatrixView.h"
#include "panel/OutputLockMarks.h"
#include "panel/OutputLocks.h"

#include <QSignalSpy>
#include <QTest>

using Outcome = OutputLocks::Outcome;

namespace {

const QString A = QStringLiteral("192.0.2.7");
const QString B = QStringLiteral("192.0.2.8");

} // namespace

class TestOutputLocks : public QObject
{
    Q_OBJECT

private slots:
    // Each client sees its own locks as O and others' as L; only a change is
    // announced, with the outputs it touched.
    void ownersAndViews()
    {
        OutputLocks locks;
        locks.setOutputCount(4);
        QSignalSpy spy(&locks, &OutputLocks::locksChanged);

        QCOMPARE(locks.lock(1, A), Outcome::Changed);
        QCOMPARE(locks.lock(1, A), Outcome::Unchanged);
        QCOMPARE(locks.lock(1, B), Outcome::Refused);
        QCOMPARE(locks.unlock(1, B), Outcome::Refused);
        QCOMPARE(locks.lock(3, B), Outcome::Changed);
        QCOMPARE(locks.lock(4, B), Outcome::Refused);
        QCOMPARE(locks.view(A), QByteArray("UOUL"));
        QCOMPARE(locks.view(B), QByteArray("ULUO"));
        QCOMPARE(locks.view(QStringLiteral("198.51.100.1")), QByteArray("ULUL"));
        QCOMPARE(locks.owner(1), A);
        QVERIFY(locks.lockedAgainst(1, B));
        QVERIFY(!locks.lockedAgainst(1, A));
        QVERIFY(!locks.lockedAgainst(0, B));

        QCOMPARE(locks.unlock(0, A), Outcome::Unchanged);
        QCOMPARE(locks.unlock(1, A), Outcome::Changed);
        QCOMPARE(locks.forceUnlock(3), Outcome::Changed);
        QCOMPARE(locks.forceUnlock(3), Outcome::Unchanged);
        QCOMPARE(locks.view(A), QByteArray("UUUU"));
        QCOMPARE(locks.owner(3), QString());
        QCOMPARE(spy.size(), 4);
        QCOMPARE(spy.at(0).at(0).value<QList<int>>(), QList<int>{1});
        QCOMPARE(spy.at(3).at(0).value<QList<int>>(), QList<int>{3});
    }

    // A block is applied line by line and announced once; lines refused
    // because another client holds the output are handed back.
    void blockAppliedWithOneNotification()
    {
        OutputLocks locks;
        locks.setOutputCount(4);
        QCOMPARE(locks.lock(2, B), Outcome::Changed);
        QSignalSpy spy(&locks, &OutputLocks::locksChanged);

        const QList<int> refused = locks.apply({{0, LockAction::Lock},
                                                {2, LockAction::Lock},
                                                {1, LockAction::Lock},
                                                {0, LockAction::Unlock},
                                                {0, LockAction::Lock},
                                                {2, LockAction::Unlock},
                                                {3, LockAction::ForceUnlock}},
                                               A);
        QCOMPARE(refused, (QList<int>{2}));
        QCOMPARE(spy.size(), 1);
        QCOMPARE(spy.at(0).at(0).value<QList<int>>(), (QList<int>{0, 1}));
        QCOMPARE(locks.view(A), QByteArray("OOLU"));

        QVERIFY(locks.apply({{2, LockAction::ForceUnlock}}, A).isEmpty());
        QCOMPARE(spy.size(), 2);
        QCOMPARE(locks.view(B), QByteArray("LLUU"));
        QVERIFY(locks.apply({{3, LockAction::Unlock}}, A).isEmpty());
        QCOMPARE(spy.size(), 2);
    }

    // A smaller matrix drops the locks it no longer has, and says so.
    void shrinkingDropsLocks()
    {
        OutputLocks locks;
        locks.setOutputCount(4);
        QCOMPARE(locks.lock(0, A), Outcome::Changed);
        QCOMPARE(locks.lock(3, B), Outcome::Changed);
        QSignalSpy spy(&locks, &OutputLocks::locksChanged);
        locks.setOutputCount(2);
        QCOMPARE(spy.size(), 1);
        QCOMPARE(spy.at(0).at(0).value<QList<int>>(), QList<int>{3});
        locks.setOutputCount(4);
        QCOMPARE(locks.view(A), QByteArray("OUUU"));
        QCOMPARE(spy.size(), 1);
    }

    // A column's mark tells who holds the output the column shows, wherever
    // scrolling puts it; a free output shows none.
    void marksFollowTheView()
    {
        MatrixTables tables;
        RouterSlots routers;
        MatrixView view{tables, routers};
        OutputLocks locks;
        locks.setOutputCount(40);
        QCOMPARE(locks.lock(20, A), Outcome::Changed);
        const OutputLockMarks marks(view, locks);
        QCOMPARE(marks.tip(4), QString());
        view.OutOffset = 16;
        QCOMPARE(marks.output(4), 20);
        QCOMPARE((QStringList{marks.tip(3), marks.tip(4), marks.tip(5)}),
                 (QStringList{QString(), QStringLiteral("Locked by ") + A, QString()}));
    }
};

QTEST_GUILESS_MAIN(TestOutputLocks)
#include "tst_outputlocks.moc"
