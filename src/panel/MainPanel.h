#pragma once

#include "config/Configuration.h"
#include "link/ActivityLog.h"
#include "link/MacroRecorder.h"
#include "link/RouteModule.h"
#include "link/RouteObserver.h"
#include "link/RouteTarget.h"
#include "link/SerialLink.h"
#include "link/StatusSink.h"
#include "model/MacroBank.h"
#include "model/MatrixTables.h"
#include "model/MatrixView.h"
#include "panel/ButtonPanel.h"
#include "panel/MacroButtons.h"
#include "panel/MatrixDisplay.h"
#include "panel/MatrixTakes.h"
#include "panel/NameList.h"
#include "panel/OutputLocks.h"
#include "panel/OutputSelection.h"
#include "panel/PortNames.h"
#include "panel/StatusLine.h"

#include <QMap>
#include <QObject>
#include <array>
#include <functional>
#include <memory>
#include <optional>

// One running panel, without widgets: the set-up, the line to the routers,
// route execution, and the rules a window drives (the output selection, the
// takes, the cells, the button panel, the port names, the macro buttons, the
// status line). It runs the start-up load, keeps a default file that did
// not load whole as ".bak" and saves the set-up on exit. It is the status sink of the link
// and the target of macro replay; observers learn from its signals (and
// those of its rules) what changed. It holds the output locks remote clients
// take, refuses every other route to a locked output, and writes every route
// attempt, name change and lock change to activity.log in the data folder.
class ShowFiles;

class MainPanel final : public QObject, public StatusSink, public RouteTarget, private RouteObserver
{
    Q_OBJECT

public:
    explicit MainPanel(StatusLine::Clock clock = StatusLine::monotonicClock(), QObject *parent = nullptr);
    ~MainPanel() override;
    MainPanel(const MainPanel &) = delete;
    MainPanel &operator=(const MainPanel &) = delete;

    // The start-up: the default set-up loaded (or the empty one; a default
    // file with rejected lines kept as ".bak" at once, the status line
    // naming the lines), the view reset, recording off, then setup() (the
    // configuration dialog) and ReturnFromConfig. Faults are trapped as
    // "Function Form_Load"; the panel has started up afterwards, also when
    // a fault cut the start-up short.
    void Form_Load(const std::function<void()> &setup);
    [[nodiscard]] bool startedUp() const { return m_startedUp; }
    // The set-up changed: tables rebuilt, setupChanged(), macro captions,
    // the port (re)opened.
    void ReturnFromConfig();
    // File > Load Configuration / Load Macros (a dialog asks for the file;
    // the status line names the lines it did not read) and Save
    // Configuration.
    void loadConfiguration(bool macrosOnly);
    void saveConfiguration();
    // The exit: unloading() (servers let their clients go, freeing what the
    // save needs), takes stop, the set-up goes to the default file (one that
    // did not load, or whose copy the start-up could not make, kept as
    // ".bak" first, with a status message saying why), the port closes.
    // Once only.
    void Form_Unload();
    [[nodiscard]] bool unloaded() const { return m_unloaded; }
    // The exit wrote the set-up; false also before the exit.
    [[nodiscard]] bool savedAtExit() const { return m_savedAtExit; }

    // The first visible row / column; names and cells follow.
    void setInOffset(int value);
    void setOutOffset(int value);

    void SetErrMsg(const QString &msg) override;
    void setNote(const QString &msg) override;
    void Route(clsRouter &Router, int phyOut, int phyIn, int Level) override;

    // The per-user application folder, ending with "/" (empty when it cannot be made).
    [[nodiscard]] QString dataFolder() const { return m_dataFolder; }
    [[nodiscard]] Configuration &config() { return m_config; }
    [[nodiscard]] const Configuration &config() const { return m_config; }
    [[nodiscard]] const MatrixTables &tables() const { return m_tables; }
    [[nodiscard]] MacroBank &macroBank() { return m_bank; }
    [[nodiscard]] const MacroRecorder &recorder() const { return m_recorder; }
    [[nodiscard]] SerialLink &Comm() { return m_comm; }
    [[nodiscard]] const MatrixView &view() const { return m_view; }
    [[nodiscard]] MatrixDisplay &display() { return m_display; }
    [[nodiscard]] const MatrixDisplay &display() const { return m_display; }
    [[nodiscard]] OutputSelection &selection() { return m_selection; }
    [[nodiscard]] const OutputSelection &selection() const { return m_selection; }
    [[nodiscard]] RouteModule &routes() { return m_routes; }
    [[nodiscard]] MatrixTakes &takes() { return m_takes; }
    [[nodiscard]] MacroButtons &macros() { return m_macros; }
    [[nodiscard]] PortNames &names() { return m_names; }
    [[nodiscard]] const PortNames &names() const { return m_names; }
    [[nodiscard]] ButtonPanel &buttonPanel() { return m_buttonPanel; }
    [[nodiscard]] StatusLine &statusLine() { return m_status; }
    [[nodiscard]] const OutputLocks &locks() const { return m_locks; }
    // Snapshots and name lists.
    [[nodiscard]] ShowFiles &shows() { return *m_shows; }
    // The activity log; none when the data folder is unknown.
    [[nodiscard]] const ActivityLog *activityLog() const { return m_log ? &*m_log : nullptr; }

