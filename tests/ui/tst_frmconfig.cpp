#include "support/ConfigRig.h"
#include "support/DataRows.h"
#include "support/OperatorInput.h"
#include "ui/config/frmConfig.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
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

    // Typed text in a list is no choice, whatever Qt matches it to when the
    // field is left or Enter pressed; a choice from the list (arrow keys,
    // the dropped-down list) is one. The dialog ends with a click on OK
    // unless Enter ran it. Keys after the text: "Down", "Return", "AltDown"
    // (drops the list down), "list:Down", "list:Return" (in the dropped-down list).
    void typedTextIsNoChoice_data()
    {
        columns<QString, QString, QString, QString, QStringList>({"list", "typed", "keys", "stored", "boxes"});
        const QString routers =
            QStringLiteral("0: 0; 0; 15; 15; 0; 0; 0 | 1: 1; 1; 7; 7; 0; 16; -1 | 2: 0; 2; 3; 3; 0; 24; 0");
        const QString kept = QStringLiteral("COM2 | 3 | loaded | ") + routers;
        const QString untouched = QStringLiteral("COM2 | 3 | not loaded | ") + routers;
        const QStringList noPort{"Velmora: Please set the COM port to something"};
        // clang-format off
        QTest::newRow("count typed") << "cboRouterCount" << "1" << "" << kept << QStringList();
        QTest::newRow("count typed, Enter") << "cboRouterCount" << "1" << "Return" << kept << QStringList();
        QTest::newRow("type typed") << "cboRouter_1" << "n" << "" << kept << QStringList();
        QTest::newRow("port typed as listed") << "cboCom" << "COM4" << "" << untouched << noPort;
        QTest::newRow("an arrow key after typing chooses") << "cboCom" << "com4" << "Down" << "COM3 | 3 | loaded | " + routers << QStringList();
        QTest::newRow("count chosen in the dropped-down list") << "cboRouterCount" << "" << "AltDown list:Down list:Return" << untouched
            << QStringList{"Velmora: Router 3 has no router type selected"};
        // clang-format on
    }

    void typedTextIsNoChoice()
    {
        const auto [list, typed, keys] = fetch<QString, QString, QString>({"list", "typed", "keys"});
        ThreeRouters rig;
        frmConfig dialog(rig.config);
        QVERIFY(showActive(dialog));
        auto *box = control<QComboBox>(dialog, list);
        if (!typed.isEmpty()) {
            QTest::mouseClick(box->lineEdit(), Qt::LeftButton);
            QTRY_VERIFY(box->hasFocus());
            QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(box, typed);
        }
        for (const QString &key : keys.split(u' ', Qt::SkipEmptyParts)) {
            const bool inList = key.startsWith(QLatin1String("list:"));
            if (inList)
                QTRY_VERIFY(box->view()->isVisible());
            const Qt::Key code = key.endsWith(QLatin1String("Down")) ? Qt::Key_Down : Qt::Key_Return;
            QTest::keyClick(inList ? box->view() : static_cast<QWidget *>(box), code,
                            key == QLatin1String("AltDown") ? Qt::AltModifier : Qt::NoModifier);
        }
        if (dialog.isVisible())
            QTest::mouseClick(control<QPushButton>(dialog, "btnOK"), Qt::LeftButton);
        QTEST(rig.setup(), "stored");
        QTEST(rig.dialogs.lines(), "boxes");
    }

    // Enter on a focused command button presses that button, elsewhere OK;
    // Escape is Cancel. A row field's text is not taken by Enter. State:
    // the dialog's outcome, router 0's first matrix input and its inputs.
    void enterAndEscape_data()
    {
        columns<QString, int, QString>({"focused", "key", "state"});
        QTest::newRow("Enter on Cancel") << "btnCancel" << int(Qt::Key_Return) << "rejected 5 16";
        QTest::newRow("Enter on Reset") << "btnResetMapping" << int(Qt::Key_Enter) << "open 1 16";
        QTest::newRow("Enter in a row field") << "txtInputs_0" << int(Qt::Key_Return) << "accepted 5 16";
        QTest::newRow("Escape in a row field") << "txtInputs_0" << int(Qt::Key_Escape) << "rejected 5 16";
    }

    void enterAndEscape()
    {
        const auto [focused, key] = fetch<QString, int>({"focused", "key"});
        ThreeRouters rig;
        rig.stored(0)->setMapIn(4);
        frmConfig dialog(rig.config);
        QVERIFY(showActive(dialog));
        QWidget *target = control<QWidget>(dialog, focused);
        target->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(target->hasFocus());
        if (auto *field = qobject_cast<QLineEdit *>(target))
            field->setText(QStringLiteral("9"));
        QTest::keyClick(target, Qt::Key(key));
        const QString outcome = dialog.isVisible()                     ? QStringLiteral("open")
                                : dialog.result() == QDialog::Accepted ? QStringLiteral("accepted")
                                                                       : QStringLiteral("rejected");
        const clsRouter &first = *rig.stored(0);
        QTEST(QStringLiteral("%1 %2 %3").arg(outcome).arg(first.mapIn() + 1).arg(first.InputCount() + 1), "state");
    }

    // A click on the scroll bar or the wheel over it leaves the field first,
    // as a click on the Advanced box does: what was typed before is stored,
    // and the field typed into afterwards counts as focused again. State:
    // slot 0's inputs once left, the first row's slot, that slot's inputs.
    void leavingAFieldByMouse_data()
    {
        columns<QString, QString>({"leaveBy", "state"});
        QTest::newRow("click on the scroll arrow") << "arrow"
                                                   << "3 1 2";
        QTest::newRow("wheel over the scroll bar") << "wheel"
                                                   << "3 3 2";
        QTest::newRow("click on Advanced Configuration") << "btnAdvanced"
                                                         << "3 0 2";
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
        QTEST(QStringLiteral("%1 %2 %3").arg(left).arg(top).arg(rules.WorkRouters(top)->InputCount() + 1), "state");
    }
};

QTEST_MAIN(TestFrmConfig)
#include "tst_frmconfig.moc"
