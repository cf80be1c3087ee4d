#pragma once

#include <QObject>

class MainPanel;
class QMenu;
class QWidget;

// The File menu's show-file items on the main window: Save Snapshot, Recall
// Snapshot (the recall runs on the event loop, Escape stops it), Import and
// Export Names. The panel's show files do the work; this asks the operator.
class ShowFileMenu final : public QObject
{
    Q_OBJECT

public:
    ShowFileMenu(MainPanel &panel, QWidget &window);

    // Adds the items, two groups each followed by a separator.
    void addTo(QMenu &file);

    void saveSnapshot();
    void recallSnapshot();
    void importNames();
    void exportNames();

private:
    void tell(const QString &title, bool ok, const QString &text);

    MainPanel &m_panel;
    QWidget &m_window;
};