    // The source of routes, renames and lock changes made from now on; set
    // it with a RouteSourceScope. The panel's own unless set.
    [[nodiscard]] RouteSource &currentSource() { return m_routes.currentSource(); }

    // A remote client's lock block for the owner of the current source (see
    // OutputLocks::apply); every line is logged.
    QList<int> applyLocks(const QList<LockLine> &lines);
    // The window's Unlock on matrix output matOut (0-based): frees it for
    // everyone; logged as "panel-unlock".
    void unlockOutput(int matOut);
    // A line of the activity log from `source` that is neither a route, a
    // rename nor a lock (an output's state), within the source's lines a minute.
    void logActivity(const QString &source, const QString &event);
    // Every name given, as one change: the "!" rule sees the names as they
    // end, each port is logged once, and one portNamesChanged per kind tells
    // the window and the clients. How many names changed.
    int setPortNames(const QList<NameList::PortName> &names);

signals:
    // Cell `cell` (row * 16 + column of the visible grid) now shows mark.
    void cellChanged(int cell, MatrixDisplay::Mark mark);
    // Visible column index was selected or deselected.
    void outputSelectionChanged(int index, bool isSel);
    // The names of the visible rows and/or columns are to be shown afresh.
    void namesChanged(bool inputs, bool outputs);
    // Routers, port or timeout changed (after sizeMatrix): ranges, names
    // and level choices are to be shown afresh.
    void setupChanged();
    // The start-up reset the view: selection, input buttons and cells.
    void viewReset();
    // A route attempt on matrix output matOut (0-based) on level ended,
    // acknowledged or not: its route state is to be shown afresh.
    void outputRouted(int matOut, int level, bool acknowledged);
    // Stored names of matrix inputs (or outputs) changed, by the panel or a client.
    void portNamesChanged(bool inputs, const QList<int> &matrixPorts);
    // The locks of these matrix outputs changed (whoever changed them).
    void locksChanged(const QList<int> &matOuts);
    // The exit begins: nothing remote is served from now on.
    void unloading();

private:
    QString refusal(int frameAddress, int phyOut, const RouteSource &source) override;
    void routeAttempted(const RouteAttempt &attempt) override;
    void portRenamed(bool input, int matrixPort, const QString &oldName, const QString &newName);
    void logLock(const QString &action, int matOut, const QString &owner, OutputLocks::Outcome outcome);
    void log(const QString &event);
    [[nodiscard]] const clsRouter *routerAt(int frameAddress) const;

    // Keeps the default file as it was at start-up beside it, as ".bak".
    // Throws desktop::Fault when it cannot.
    static void keepDefaultAsLoaded(const QString &path);
    // The start-up load rejected lines: the file is kept now, and the status
    // line says which lines and where the file is.
    void keepRejectedDefault(const QString &path, const QString &notRead);

    QString m_dataFolder;
    Configuration m_config;
    MatrixTables m_tables;
    MacroBank m_bank;
    MacroRecorder m_recorder;
    StatusLine m_status;
    SerialLink m_comm;
    MatrixView m_view;
    MatrixDisplay m_display;
    OutputSelection m_selection;
    RouteModule m_routes;
    MatrixTakes m_takes;
    MacroButtons m_macros;
    PortNames m_names;
    ButtonPanel m_buttonPanel;
    OutputLocks m_locks;
    std::optional<ActivityLog> m_log;
    std::unique_ptr<ShowFiles> m_shows;
    // While setPortNames runs: the name each port had before it, by kind.
    std::optional<std::array<QMap<int, QString>, 2>> m_namesBefore;
    // Why the default file is still to be kept as it was before the exit
    // save overwrites it (it did not load, or lines of it were rejected and
    // no copy could be made then); empty when it need not be.
    QString m_keepDefaultBecause;
    bool m_startedUp = false;
    bool m_unloaded = false;
    bool m_savedAtExit = false;
};
