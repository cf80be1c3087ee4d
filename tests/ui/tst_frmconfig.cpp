#include "ConfigRig.h"
#include "Render.h"
#include "ui/config/frmConfig.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

namespace {

template<typename Control>
Control *control(const QWidget &window, const QString &name)
{
    auto *found = window.findChild<Control *>(name);
    if (!found)
        qFatal("no control %s", qPrintable(name));
    return found;
}

void sendFocus(QWidget *widget, QEvent::Type type, Qt::FocusReason reason = Qt::TabFocusReason)
{
    QFocusEvent event(type, reason);
    QApplication::sendEvent(widget, &event);
}

// Three routers of 16, 8 and 4 ports, stacked; the second one split.
struct ThreeRouters : ConfigRig
{
    ThreeRouters() : ConfigRig({0, 1, 2})
    {
        global(1)->setStringVal(QStringLiteral("1; 1; 7; 7; 0; 16; -1"));
        global(2)->setStringVal(QStringLiteral("0; 2; 3; 3; 0; 24; 0"));
    }
};

} // namespace

class TestFrmConfig : public QObject
{
    Q_OBJECT

private slots:
    void controlsDriveTheRules()
    {
        ThreeRouters rig;
        frmConfig dialog;
        auto *count = control<QComboBox>(dialog, "cboRouterCount");
        emit count->activated(6);
        QCOMPARE(control<QScrollBar>(dialog, "VScroll")->maximum(), 4);
        control<QScrollBar>(dialog, "VScroll")->setValue(3);
        QCOMPARE(control<QLabel>(dialog, "lblFA_0")->text(), "03");
        QCOMPARE(control<QLineEdit>(dialog, "txtInputs_0")->text(), "0");

        emit control<QComboBox>(dialog, "cboRouter_0")->activated(0);
        QCOMPARE(dialog.rules().WorkRouters(3)->RouterType(), 0);
        control<QCheckBox>(dialog, "ckAVSplit_0")->click();
        QVERIFY(dialog.rules().WorkRouters(3)->canSplit);

        auto *inputs = control<QLineEdit>(dialog, "txtInputs_0");
        // A message box coming and going hands the focus back without a GotFocus.
        sendFocus(inputs, QEvent::FocusIn, Qt::ActiveWindowFocusReason);
        inputs->setText(QStringLiteral("9"));
        sendFocus(inputs, QEvent::FocusOut);
        QCOMPARE(dialog.rules().WorkRouters(3)->InputCount(), -1);
        sendFocus(inputs, QEvent::FocusIn);
        inputs->setText(QStringLiteral("4"));
        sendFocus(inputs, QEvent::FocusOut);
        QCOMPARE(dialog.rules().WorkRouters(3)->InputCount(), 3);
    }

    void enterInAFieldRunsOKWithoutTheField()
    {
        ThreeRouters rig;
        frmConfig dialog;
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        auto *inputs = control<QLineEdit>(dialog, "txtInputs_0");
        inputs->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(inputs->hasFocus());
        QVERIFY(dialog.rules().FieldFocused());
        inputs->setText(QStringLiteral("9"));
        QTest::keyClick(inputs, Qt::Key_Return);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(ConfigRig::global(0)->InputCount(), 15);
        QVERIFY(Globals().ConfigLoaded);
    }

    // A typed port is no choice: OK refuses and the dialog stays; Escape cancels.
    void typedPortThenEscape()
    {
        ThreeRouters rig;
        frmConfig dialog;
        dialog.show();
        control<QComboBox>(dialog, "cboCom")->setEditText(QStringLiteral("COM7"));
        control<QPushButton>(dialog, "btnOK")->click();
        QCOMPARE(rig.dialogs.lines(), QStringList{"Velmora: Please set the COM port to something"});
        QVERIFY(dialog.isVisible());
        emit control<QComboBox>(dialog, "cboRouterCount")->activated(1);
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(ConfigRig::global(2));
        QVERIFY(!Globals().ConfigLoaded);
        QCOMPARE(Globals().CommPortName, "COM2");
    }

    void renders()
    {
        ThreeRouters rig;
        frmConfig dialog;
        dialog.show();
        QVERIFY(renderToFile(dialog, QStringLiteral("frmConfig-normal")));
        control<QCheckBox>(dialog, "btnAdvanced")->click();
        QVERIFY(renderToFile(dialog, QStringLiteral("frmConfig-advanced")));
    }
};

QTEST_MAIN(TestFrmConfig)
#include "tst_frmconfig.moc"
