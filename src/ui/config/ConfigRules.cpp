#include "ui/config/ConfigRules.h"

#include "base/PanelLimits.h"
#include "config/ComPort.h"
#include "config/Configuration.h"
#include "desktop/AppFolder.h"
#include "desktop/Dialogs.h"
#include "desktop/Fault.h"
#include "desktop/Help.h"
#include "desktop/NumberReader.h"

#include <QLocale>
#include <algorithm>
#include <charconv>
#include <cmath>

namespace {

// Matrix outputs 0 to 127 can be claimed; beyond them there is no matrix.
constexpr int ClaimTableSize = limits::TableSize;

QString number(int value)
{
    return QString::number(value);
}

QString handlerName(ConfigRules::RowField field)
{
    switch (field) {
    case ConfigRules::RowField::Inputs:
        return QStringLiteral("txtInputs_LostFocus");
    case ConfigRules::RowField::Outputs:
        return QStringLiteral("txtOutputs_LostFocus");
    case ConfigRules::RowField::MInput:
        return QStringLiteral("txtMInput_LostFocus");
    case ConfigRules::RowField::MOutput:
        return QStringLiteral("txtMOutput_LostFocus");
    }
    return {};
}

QString routerText(int slot)
{
    return QStringLiteral("Router ") + number(slot);
}

} // namespace

ConfigRules::ConfigRules(Configuration &config, QObject *parent) : QObject(parent), m_config(config)
{}

ConfigRules::~ConfigRules() = default;

void ConfigRules::Form_Load()
{
    desktop::runTrapped(QStringLiteral("Form_Load"), [this] {
        completeHelpFile();
        m_advancedMode = false;
        m_updateDepth = 1;
        const QString &port = m_config.CommPortName;
        m_comIndex = 0;
        if (!port.isEmpty()) {
            // "COM0" or "COMX" selects nothing.
            const int portNumber = comPortNumber(port);
            m_comIndex = portNumber >= 1 && portNumber <= ComPortCount ? portNumber - 1 : -1;
        }
        m_initialTimeoutText = timeoutText(m_config.RouterTimeout);
        int count = 0;
        while (count < RouterSlotCount && m_config.Routers[std::size_t(count)]) {
            m_work[std::size_t(count)].router = m_config.Routers[std::size_t(count)].get();
            ++count;
        }
        cboRouterCount_Click(-1);
        m_updateDepth = 0;
        cboRouterCount_Click(count);
    });
}

QString ConfigRules::timeoutText(float routerTimeout)
{
    if (routerTimeout == 0.0f)
        return QStringLiteral("2");
    // The shortest text that reads back as the same Single.
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, routerTimeout);
    QString text = QString::fromLatin1(buffer, result.ptr - buffer);
    return text.replace(u'.', QLocale().decimalPoint());
}

float ConfigRules::ConvertToSingle(const QString &text)
{
    bool ok = false;
    const float value = QLocale().toFloat(text, &ok);
    return ok && std::isfinite(value) ? value : 0.0f;
}

void ConfigRules::cboCom_Click(int position)
{
    m_comIndex = position;
}

void ConfigRules::cboCom_Change()
{
    m_comIndex = -1;
}

void ConfigRules::cboRouterCount_Click(int position)
{
    m_fieldFocused = false;
    m_lastRouter = position - 1;
    m_scrollMaximum = std::max(0, int(std::nearbyint(m_lastRouter - 1.5)));
    emit scrollChanged();
    if (m_topRow > m_scrollMaximum)
        VScroll_Change(m_scrollMaximum);
    if (m_updateDepth != 0)
        return;
    applyCount();
    UpdateRouterBox();
}

void ConfigRules::applyCount()
{
    for (int slot = 0; slot < RouterSlotCount; ++slot) {
        WorkSlot &work = m_work[std::size_t(slot)];
        if (slot > m_lastRouter) {
            work.router = nullptr;
            work.created.reset();
        } else if (!work.router) {
            work.created = std::make_unique<clsRouter>();
            work.created->setFrameAddress(slot);
            work.router = work.created.get();
        }
    }
}

