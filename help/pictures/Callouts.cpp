#include "Callouts.h"

#include <QPainter>
#include <QWidget>
#include <algorithm>

namespace {

// Dark frames and discs with white figures: apart from every colour the
// window itself uses (lavender background, red, yellow and blue markers).
const QColor Ink(24, 24, 24);
constexpr int DiscRadius = 9;
// The frame runs this far outside its controls, in the gap between them
// and their neighbours.
constexpr int FrameMargin = 2;

QRect discAt(QPoint centre)
{
    return {centre - QPoint(DiscRadius, DiscRadius), QSize(2 * DiscRadius + 1, 2 * DiscRadius + 1)};
}

// The places for a frame's disc, best first: centred on the frame, then
// just outside it; each time from the top left corner clockwise round.
QList<QPoint> discPlaces(const QRect &frame)
{
    QList<QPoint> places;
    for (const int out : {0, DiscRadius + 1}) {
        const QRect ring = frame.adjusted(-out, -out, out, out);
        for (int x = ring.left(); x <= ring.right(); ++x)
            places.append({x, ring.top()});
        for (int y = ring.top(); y <= ring.bottom(); ++y)
            places.append({ring.right(), y});
        for (int x = ring.right(); x >= ring.left(); --x)
            places.append({x, ring.bottom()});
        for (int y = ring.bottom(); y >= ring.top(); --y)
            places.append({ring.left(), y});
    }
    return places;
}

bool coversAny(const QRect &disc, const QList<QRect> &taken)
{
    return std::any_of(taken.begin(), taken.end(), [&disc](const QRect &rect) { return rect.intersects(disc); });
}

void drawNumber(QPainter &painter, const QRect &disc, int number)
{
    painter.setPen(QPen(Qt::white, 1.5));
    painter.setBrush(Ink);
    painter.drawEllipse(disc.adjusted(1, 1, -1, -1));
    painter.setPen(Qt::white);
    painter.drawText(disc, Qt::AlignCenter, QString::number(number));
}

bool named(const QWidget &control, const QStringList &prefixes)
{
    const QString name = control.objectName();
    return std::any_of(prefixes.begin(), prefixes.end(),
                       [&name](const QString &prefix) { return name.startsWith(prefix); });
}

// What the group's controls show, for a number placed beside it unframed.
QRect contentOf(const QList<ControlContent> &contents, const QStringList &prefixes)
{
    QRect region;
    for (const ControlContent &content : contents) {
        if (named(*content.control, prefixes))
            region |= content.rect;
    }
    return region;
}

} // namespace

QRect regionOf(const QWidget &area, const QStringList &prefixes)
{
    QRect region;
    for (const QWidget *control : area.findChildren<QWidget *>()) {
        if (named(*control, prefixes) && control->isVisibleTo(&area))
            region |= QRect(control->mapTo(&area, QPoint(0, 0)), control->size());
    }
    return region;
}

CalloutPlan planCallouts(const QWidget &area, const QList<Callout> &callouts)
{
    CalloutPlan plan;
    plan.contents = controlContents(area);
    QList<QRect> taken;
    for (const ControlContent &content : plan.contents)
        taken.append(content.rect);
    const QRect inside = area.rect();
    for (const Callout &callout : callouts) {
        for (const QStringList &group : callout.groups) {
            const QRect region = callout.framed ? regionOf(area, group) : contentOf(plan.contents, group);
            CalloutPlan::Mark mark{callout.number,
                                   region.adjusted(-FrameMargin, -FrameMargin, FrameMargin, FrameMargin),
                                   {},
                                   callout.framed};
            const QList<QPoint> places = discPlaces(mark.frame);
            const auto free = std::find_if(places.begin(), places.end(), [&](QPoint centre) {
                const QRect disc = discAt(centre);
                return inside.contains(disc) && !coversAny(disc.adjusted(-1, -1, 1, 1), taken);
            });
            if (free == places.end()) {
                plan.faults.append(QStringLiteral("callout %1: no free place for its number beside %2")
                                       .arg(callout.number)
                                       .arg(group.join(u',')));
            } else {
                mark.disc = discAt(*free);
                taken.append(mark.disc);
            }
            plan.marks.append(mark);
        }
    }
    return plan;
}

QImage drawCallouts(QWidget &area, const CalloutPlan &plan)
{
    QImage picture = area.grab().toImage().convertToFormat(QImage::Format_RGB32);
    QPainter painter(&picture);
    for (const CalloutPlan::Mark &mark : plan.marks) {
        if (!mark.framed)
            continue;
        // Drawn on a layer of its own, which is then cleared, with room to
        // spare, wherever another control shows something; the frame's own
        // controls are all inside it.
        QImage frame(picture.size(), QImage::Format_ARGB32_Premultiplied);
        frame.fill(Qt::transparent);
        QPainter layer(&frame);
        layer.setPen(QPen(Ink, 2, Qt::DashLine));
        layer.drawRect(mark.frame);
        layer.setCompositionMode(QPainter::CompositionMode_Clear);
        for (const ControlContent &content : plan.contents) {
            if (!mark.frame.adjusted(1, 1, -1, -1).contains(content.rect))
                layer.fillRect(content.rect.adjusted(-2, -2, 2, 2), Qt::transparent);
        }
        layer.end();
        painter.drawImage(0, 0, frame);
    }
    painter.setRenderHint(QPainter::Antialiasing);
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(12);
    painter.setFont(font);
    for (const CalloutPlan::Mark &mark : plan.marks) {
        if (!mark.disc.isNull())
            drawNumber(painter, mark.disc, mark.number);
    }
    return picture;
}
