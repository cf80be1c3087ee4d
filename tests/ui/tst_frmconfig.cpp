#include "support/ConfigRig.h"
#include "support/DataRows.h"
#include "support/OperatorInput.h"
#include "ui/config/frmConfig.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

class TestFrmConfig : public QObject
{
    Q_OBJECT

private slots:
    void controlsDriveTheRules()
    {
        ThreeRouters rig;
        frmConfig dialog(rig.config);
        // One line of text; the button wraps it.
        QCOMPARE(control<QPushButton>(dialog, "btnResetMapping")->text(), "Reset Advanced Configuration");
        emit control<QComboBox>(dialog, "cboRouterCount")->activated(6);
        QCOMPARE(control<QScrollBar>(dialog, "VScroll")->maximum(), 4);
        control<QScrollBar>(dialog, "VScroll")->setValue(3);
        QCOMPARE(control<QLabel>(dialog, "lblFA_0")->text(), "03");
        QCOMPARE(control<QLineEdit>(dialog, "txtInputs_0")->text(), "0");

        emit control<QComboBox>(dialog, "cboRouter_0")->activated(0);
        QCOMPARE(dialog.rules().WorkRouters(3)->RouterType(), 0);
        control<QCheckBox>(dialog, "ckAVSplit_0")->click();
        QVERIFY(dialog.rules().WorkRouters(3)->canSplit);

        auto *inputs = control<QLineEdit>(dialog, "txtInputs_0");
        const auto sendFocus = [inputs](QEvent::Type type, Qt::FocusReason reason = Qt::TabFocusReason) {
            QFocusEvent event(type, reason);
            QApplication::sendEvent(inputs, &event);
        };
        // A message box coming and going hands the focus back without a GotFocus.
        sendFocus(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
        inputs->setText(QStringLiteral("9"));
        sendFocus(QEvent::FocusOut);
        QCOMPARE(dialog.rules().WorkRouters(3)->InputCount(), -1);
        sendFocus(QEvent::FocusIn);
        inputs->setText(QStringLiteral("4"));
        sendFocus(QEvent::FocusOut);
        QCOMPARE(dialog.rules().WorkRouters(3)->InputCount(), 3);
    }

    // Keys in the dialog. Typed text in a list is no choice, whatever Qt
    // matches it to when the field is left or Enter pressed; a choice from
    // the list (arrow keys, the dropped-down list) is one. Enter on a
    // focused command button presses that button, elsewhere OK; Escape is
    // Cancel; a row field's text is not taken by Enter. Keys after the text
    // ("list:" in the dropped-down list). Router 0 takes matrix inputs from
    // 5. The dialog's outcome, then the set-up stored once OK is clicked if
    // the dialog is still open.
    void keys_data()
    {
        columns<QString, QString, QString, QString, QString>({"control", "typed", "keys", "stored", "boxes"});
        const QString routers = QStringLiteral("1: 1; 1; 7; 7; 0; 16; -1 | 2: 0; 2; 3; 3; 0; 24; 0");
        const QString first = QStringLiteral("0: 0; 0; 15; 15; 4; 0; 0 | ") + routers;
        const QString kept = QStringLiteral("COM2 | 3 | loaded | ") + first;
        const QString untouched = QStringLiteral("COM2 | 3 | not loaded | ") + first;
        const QString noPort = QStringLiteral("Velmora: Please set the COM port to something");
        // clang-format off
        QTest::newRow("count typed, Enter") << "cboRouterCount" << "1" << "Return" << "accepted | " + kept << "";
        QTest::newRow("port typed as listed") << "cboCom" << "COM4" << "" << "open | " + untouched << noPort;
        QTest::newRow("an arrow key after typing chooses") << "cboCom" << "com4" << "Down"
            << "open | COM3 | 3 | loaded | " + first << "";
        QTest::newRow("count chosen in the dropped-down list")
            << "cboRouterCount" << "" << "Alt+Down list:Down list:Return" << "open | " + untouched
            << "Velmora: Router 3 has no router type selected";
        QTest::newRow("Enter on Cancel") << "btnCancel" << "" << "Return" << "rejected | " + untouched << "";
        QTest::newRow("Enter on Reset") << "btnResetMapping" << "" << "Enter"
            << "open | COM2 | 3 | loaded | 0: 0; 0; 15; 15; 0; 0; 0 | " + routers << "";
        QTest::newRow("Enter in a row field") << "txtInputs_0" << "9" << "Return" << "accepted | " + kept << "";
        QTest::newRow("Escape in a row field") << "txtInputs_0" << "9" << "Esc" << "rejected | " + untouched << "";
        // clang-format on
    }

    void keys()
    {
        const auto [name, typed, keys] = fetch<QString, QString, QString>({"control", "typed", "keys"});
        ThreeRouters rig;
        rig.stored(0)->setMapIn(4);
        frmConfig dialog(rig.config);
        QVERIFY(showActive(dialog));
        QWidget *target = control<QWidget>(dialog, name);
        auto *box = qobject_cast<QComboBox *>(target);
        if (box && !typed.isEmpty()) {
            QTest::mouseClick(box->lineEdit(), Qt::LeftButton);
            QTRY_VERIFY(box->hasFocus());
            QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(box, typed);
        } else if (!box) {
            target->setFocus(Qt::TabFocusReason);
            QTRY_VERIFY(target->hasFocus());
            if (auto *field = qobject_cast<QLineEdit *>(target))
                field->setText(typed);
        }
        for (const QString &key : keys.split(u' ', Qt::SkipEmptyParts)) {
            const bool inList = key.startsWith(QLatin1String("list:"));
            if (inList)
                QTRY_VERIFY(box->view()->isVisible());
            const QKeyCombination pressed = QKeySequence::fromString(key.section(u':', -1))[0];
            QTest::keyClick(inList ? box->view() : target, pressed.key(), pressed.keyboardModifiers());
        }
        const QString outcome = dialog.isVisible()                     ? QStringLiteral("open")
                                : dialog.result() == QDialog::Accepted ? QStringLiteral("accepted")
                                                                       : QStringLiteral("rejected");
        if (dialog.isVisible())
            QTest::mouseClick(control<QPushButton>(dialog, "btnOK"), Qt::LeftButton);
        QTEST(outcome + QStringLiteral(" | ") + rig.setup(), "stored");
        QTEST(rig.dialogs.lines().join(u'|'), "boxes");
    }

    // A click on the scroll bar or the wheel over it leaves the field first,
    // as a click on the Advanced box does: what was typed before is stored,
    // and the field typed into afterwards counts as focused again. State:
    // slot 0's inputs once left, the first row's slot, that slot's inputs.
    void leavingAFieldByMouse_data()
    {
        columns<QString, QList<int>>({"leaveBy", "state"});
        QTest::newRow("click on the scroll arrow") << "arrow" << QList<int>{3, 1, 2};
        QTest::newRow("wheel over the scroll bar") << "wheel" << QList<int>{3, 3, 2};
        QTest::newRow("click on Advanced Configuration") << "btnAdvanced" << QList<int>{3, 0, 2};
    }

    void leavingAFieldByMouse()
    {
        QFETCH(QString, leaveBy);
        ConfigRig rig({0, 1, 2, 3, 4, 5}, 4);
        frmConfig dialog(rig.config);
        QVERIFY(showActive(dialog));
        const ConfigRules &rules = dialog.rules();
        auto *field = control<QLineEdit>(dialog, "txtInputs_0");
        const auto typeIntoField = [field](const QString &typed) {
            QTest::mouseClick(field, Qt::LeftButton);
            QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(field, typed);
        };
        typeIntoField(QStringLiteral("3"));
        if (leaveBy == QLatin1String("btnAdvanced"))
            QTest::mouseClick(control<QCheckBox>(dialog, leaveBy), Qt::LeftButton);
        else
            scrollOneWay(control<QScrollBar>(dialog, "VScroll"), leaveBy == QLatin1String("wheel"));
        const int left = rules.WorkRouters(0)->InputCount() + 1;
        typeIntoField(QStringLiteral("2"));
        QTest::keyClick(field, Qt::Key_Tab);
        const int top = rules.TopRow();
        QTEST((QList<int>{left, top, rules.WorkRouters(top)->InputCount() + 1}), "state");
    }
};

QTEST_MAIN(TestFrmConfig)
#include "tst_frmconfig.moc"
