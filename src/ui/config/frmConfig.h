#pragma once

#include "ui/config/ConfigRules.h"

#include <QDialog>
#include <array>

class ChoiceList;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;

// "Configure Router": the router count, each router's type, A/V split, port
// counts and (advanced mode) matrix offsets, the COM port and the timeout.
// Works on the set-up it is given; OK stores the set-up, Cancel and the close box keep
// it (edits already made to existing routers stay). The rules live in
// ConfigRules; this class holds the controls and forwards their events.
class frmConfig : public QDialog
{
    Q_OBJECT

public:
    explicit frmConfig(Configuration &setup, QWidget *parent = nullptr);
    ~frmConfig() override;

    [[nodiscard]] const ConfigRules &rules() const { return m_rules; }

    void reject() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    struct RowControls
    {
        QLabel *lblFA = nullptr;
        ChoiceList *cboRouter = nullptr;
        QCheckBox *ckAVSplit = nullptr;
        std::array<QLineEdit *, 4> fields{}; // indexed by ConfigRules::RowField
        QLabel *lblMInEnd = nullptr;
        QLabel *lblMOutEnd = nullptr;
    };

    void createTopStrip();
    void createGrid();
    void createBottomStrip();
    void setTabOrder();
    void connectRules();
    void btnAdvanced_Click(bool ticked);
    void btnOK_Click();
    void showRows();
    void showEndLabels(int row);
    void showScroll();
    [[nodiscard]] QLineEdit *field(int row, ConfigRules::RowField which) const;

    ConfigRules m_rules;
    ChoiceList *m_cboRouterCount = nullptr;
    QCheckBox *m_btnAdvanced = nullptr;
    QPushButton *m_btnResetMapping = nullptr;
    QLabel *m_lblMapHelp = nullptr;
    QLabel *m_lblMapIn = nullptr;
    QLabel *m_lblMapOut = nullptr;
    QScrollBar *m_VScroll = nullptr;
    std::array<RowControls, ConfigRules::VisibleRows> m_rows{};
    ChoiceList *m_cboCom = nullptr;
    QLineEdit *m_txtTimeout = nullptr;
    QPushButton *m_btnCancel = nullptr;
    QPushButton *m_btnOK = nullptr;
};
