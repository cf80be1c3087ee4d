#include "desktop/Fault.h"
#include "support/ScriptedDialogs.h"

#include <QTest>

using namespace desktop;

class TestFault : public QObject
{
    Q_OBJECT

private slots:
    void trappedFaultShowsFunctionBoxAndReturnsFalse()
    {
        ScriptedDialogs boxes;
        bool released = false;
        const bool completed = runTrapped(QStringLiteral("ConfigLoad"), [&] {
            struct Release
            {
                bool &flag;
                ~Release() { flag = true; }
            } release{released};
            throw Fault(FaultText::Overflow);
        });
        QVERIFY(!completed);
        QVERIFY(released);
        QCOMPARE(boxes.shown.size(), 1);
        QCOMPARE(boxes.shown[0].title, QStringLiteral("Function ConfigLoad"));
        QCOMPARE(boxes.shown[0].text, QStringLiteral("Error: Overflow"));
        QCOMPARE(boxes.shown[0].buttons, Buttons::Ok);
    }

    void standardExceptionsAreTrappedToo()
    {
        ScriptedDialogs boxes;
        QVERIFY(!runTrapped(QStringLiteral("Form_Load"), [] { throw std::runtime_error("broken"); }));
        QCOMPARE(boxes.lines(), QStringList{"Function Form_Load: Error: broken"});
    }
};

QTEST_GUILESS_MAIN(TestFault)
#include "tst_fault.moc"
