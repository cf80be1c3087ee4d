#include "panel/OutputSelection.h"
#include "support/DataRows.h"

#include <QSet>
#include <QTest>

// Clicks written as "<key><column>" with visible columns from 0:
// '.' plain, '^' Ctrl, '+' Shift, '*' Ctrl and Shift together.
class TestOutputSelection : public QObject
{
    Q_OBJECT

private slots:
    void clicks_data()
    {
        columns<QString, QList<int>>({"clicks", "selected"});

        QTest::newRow("plain click on a fourth output") << ".1 ^2 ^3 .4" << QList<int>{4};
        QTest::newRow("plain click on the only selected") << ".4 .4" << QList<int>{};
        QTest::newRow("Ctrl toggles one off, order kept") << "^1 ^4 ^8 ^1" << QList<int>{4, 8};
        QTest::newRow("Ctrl wins over Shift") << ".2 *6" << QList<int>{2, 6};
        QTest::newRow("Shift extends upwards") << ".2 +6" << QList<int>{2, 3, 4, 5, 6};
        QTest::newRow("Shift extends downwards") << ".9 +6" << QList<int>{9, 8, 7, 6};
        QTest::newRow("Shift on a selected output shrinks") << ".2 +6 +4" << QList<int>{2, 3};
        QTest::newRow("Shift with nothing selected") << "+5" << QList<int>{5};
        QTest::newRow("Shift on the anchor") << ".2 +6 +6" << QList<int>{2, 3, 4, 5, 6};
        QTest::newRow("Shift range keeps earlier picks") << "^12 ^2 +4" << QList<int>{12, 2, 3, 4};
        QTest::newRow("outside the columns ignored") << ".3 .16 ^-1" << QList<int>{3};
    }

    void clicks()
    {
        const auto [clicks, selected] = fetch<QString, QList<int>>({"clicks", "selected"});

        QSet<int> shown;
        OutputSelection selection([&](int index, bool isSel) {
            QVERIFY2(shown.contains(index) != isSel, "a column shown twice in the same state");
            if (isSel)
                shown.insert(index);
            else
                shown.remove(index);
        });
        for (const QString &click : clicks.split(QLatin1Char(' '))) {
            const QChar key = click.front();
            selection.outputClick(click.mid(1).toInt(), key == u'^' || key == u'*', key == u'+' || key == u'*');
        }
        QCOMPARE(selection.selected(), selected);
        QCOMPARE(shown, QSet<int>(selected.begin(), selected.end()));
        if (!selected.isEmpty())
            QCOMPARE(selection.OutSelID(selected.back()), selected.size() - 1);
    }
};

QTEST_GUILESS_MAIN(TestOutputSelection)
#include "tst_outputselection.moc"
