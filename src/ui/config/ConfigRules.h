#pragma once

#include "base/PanelLimits.h"
#include "model/RouterSlots.h"

#include <QObject>
#include <QString>
#include <array>
#include <functional>
#include <memory>

struct Configuration;

// What the configuration dialog does to the set-up, without the widgets: the
// working router list, the router count and scroll range, the event gating
// (UpdateDepth, whether a row field had the focus), what each row control writes into its router,
// the automatic output mapping, the reset and OK's checks and commit. The
// dialog forwards its control events here and redraws from row() when told.
class ConfigRules final : public QObject
{
    Q_OBJECT

public:
    static constexpr int VisibleRows = 4;
    static constexpr int MaxRouterCount = RouterSlotCount;
    // Stored timeouts above this are refused by OK.
    static constexpr float MaxTimeout = limits::MaxRouterTimeout;

    // The four text fields of a row.
    enum class RowField { Inputs, Outputs, MInput, MOutput };

    // What one of the four grid rows shows.
    struct Row
    {
        bool filled = false;  // a router sits in the row's slot
        QString frameAddress; // "00" to "15", "" for an empty row
        int routerType = -1;  // type list position, -1 for none
        bool split = false;
        QString inputs;
        QString outputs;
        QString mInput;
        QString mOutput;
        QString mInEnd; // "-<last matrix input>", "" outside advanced mode
        QString mOutEnd;
    };

    explicit ConfigRules(Configuration &config, QObject *parent = nullptr);
    // Form_Unload: the working list is emptied; routers created here and not
    // committed are dropped.
    ~ConfigRules() override;
    ConfigRules(const ConfigRules &) = delete;
    ConfigRules &operator=(const ConfigRules &) = delete;

    // Opening: completes the help file path, takes the routers up to the
    // first gap, applies their count. A fault shows "Function Form_Load".
    void Form_Load();
    // The chosen port entry (0 = COM1), -1 for none; the opening chooses
    // the configured port.
    [[nodiscard]] int comIndex() const { return m_comIndex; }
    // The timeout text the opening shows.
    [[nodiscard]] QString initialTimeoutText() const { return m_initialTimeoutText; }

    // Typed text in a drop-down list is not a choice: the _Click handlers
    // run only for entries chosen from the list. Port text typed leaves the
    // port list without a selection, which OK refuses.
    void cboCom_Click(int position);
    void cboCom_Change();
    // Count list entry chosen (position = router count); -1 clears it.
    void cboRouterCount_Click(int position);
    void VScroll_Change(int value);
    void btnAdvanced_Click(bool ticked);
    // position -1: nothing selected (beep, the list shows the type again).
    void cboRouter_Click(int row, int position);
    void ckAVSplit_Click(int row, bool ticked);
    void rowFieldGotFocus();
    void rowFieldLostFocus(RowField field, int row, const QString &text);
    void AutoOutputMapping();
    void btnResetMapping_Click();
    // Checks and commits; true when the set-up was stored (the dialog closes).
    [[nodiscard]] bool btnOK_Click(const QString &timeoutText);
    void btnCancel_Click();

    // The text field's number converted by the user's number format; 0 when
    // it is not a number or out of range.
    [[nodiscard]] static float ConvertToSingle(const QString &text);
    // routerTimeout as the timeout field shows it ("2" for 0).
    [[nodiscard]] static QString timeoutText(float routerTimeout);

    [[nodiscard]] Row row(int k) const;
    [[nodiscard]] QString fieldText(RowField field, int row) const;
    [[nodiscard]] clsRouter *WorkRouters(int slot) const;
    [[nodiscard]] int LastRouter() const { return m_lastRouter; }
    [[nodiscard]] int TopRow() const { return m_topRow; }
    [[nodiscard]] int scrollMaximum() const { return m_scrollMaximum; }
    [[nodiscard]] bool AdvancedMode() const { return m_advancedMode; }
    [[nodiscard]] int UpdateDepth() const { return m_updateDepth; }

signals:
    // UpdateRouterBox: every row shows row(k) again.
    void rowsRefilled();
    // UpdateMapEndLabels for one row.
    void endLabelsChanged(int row);
    // A refused field edit: the field shows the router's value again.
    void fieldRestored(int row, ConfigRules::RowField field);
    // A type choice without a selection: the list shows the router's type again.
    void typeRestored(int row);
    // The scroll range or position changed.
    void scrollChanged();

private:
    struct WorkSlot
    {
        clsRouter *router = nullptr;
        // Set for a router this dialog created; it joins Routers on OK.
        std::unique_ptr<clsRouter> created;
    };

    void UpdateRouterBox();
    void UpdateMapEndLabels(int row);
    void applyCount();
    [[nodiscard]] clsRouter *routerInRow(int row) const;
    // A row control's handler: nothing while the rows are refilled; faults
    // (no router in the row) are shown titled with the operation.
    void runOnRow(const QString &operation, int row, const std::function<void(clsRouter &)> &body);
    void storeField(RowField field, clsRouter &router, int value);
    // The first refusal of the router checks, "" when all pass.
    [[nodiscard]] QString checkRouters() const;
    void commit(float timeout);

    Configuration &m_config;
    std::array<WorkSlot, RouterSlotCount> m_work;
    int m_lastRouter = -1;
    int m_topRow = 0;
    int m_scrollMaximum = 0;
    bool m_advancedMode = false;
    int m_updateDepth = 0;
    bool m_fieldFocused = false;
    int m_comIndex = 0;
    QString m_initialTimeoutText;
};
