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

    // The marks follow the columns as the view scrolls: each column tells
    // who holds the output it shows, and shows nothing for a free one.
    void marksFollowTheView_data()
    {
        QTest::addColumn<int>("offset");
        QTest::addColumn<QStringList>("tips");
        const QString byA = QStringLiteral("Locked by ") + A;
        const QString byB = QStringLiteral("Locked by ") + B;
        QTest::newRow("unscrolled") << 0 << QStringList{"0:", "3:" + byA, "15:"};
        QTest::newRow("scrolled by 8") << 8 << QStringList{"0:", "3:", "12:" + byB, "15:"};
        QTest::newRow("scrolled by 17") << 17 << QStringList{"0:", "3:" + byB, "15:"};
    }

    void marksFollowTheView()
    {
        QFETCH(int, offset);
        QFETCH(QStringList, tips);
        MatrixTables tables;
        RouterSlots routers;
        MatrixView view{tables, routers};
        view.OutOffset = offset;
        OutputLocks locks;
        locks.setOutputCount(40);
        QCOMPARE(locks.lock(3, A), Outcome::Changed);
        QCOMPARE(locks.lock(20, B), Outcome::Changed);
        const OutputLockMarks marks(view, locks);
        QStringList shown;
        for (const QString &expected : tips) {
            const int c = expected.section(u':', 0, 0).toInt();
            QCOMPARE(marks.output(c), offset + c);
            shown.append(QString::number(c) + u':' + marks.tip(c));
        }
        QCOMPARE(shown, tips);
    }
};

QTEST_GUILESS_MAIN(TestOutputLocks)
#include "tst_outputlocks.moc"
