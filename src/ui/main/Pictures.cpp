#include "ui/main/Pictures.h"

#include <QPainter>

namespace {

const QColor Face(212, 208, 200);
const QColor PressedFace(164, 160, 152);
const QColor Light(255, 255, 255);
const QColor Shadow(128, 128, 128);
const QColor DarkShadow(64, 64, 64);
const std::array<QString, 3> LevelNames{QStringLiteral("Video"), QStringLiteral("Audio"), QStringLiteral("ALL")};

// A two-pixel bevel from filled rectangles, so edges fall on whole pixels
// at any ratio: light top-left and dark bottom-right when raised, the other
// way round when sunken.
void bevel(QPainter &painter, const QRect &rect, bool sunken)
{
    const QColor topLeft = sunken ? DarkShadow : Light;
    const QColor bottomRight = sunken ? Light : DarkShadow;
    const QColor inner = sunken ? Shadow : Face.lighter(105);
    const QColor innerShade = sunken ? Face : Shadow;
    const int w = rect.width();
    const int h = rect.height();
    painter.fillRect(QRect(0, 0, w, 1), topLeft);
    painter.fillRect(QRect(0, 0, 1, h), topLeft);
    painter.fillRect(QRect(0, h - 1, w, 1), bottomRight);
    painter.fillRect(QRect(w - 1, 0, 1, h), bottomRight);
    painter.fillRect(QRect(1, 1, w - 2, 1), inner);
    painter.fillRect(QRect(1, 1, 1, h - 2), inner);
    painter.fillRect(QRect(1, h - 2, w - 2, 1), innerShade);
    painter.fillRect(QRect(w - 2, 1, 1, h - 2), innerShade);
}

} // namespace

const std::array<QColor, 3> Pictures::LevelColours{QColor(224, 40, 40), QColor(232, 216, 48), QColor(48, 96, 224)};
const QColor Pictures::GridLineColour(96, 96, 96);

Pictures::Pictures(qreal devicePixelRatio) : m_ratio(devicePixelRatio)
{
    imgCPSource = {disc(QColor(150, 150, 150)), disc(LevelColours[0]), disc(LevelColours[1]), disc(LevelColours[2])};
    imgMButtonUp = button(OutputButtonSize, false);
    imgMButtonDown = button(OutputButtonSize, true);
    sideButtonUp = button(SideButtonSize, false);
    sideButtonDown = button(SideButtonSize, true);
    for (int level = 0; level < 3; ++level) {
        imgLayerUpSource[std::size_t(level)] = levelButton(LevelButtonSize, level, false);
        imgLayerDownSource[std::size_t(level)] = levelButton(LevelButtonSize, level, true);
        const QSize takeSize = level == 2 ? TakeAllSize : TakeLevelSize;
        takeUp[std::size_t(level)] = levelButton(takeSize, level, false);
        takeDown[std::size_t(level)] = levelButton(takeSize, level, true);
    }
    imgBPUp = panelButton(false, QColor(110, 40, 40));
    imgBPDown = panelButton(true, QColor(110, 40, 40));
    imgBPSel = panelButton(false, QColor(255, 32, 32));
    lockMark = padlock();
}

QPixmap Pictures::canvas(QSize size) const
{
    QPixmap pixmap(size * m_ratio);
    pixmap.setDevicePixelRatio(m_ratio);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

QPixmap Pictures::disc(const QColor &colour) const
{
    QPixmap pixmap = canvas(CellSize);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(colour.darker(140), 1.0));
    painter.setBrush(colour);
    painter.drawEllipse(QRectF(1.5, 1.5, CellSize.width() - 3.0, CellSize.height() - 3.0));
    return pixmap;
}

QPixmap Pictures::button(QSize size, bool sunken) const
{
    QPixmap pixmap = canvas(size);
    QPainter painter(&pixmap);
    painter.fillRect(QRect(QPoint(0, 0), size), sunken ? PressedFace : Face);
    bevel(painter, QRect(QPoint(0, 0), size), sunken);
    return pixmap;
}

QPixmap Pictures::levelButton(QSize size, int level, bool pressed) const
{
    QPixmap pixmap = canvas(size);
    QPainter painter(&pixmap);
    const QColor colour = LevelColours[std::size_t(level)];
    const QRect rect(QPoint(0, 0), size);
    painter.fillRect(rect, pressed ? colour.darker(125) : colour);
    bevel(painter, rect, pressed);
    QFont font = painter.font();
    font.setBold(pressed);
    painter.setFont(font);
    painter.setPen(level == 1 ? QColor(Qt::black) : QColor(Qt::white));
    // Pressed faces move their text down and right, as a pushed button does.
    const int shift = pressed ? 1 : 0;
    painter.drawText(rect.translated(shift, shift), Qt::AlignCenter, LevelNames[std::size_t(level)]);
    return pixmap;
}

QPixmap Pictures::panelButton(bool sunken, const QColor &lamp) const
{
    QPixmap pixmap = canvas(PanelButtonSize);
    QPainter painter(&pixmap);
    const QRect rect(QPoint(0, 0), PanelButtonSize);
    painter.fillRect(rect, sunken ? PressedFace : Face);
    bevel(painter, rect, sunken);
    painter.fillRect(QRect(4, 4, 4, PanelButtonSize.height() - 8), lamp);
    return pixmap;
}

QPixmap Pictures::padlock() const
{
    // Whole-pixel rectangles, like the bevels, so the small shape keeps hard
    // edges: a dark shackle over an amber body with a keyhole.
    const QColor dark(48, 40, 32);
    QPixmap pixmap = canvas(LockMarkSize);
    QPainter painter(&pixmap);
    const int w = LockMarkSize.width();
    const int h = LockMarkSize.height();
    const int bodyTop = 5;
    painter.fillRect(QRect(2, 0, w - 4, 1), dark);
    painter.fillRect(QRect(1, 1, 2, bodyTop - 1), dark);
    painter.fillRect(QRect(w - 3, 1, 2, bodyTop - 1), dark);
    painter.fillRect(QRect(0, bodyTop, w, h - bodyTop), dark);
    painter.fillRect(QRect(1, bodyTop + 1, w - 2, h - bodyTop - 2), QColor(248, 176, 24));
    painter.fillRect(QRect(w / 2, bodyTop + 2, 1, 2), dark);
    return pixmap;
}
