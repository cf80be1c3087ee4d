#pragma once

#include "base/PanelLimits.h"

#include <QList>
#include <QObject>
#include <QPoint>
#include <functional>
#include <optional>

class clsRouter;
struct MatrixView;

// What the button panel under the matrix does, without the widgets: 16 input
// buttons, 16 output buttons and three take buttons standing for the visible
// rows and columns. The panel keeps a selection of its own (one input, any
// outputs in the order selected); the window forwards presses, releases and
// take clicks, and draws every button from picture() after changed().
class ButtonPanel final : public QObject
{
    Q_OBJECT

public:
    static constexpr int ButtonCount = limits::VisibleColumns;
    static constexpr int TakeCount = limits::LevelCount;
    // The area of a panel button, in twips, from the top-left corner of the
    // control that received the press.
    static constexpr int ButtonWidthTwips = 1230;
    static constexpr int ButtonHeightTwips = 285;

    enum class Side { Inputs, Outputs };
    // imgBPUp, imgBPDown, imgBPSel.
    enum class Picture { Up, Down, Sel };

    // The panel's TakeRoute: takes one crosspoint (an unassigned one has a
    // null router or a negative port) and redraws its column.
    using TakeRouteFn = std::function<void(clsRouter *Router, int phyOut, int phyIn, int matOut, int matIn, int Level)>;

    // view: the panel's view, whose offsets scrolling keeps current.
    ButtonPanel(const MatrixView &view, TakeRouteFn takeRoute, QObject *parent = nullptr);

    // Mouse down on button i of a side, or on its caption.
    void press(Side side, int i);
    // Mouse up after press(side, i); releasePoint in twips from the top-left
    // corner of the control that received the press. Selects (SelBPIn or
    // SelBPOut) only when the release lies on the button's area.
    void release(Side side, int i, QPoint releasePoint);

    // Selects input button Index (-1 clears). Traps as "Function SelBPIn".
    void SelBPIn(int Index);
    // Without Ctrl: Index alone becomes selected, or nothing when it was
    // selected. With Ctrl: toggles Index. -1 clears without Ctrl. Traps as
    // "Function SelBPOut".
    void SelBPOut(int Index);

    // Take button Index (0 Video, 1 Audio, 2 ALL) held down or let go.
    void imgBPTake_MouseDown(int Index);
    void imgBPTake_MouseUp(int Index);
    // Routes the selected input to each selected output, in selection order,
    // at level Index + 1, then clears the selection unless Ctrl is held.
    // Traps as "Function imgBPTake_Click".
    void imgBPTake_Click(int Index);

    [[nodiscard]] int BPInSel() const { return m_inSel; }
    [[nodiscard]] QList<int> BPOutSel() const { return m_outSel; }
    // Position of Index in BPOutSel, -1 when it is not selected.
    [[nodiscard]] int BPOutSelID(int Index) const { return int(m_outSel.indexOf(Index)); }

    // What button i of a side shows: Down while pressed, else Sel when
    // selected, else Up.
    [[nodiscard]] Picture picture(Side side, int i) const;
    // Whether take button index shows its pressed level picture.
    [[nodiscard]] bool takeDown(int index) const { return m_takeHeld == index; }
    // Video and Audio take buttons exist only when some router can split.
    [[nodiscard]] static bool isTakeShown(int index, bool anyRouterSplit);

signals:
    // A picture or the selection changed; the window redraws the panel.
    void changed();

private:
    struct Held
    {
        Side side;
        int index;
    };

    [[nodiscard]] bool isSelected(Side side, int i) const;
    void selectIn(int index);
    void selectOut(int index, bool ctrl);
    void clearSelection();

    const MatrixView &m_view;
    TakeRouteFn m_takeRoute;
    int m_inSel = -1;
    QList<int> m_outSel;
    std::optional<Held> m_held;
    int m_takeHeld = -1;
};
