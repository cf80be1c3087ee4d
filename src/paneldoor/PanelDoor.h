#pragma once

#include "door/RemoteDoor.h"

class MainPanel;
class MatrixTakes;
class RouteModule;

// The panel's side of every remote door: whatever the control port and the
// protocol servers ask of the running panel comes in here, and the panel's
// changes go out to them as RemoteDoor's signals. Routes go through the same
// take as a click (MatrixTakes, so markers move and a recording sees the
// route), macros through the same replay as a macro button, names through
// the rules of a name field.
// Until the panel has started up (its start-up configuration dialog closed),
// routes, macros and show files are refused: the set-up they would go by is not settled
// yet. The state and the names are answered all along.
class PanelDoor final : public RemoteDoor
{
    Q_OBJECT

public:
    // The answer to a route or macro while the panel is starting up.
    static const QString StartingUpMessage;

    explicit PanelDoor(MainPanel &panel, QObject *parent = nullptr);

    Outcome route(int frameAddress, int phyOut, int phyIn, int level) override;
    Outcome recallMacro(int slot) override;
    Outcome sources(int frameAddress, int phyOut, OutputSources &result) override;
    [[nodiscard]] QStringList names() const override;
    ShowDoor *shows(QString &refusal) override;

    [[nodiscard]] MatrixSnapshot matrix() const override;
    Outcome takeRoute(int matOut, int matIn, int level, const RouteSource &origin) override;
    QList<int> applyLocks(const QList<LockLine> &lines, const RouteSource &origin) override;
    QString renamePort(bool input, int matrixPort, const QString &name, const RouteSource &origin) override;
    [[nodiscard]] StatusSink &status() override;
    void logActivity(const QString &source, const QString &event) override;

private:
    MainPanel &m_panel;
    RouteModule &m_routes;
    MatrixTakes &m_takes;
};
