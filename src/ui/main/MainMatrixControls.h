#pragma once

#include "base/PanelLimits.h"
#include "model/MacroBank.h"

#include <array>

class PictureBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;
class QWidget;
struct Pictures;

// Every control of the main window's client area (800 x 543 pixels), in
// arrays indexed like the window's control arrays, each named after its
// control ("imgMatrix_37", "txtIn_4", "VScroll"). Only places them; the
// window gives them their behaviour.
struct MainMatrixControls
{
    static_assert(limits::VisibleRows == limits::VisibleColumns, "one count serves rows and columns");
    static constexpr int Visible = limits::VisibleRows;
    static constexpr int MacroCount = MacroBank::SlotCount;

    std::array<QLineEdit *, Visible> txtIn{};
    std::array<PictureBox *, Visible> imgMIn{};
    std::array<QLabel *, Visible> txtMIn{};
    std::array<PictureBox *, Visible> imgMOut{};
    std::array<QLabel *, Visible> lblMOut{};
    // The lock mark at the top right corner of each output number, hidden
    // while the output is free.
    std::array<PictureBox *, Visible> imgMOutLock{};
    std::array<PictureBox *, Visible * Visible> imgMatrix{};
    std::array<QFrame *, Visible> lineIn{};
    std::array<QFrame *, Visible> LineOut{};
    QScrollBar *VScroll = nullptr;
    QScrollBar *HScroll = nullptr;
    std::array<PictureBox *, Visible> imgSOut{};
    std::array<QLabel *, Visible> txtSOut{};
    std::array<QLineEdit *, Visible> txtOut{};
    std::array<PictureBox *, limits::LevelCount> imgLayerSel{};
    std::array<QPushButton *, MacroCount> btnMacro{};
    QPushButton *btnRecord = nullptr;
    QLabel *lblRecord = nullptr;
    QLabel *txtErrMsg = nullptr;
    std::array<PictureBox *, Visible> btnBPIn{};
    std::array<QLabel *, Visible> txtCPIn{};
    std::array<PictureBox *, Visible> btnBPOut{};
    std::array<QLabel *, Visible> txtCPOut{};
    std::array<PictureBox *, limits::LevelCount> imgBPTake{};

    // Creates the controls on client, showing the start-up pictures.
    void build(QWidget *client, const Pictures &pictures);
    // Column c's grid line: 4 pixels wide while its output is selected.
    void setColumnLineWide(int c, bool wide);
};