void ConfigRules::VScroll_Change(int value)
{
    m_fieldFocused = false;
    m_topRow = value;
    emit scrollChanged();
    UpdateRouterBox();
}

void ConfigRules::btnAdvanced_Click(bool ticked)
{
    m_fieldFocused = false;
    m_advancedMode = ticked;
    UpdateRouterBox();
}

void ConfigRules::UpdateRouterBox()
{
    ++m_updateDepth;
    emit rowsRefilled();
    --m_updateDepth;
}

void ConfigRules::UpdateMapEndLabels(int row)
{
    emit endLabelsChanged(row);
}

clsRouter *ConfigRules::WorkRouters(int slot) const
{
    return slot >= 0 && slot < RouterSlotCount ? m_work[std::size_t(slot)].router : nullptr;
}

clsRouter *ConfigRules::routerInRow(int row) const
{
    return row >= 0 && row < VisibleRows ? WorkRouters(m_topRow + row) : nullptr;
}

ConfigRules::Row ConfigRules::row(int k) const
{
    Row shown;
    const clsRouter *router = routerInRow(k);
    if (!router)
        return shown;
    shown.filled = true;
    shown.frameAddress = QStringLiteral("%1").arg(m_topRow + k, 2, 10, QLatin1Char('0'));
    shown.routerType = router->RouterType();
    shown.split = router->canSplit;
    shown.inputs = fieldText(RowField::Inputs, k);
    shown.outputs = fieldText(RowField::Outputs, k);
    shown.mInput = fieldText(RowField::MInput, k);
    shown.mOutput = fieldText(RowField::MOutput, k);
    if (m_advancedMode) {
        shown.mInEnd = u'-' + number(router->MapInput(router->InputCount()) + 1);
        shown.mOutEnd = u'-' + number(router->MapOutput(router->OutputCount()) + 1);
    }
    return shown;
}

QString ConfigRules::fieldText(RowField field, int row) const
{
    const clsRouter *router = routerInRow(row);
    if (!router)
        return {};
    switch (field) {
    case RowField::Inputs:
        return number(router->InputCount() + 1);
    case RowField::Outputs:
        return number(router->OutputCount() + 1);
    case RowField::MInput:
        return number(router->mapIn() + 1);
    case RowField::MOutput:
        return number(router->mapOut() + 1);
    }
    return {};
}

void ConfigRules::runOnRow(const QString &operation, int row, const std::function<void(clsRouter &)> &body)
{
    if (m_updateDepth != 0)
        return;
    desktop::runTrapped(operation, [&] {
        clsRouter *router = routerInRow(row);
        if (!router)
            throw desktop::Fault(desktop::FaultText::SubscriptOutOfRange);
        body(*router);
    });
}

void ConfigRules::cboRouter_Click(int row, int position)
{
    runOnRow(QStringLiteral("cboRouter_Click"), row, [&](clsRouter &router) {
        if (position < 0) {
            desktop::dialogs().beep();
            emit typeRestored(row);
            return;
        }
        router.setRouterType(position);
        if (!m_advancedMode)
            AutoOutputMapping();
    });
}

void ConfigRules::ckAVSplit_Click(int row, bool ticked)
{
    runOnRow(QStringLiteral("ckAVSplit_Click"), row, [&](clsRouter &router) { router.canSplit = ticked; });
}

void ConfigRules::rowFieldGotFocus()
{
    m_fieldFocused = true;
}

void ConfigRules::rowFieldLostFocus(RowField field, int row, const QString &text)
{
    if (!m_fieldFocused || m_updateDepth != 0)
        return;
    clsRouter *router = routerInRow(row);
    if (!router)
        return;
    const bool completed = desktop::runTrapped(handlerName(field), [&] {
        (void)router->wasError();
        // Shown counted from 1, stored from 0; beyond 16 bits is an overflow, never a wrap.
        storeField(field, *router, desktop::roundToWhole<qint16>(desktop::leadingNumber(text) - 1));
        if (router->wasError())
            emit fieldRestored(row, field);
        if (field == RowField::Outputs)
            AutoOutputMapping();
        else
            UpdateMapEndLabels(row);
    });
    // The router is unchanged after a fault: so is the field.
    if (!completed)
        emit fieldRestored(row, field);
}

