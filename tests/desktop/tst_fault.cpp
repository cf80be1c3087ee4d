#include "desktop/Fault.h"
#include "support/ScriptedDialogs.h"

#include <QTest>

using namespace desktop;

// The program's own faults are trapped into their "Function X" box in every
// suite that provokes one; a standard exception must end the same way, not
// escape into the event loop.
class TestFault : public QObject
{
    Q_OBJECT

private slots:
    void standardExceptionsAreTrappedToo()
    {
        ScriptedDialogs boxes;
        QVERIFY(!runTrapped(QStringLiteral("Form_Load"), [] { throw std::runtime_error("broken"); }));
        QCOMPARE(boxes.lines(), QStringList{"Function Form_Load: Error: broken"});
    }
};

QTEST_GUILESS_MAIN(TestFault)
#include "tst_fault.moc"
