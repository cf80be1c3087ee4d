#include "panel/ButtonPanel.h"

#include "base/PanelLimits.h"
#include "desktop/AppFolder.h"
#include "desktop/Dialogs.h"
#include "desktop/Fault.h"
#include "desktop/Shell.h"
#include "model/MatrixView.h"

#include <utility>

namespace {

void checkButtonIndex(int index, int count)
{
    if (index < -1 || index >= count)
        throw desktop::Fault(desktop::FaultText::SubscriptOutOfRange);
}

} // namespace

ButtonPanel::ButtonPanel(const MatrixView &view, TakeRouteFn takeRoute, QObject *parent)
    : QObject(parent), m_view(view), m_takeRoute(std::move(takeRoute))
{}

void ButtonPanel::press(Side side, int i)
{
    m_held = Held{side, i};
    emit changed();
}

void ButtonPanel::release(Side side, int i, QPoint releasePoint)
{
    m_held.reset();
    emit changed();
    const bool onButton = releasePoint.x() >= 0 && releasePoint.x() <= ButtonWidthTwips && releasePoint.y() >= 0 &&
                          releasePoint.y() <= ButtonHeightTwips;
    if (!onButton)
        return;
    if (side == Side::Inputs)
        SelBPIn(i);
    else
        SelBPOut(i);
}

void ButtonPanel::SelBPIn(int Index)
{
    desktop::runTrapped(QStringLiteral("SelBPIn"), [&] { selectIn(Index); });
}

void ButtonPanel::SelBPOut(int Index)
{
    desktop::runTrapped(QStringLiteral("SelBPOut"), [&] { selectOut(Index, desktop::shell().CtrlKeyDown()); });
}

void ButtonPanel::selectIn(int index)
{
    checkButtonIndex(index, ButtonCount);
    m_inSel = index;
    emit changed();
}

void ButtonPanel::selectOut(int index, bool ctrl)
{
    checkButtonIndex(index, ButtonCount);
    const bool wasSelected = m_outSel.contains(index);
    if (!ctrl)
        m_outSel.clear();
    if (wasSelected)
        m_outSel.removeOne(index);
    else if (index >= 0)
        m_outSel.append(index);
    emit changed();
}

void ButtonPanel::clearSelection()
{
    m_inSel = -1;
    m_outSel.clear();
    emit changed();
}

void ButtonPanel::imgBPTake_MouseDown(int Index)
{
    m_takeHeld = Index;
    emit changed();
}

void ButtonPanel::imgBPTake_MouseUp(int Index)
{
    if (m_takeHeld != Index)
        return;
    m_takeHeld = -1;
    emit changed();
}

void ButtonPanel::imgBPTake_Click(int Index)
{
    desktop::runTrapped(QStringLiteral("imgBPTake_Click"), [&] {
        if (Index < 0 || Index >= TakeCount)
            throw desktop::Fault(desktop::FaultText::SubscriptOutOfRange);
        if (m_outSel.isEmpty() || m_inSel < 0) {
            desktop::showMessage(limits::ProgramName, QStringLiteral("Please select an input and at least one output"));
            return;
        }
        const int Level = Index + 1;
        // Clicks handled during a reply wait may change the selection; this
        // take routes what was selected when it was clicked.
        const int row = m_inSel;
        const QList<int> columns = m_outSel;
        for (const int column : columns) {
            // Resolved afresh for each take: the routers or the view may have
            // changed during the previous reply wait.
            clsRouter *router = nullptr;
            int phyOut = -1;
            int phyIn = -1;
            m_view.cvMatOutToPhy(column, phyOut, router);
            m_view.cvMatInToPhy2(row, phyIn, router);
            m_takeRoute(router, phyOut, phyIn, column, row, Level);
        }
        if (!desktop::shell().CtrlKeyDown())
            clearSelection();
    });
}

ButtonPanel::Picture ButtonPanel::picture(Side side, int i) const
{
    if (m_held && m_held->side == side && m_held->index == i)
        return Picture::Down;
    return isSelected(side, i) ? Picture::Sel : Picture::Up;
}

bool ButtonPanel::isSelected(Side side, int i) const
{
    return side == Side::Inputs ? m_inSel == i : m_outSel.contains(i);
}

bool ButtonPanel::isTakeShown(int index, bool anyRouterSplit)
{
    constexpr int AllLevelsTake = int(limits::Level::Both) - 1;
    return index == AllLevelsTake || anyRouterSplit;
}
