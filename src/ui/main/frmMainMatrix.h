#pragma once

#include "panel/MainPanel.h"
#include "panel/OutputLockMarks.h"
#include "ui/main/MainMatrixControls.h"
#include "ui/main/Pictures.h"

#include <QMainWindow>
#include <functional>

class QLabel;
class QLineEdit;
class QScrollBar;

// The main window onto a running panel: the 16 x 16 view onto the matrix
// with its names and scroll bars, the level selector, the macro column, the
// status line and the button panel strip. The panel holds the state and the
// rules; the window forwards events to it and shows what it reports.
class frmMainMatrix final : public QMainWindow
{
    Q_OBJECT

public:
    // What the window opens but does not own. Tests pass their own.
    struct Services
    {
        // Shows the configuration dialog modally, owned by the given window.
        std::function<void(QWidget *owner)> showSetup;
        // Shows the about box modally; the menu item is disabled without one.
        std::function<void(QWidget *owner)> showAbout;
        // Opens the help; F1 and the menu item do nothing without one.
        std::function<void()> showHelp;
    };

    frmMainMatrix(MainPanel &panel, Services services, QWidget *parent = nullptr);
    ~frmMainMatrix() override;

    // The panel's start-up with this window's configuration dialog; call
    // before showing the window.
    void Form_Load();

    void UpdateDisplayNames(bool doInputs, bool doOutputs);
    void UpdateDisplayMatrix();
    void imgLayerSel_Click(int Index);

    void mnuLoadConfig_Click();
    void mnuSaveConfig_Click();
    void mnuSetup_Click();
    void mnuLoadMacros_Click();

    [[nodiscard]] const Pictures &pictures() const { return m_pictures; }

protected:
    void closeEvent(QCloseEvent *event) override;
    // The status line can be read from now on: what waited for it shows.
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildMenus();
    void connectControls();
    void connectButtonPanel();
    void connectPanel();
    // The set-up changed: scroll ranges, names, level choices.
    void showSetup();
    void showSetupDialog();
    void resetControls();
    void showMacroButtons();
    void showPanel();
    // The name field that has the window's focus, if any, is committed, as
    // if the focus had left it and come back; also while the window is not
    // the active one.
    void commitFieldBeingEdited();
    // Commits the name in field when it is one of the name fields.
    void commitNameField(const QObject *field);
    void nameFieldLeft(QLineEdit *field, QLabel *caption, const QString &shown);
    // Names stored anew (by anyone): shown at once, but a field the operator
    // is editing keeps the operator's text, whose commit is the later change.
    void showRenamedPorts(bool inputs, const QList<int> &matrixPorts);
    void DisplayOutSel(int Index, bool isSel);
    void showCell(int cell, MatrixDisplay::Mark mark);
    void setScrollRange(QScrollBar *bar, int highestInUse);
    void outputClick(int c);
    // The marks and tooltips of the locked outputs in view.
    void showLockMarks();
    // Right-click on column c's number or lock mark: "Unlock" while it is locked.
    void lockMenu(int c, QPoint globalPosition);
    void inputClick(int r);
    void cellClick(int index);
    void Form_Unload();
    [[nodiscard]] bool levelKey(const QEvent *event) const;

    MainPanel &m_panel;
    Services m_services;
    Pictures m_pictures;
    MainMatrixControls m_controls;
    OutputLockMarks m_lockMarks;
};
