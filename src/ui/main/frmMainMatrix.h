#pragma once

#include "link/MacroButtons.h"
#include "link/RouteModule.h"
#include "link/RouteTarget.h"
#include "link/SerialLink.h"
#include "link/StatusSink.h"
#include "model/MatrixView.h"
#include "ui/main/ButtonPanel.h"
#include "ui/main/MainMatrixControls.h"
#include "ui/main/MatrixDisplay.h"
#include "ui/main/MatrixTakes.h"
#include "ui/main/OutputSelection.h"
#include "ui/main/PanelControl.h"
#include "ui/main/Pictures.h"
#include "ui/main/PortNames.h"
#include "ui/main/StatusLine.h"

#include <QMainWindow>
#include <functional>

class QLabel;
class QLineEdit;
class QScrollBar;

// The main window: the 16 x 16 view onto the matrix with its names and
// scroll bars, the level selector, the macro column, the status line and the
// button panel strip. It is the status sink of the link and the target of
// macro replay. Its rules live in plain classes it drives (OutputSelection,
// MatrixTakes, MatrixDisplay, StatusLine, MacroButtons, ButtonPanel,
// PortNames); the window forwards events to them and shows their state.
class frmMainMatrix final : public QMainWindow, public StatusSink, public RouteTarget
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
        // The status line's monotonic clock in milliseconds.
        StatusLine::Clock clock = StatusLine::monotonicClock();
    };

    explicit frmMainMatrix(Services services, QWidget *parent = nullptr);
    ~frmMainMatrix() override;

    // The start-up sequence: the default set-up loaded, the window reset and
    // the configuration dialog shown; call before showing the window.
    void Form_Load();
    // Rebuilds the window after the configuration changed.
    void ReturnFromConfig();

    void SetErrMsg(const QString &msg) override;
    void StopRecordTimer();
    void Route(clsRouter &Router, int phyOut, int phyIn, int Level) override;

    void UpdateDisplayNames(bool doInputs, bool doOutputs);
    void UpdateDisplayMatrix();
    void imgLayerSel_Click(int Index);

    void mnuLoadConfig_Click();
    void mnuSaveConfig_Click();
    void mnuSetup_Click();
    void mnuLoadMacros_Click();

    [[nodiscard]] int CurrentLevel() const { return m_takes.CurrentLevel; }
    [[nodiscard]] const MatrixView &view() const { return m_view; }
    [[nodiscard]] const OutputSelection &selection() const { return m_selection; }
    [[nodiscard]] const MatrixDisplay &display() const { return m_display; }
    [[nodiscard]] const Pictures &pictures() const { return m_pictures; }
    [[nodiscard]] StatusLine &statusLine() { return m_status; }
    [[nodiscard]] SerialLink &Comm() { return m_comm; }

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildMenus();
    void connectControls();
    void resetControls();
    void connectPanel();
    void showMacroButtons();
    void showPanel();
    // The name field that has the window's focus, if any, is committed, as
    // if the focus had left it and come back; also while the window is not
    // the active one.
    void commitFieldBeingEdited();
    // Commits the name in field when it is one of the name fields.
    void commitNameField(const QObject *field);
    void nameFieldLeft(QLineEdit *field, QLabel *caption, const QString &shown);
    void DisplayOutSel(int Index, bool isSel);
    void showCell(int cell, MatrixDisplay::Mark mark);
    void setScrollRange(QScrollBar *bar, int highestInUse);
    void onVScroll(int value);
    void onHScroll(int value);
    void outputClick(int c);
    void inputClick(int r);
    void cellClick(int Index);
    void Form_Unload();
    // Keeps the default file that failed to load beside it as ".bak".
    void keepUnloadableDefault(const QString &path);
    [[nodiscard]] bool levelKey(const QEvent *event) const;

    Services m_services;
    Pictures m_pictures;
    MainMatrixControls m_controls;
    StatusLine m_status;
    SerialLink m_comm;
    MatrixView m_view;
    MatrixDisplay m_display;
    OutputSelection m_selection;
    RouteModule m_routes;
    MatrixTakes m_takes;
    MacroButtons m_macros;
    PortNames m_names;
    ButtonPanel m_panel;
    // Last: scripts' commands may come in as soon as it exists.
    PanelControl m_control;
    // The default file existed at start-up but did not load.
    bool m_defaultUnloadable = false;
    bool m_unloaded = false;
};