void ConfigRules::storeField(RowField field, clsRouter &router, int value)
{
    switch (field) {
    case RowField::Inputs:
        return router.setInputCount(value);
    case RowField::Outputs:
        return router.setOutputCount(value);
    case RowField::MInput:
        return router.setMapIn(value);
    case RowField::MOutput:
        return router.setMapOut(value);
    }
}

void ConfigRules::AutoOutputMapping()
{
    desktop::runTrapped(QStringLiteral("AutoOutputMapping"), [this] {
        const clsRouter *predecessor = nullptr;
        for (const WorkSlot &work : m_work) {
            clsRouter *router = work.router;
            if (!router)
                break;
            if (router->RouterType() == -1)
                continue;
            const int start = predecessor ? predecessor->MapOutput(predecessor->OutputCount()) + 1 : 0;
            // A refused start keeps the router's offset; the box has told the operator.
            if (start != router->mapOut())
                router->setMapOut(start);
            predecessor = router;
        }
        UpdateRouterBox();
    });
}

void ConfigRules::btnResetMapping_Click()
{
    AutoOutputMapping();
    for (int slot = 0; slot <= m_lastRouter; ++slot) {
        if (clsRouter *router = WorkRouters(slot))
            router->setMapIn(0);
    }
}

bool ConfigRules::btnOK_Click(const QString &timeoutTextTyped)
{
    m_fieldFocused = false;
    bool committed = false;
    desktop::runTrapped(QStringLiteral("btnOK_Click"), [&] {
        if (m_comIndex < 0 || m_comIndex >= ComPortCount)
            return desktop::showMessage(limits::ProgramName, QStringLiteral("Please set the COM port to something"));
        const float timeout = ConvertToSingle(timeoutTextTyped);
        if (!(timeout > 0.0f && timeout <= MaxTimeout))
            return desktop::showMessage(limits::ProgramName, QStringLiteral("Router Timeout must be between .01 and ") +
                                                                 number(int(MaxTimeout)) + QStringLiteral(" seconds"));
        const QString refusal = checkRouters();
        if (!refusal.isEmpty())
            return desktop::showMessage(limits::ProgramName, refusal);
        commit(timeout);
        committed = true;
    });
    return committed;
}

QString ConfigRules::checkRouters() const
{
    std::array<int, ClaimTableSize> claimedBy;
    claimedBy.fill(-1);
    for (int slot = 0; slot < RouterSlotCount; ++slot) {
        const clsRouter *router = WorkRouters(slot);
        if (!router)
            break;
        if (router->RouterType() == -1)
            return routerText(slot) + QStringLiteral(" has no router type selected");
        if (router->OutputCount() < 0)
            return routerText(slot) + QStringLiteral(" has an output count of zero");
        if (router->InputCount() < 0)
            return routerText(slot) + QStringLiteral(" has an input count of zero");
        for (int output = 0; output <= router->OutputCount(); ++output) {
            const int matOut = router->MapOutput(output);
            // An output count raised after the offset was set can reach past the matrix.
            if (matOut >= ClaimTableSize)
                throw desktop::Fault(routerText(slot) +
                                     QStringLiteral(" has mapped output(s) running past the last matrix output"));
            const int claimant = claimedBy[std::size_t(matOut)];
            if (claimant != -1)
                return routerText(slot) + QStringLiteral(" has mapped output(s) overlapping ") + routerText(claimant) +
                       QStringLiteral(". Set the range to unused area.");
            claimedBy[std::size_t(matOut)] = slot;
        }
    }
    return {};
}

void ConfigRules::commit(float timeout)
{
    m_config.CommPortName = comPortName(m_comIndex + 1);
    m_config.RouterTimeout = timeout;
    for (int slot = 0; slot < RouterSlotCount; ++slot) {
        WorkSlot &work = m_work[std::size_t(slot)];
        auto &target = m_config.Routers[std::size_t(slot)];
        if (work.created)
            target = std::move(work.created);
        else if (target.get() != work.router)
            target.reset();
        work.router = nullptr;
    }
    m_config.ConfigLoaded = true;
}

void ConfigRules::btnCancel_Click()
{
    m_fieldFocused = false;
}
