#pragma once

#include <QColor>
#include <QPixmap>
#include <QSize>
#include <array>

// The window's stored pictures, drawn in code once at start-up for the
// screen's device pixel ratio, so they stay crisp on any display. Controls
// copy them; nothing else draws a marker or a button face.
struct Pictures
{
    static constexpr QSize CellSize{16, 16};
    static constexpr QSize OutputButtonSize{20, 20};
    static constexpr QSize SideButtonSize{30, 20};
    static constexpr QSize LevelButtonSize{44, 20};
    static constexpr QSize PanelButtonSize{82, 19};
    static constexpr QSize TakeAllSize{92, 36};
    static constexpr QSize TakeLevelSize{44, 36};
    static constexpr QSize LockMarkSize{9, 11};

    // Red for video, yellow for audio, blue for all levels, everywhere.
    static const std::array<QColor, 3> LevelColours;
    // The grid's lines; a selected output's column line is drawn wide.
    static const QColor GridLineColour;

    explicit Pictures(qreal devicePixelRatio);

    // Grey (empty), red (video only), yellow (audio only), blue (both) discs.
    std::array<QPixmap, 4> imgCPSource;
    // Output buttons above the matrix, raised and sunken.
    QPixmap imgMButtonUp;
    QPixmap imgMButtonDown;
    // The wider input buttons and the second output buttons.
    QPixmap sideButtonUp;
    QPixmap sideButtonDown;
    // Level selector: Video, Audio, ALL, raised and pressed.
    std::array<QPixmap, 3> imgLayerUpSource;
    std::array<QPixmap, 3> imgLayerDownSource;
    // The same faces at the take buttons' sizes (ALL is the large one).
    std::array<QPixmap, 3> takeUp;
    std::array<QPixmap, 3> takeDown;
    // Button panel: normal (dim lamp), pressed, selected (lamp lit).
    QPixmap imgBPUp;
    QPixmap imgBPDown;
    QPixmap imgBPSel;
    // A padlock, shown at the corner of a locked output's number.
    QPixmap lockMark;

private:
    [[nodiscard]] QPixmap canvas(QSize size) const;
    [[nodiscard]] QPixmap disc(const QColor &colour) const;
    [[nodiscard]] QPixmap button(QSize size, bool sunken) const;
    [[nodiscard]] QPixmap levelButton(QSize size, int level, bool pressed) const;
    [[nodiscard]] QPixmap panelButton(bool sunken, const QColor &lamp) const;
    [[nodiscard]] QPixmap padlock() const;

    qreal m_ratio;
};
