#pragma once

#include "ui/main/RecallChoices.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;

// File > Recall Snapshot: the snapshots with their time; for the one chosen,
// how many routes would change and which outputs are locked. OK takes it.
class frmRecallSnapshot final : public QDialog
{
    Q_OBJECT

public:
    frmRecallSnapshot(const ShowFiles &shows, QWidget *parent = nullptr);

    [[nodiscard]] QString chosenName() const { return m_choices.chosenName(); }
    // Send every route, also those the panel knows to be in place.
    [[nodiscard]] bool allRoutes() const;

private:
    void chosen(int row);

    RecallChoices m_choices;
    QListWidget *m_lstSnapshots;
    QLabel *m_lblChanges;
    QLabel *m_lblLocked;
    QCheckBox *m_chkAll;
    QPushButton *m_cmdOK;
};
