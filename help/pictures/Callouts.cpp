#include "Callouts.h"

#include <QPainter>
#include <QWidget>
#include <algorithm>

namespace {

// Dark frames and discs with white figures: apart from every colour the
// window itself uses (lavender background, red, yellow and blue markers).
const QColor Ink(24, 24, 24);
constexpr int DiscRadius = 9;

void drawNumber(QPainter &painter, QPoint at, int number, QSize bounds)
{
    // Kept whole inside the picture when the frame touches its edge.
    const QPoint centre(std::clamp(at.x(), DiscRadius + 1, bounds.width() - DiscRadius - 1),
                        std::clamp(at.y(), DiscRadius + 1, bounds.height() - DiscRadius - 1));
    const QRect disc(centre - QPoint(DiscRadius, DiscRadius), QSize(2 * DiscRadius, 2 * DiscRadius));
    painter.setPen(QPen(Qt::white, 1.5));
    painter.setBrush(Ink);
    painter.drawEllipse(disc);
    painter.setPen(Qt::white);
    painter.drawText(disc, Qt::AlignCenter, QString::number(number));
}

} // namespace

QRect regionOf(const QWidget &area, const QStringList &prefixes)
{
    QRect region;
    for (const QWidget *control : area.findChildren<QWidget *>()) {
        const QString name = control->objectName();
        const bool named = std::any_of(prefixes.begin(), prefixes.end(),
                                       [&name](const QString &prefix) { return name.startsWith(prefix); });
        if (named && control->isVisibleTo(&area))
            region |= QRect(control->mapTo(&area, QPoint(0, 0)), control->size());
    }
    return region;
}

QImage drawCallouts(QWidget &area, const QList<Callout> &callouts)
{
    QImage picture = area.grab().toImage().convertToFormat(QImage::Format_RGB32);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(12);
    painter.setFont(font);
    for (const Callout &callout : callouts) {
        for (const QStringList &group : callout.groups) {
            const QRect frame = regionOf(area, group).adjusted(-2, -2, 2, 2);
            painter.setPen(QPen(Ink, 2, Qt::DashLine));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(frame);
            const QPoint corner = callout.corner == Qt::TopRightCorner ? frame.topRight() : frame.topLeft();
            drawNumber(painter, corner, callout.number, picture.size());
        }
    }
    return picture;
}
