#include "ControlContents.h"

#include <QLabel>
#include <QStyle>

namespace {

// Where the label's text is drawn, to the pixel: the line QLabel aligns in
// its contents, narrowed to the glyphs' own extent.
QRect textInk(const QLabel &label)
{
    if (label.text().isEmpty())
        return {};
    const QFontMetrics metrics(label.font());
    const QRect line = QStyle::alignedRect(label.layoutDirection(), label.alignment(), metrics.size(0, label.text()),
                                           label.contentsRect());
    return metrics.tightBoundingRect(label.text()).translated(line.left(), line.top() + metrics.ascent());
}

} // namespace

QList<ControlContent> controlContents(const QWidget &area)
{
    QList<ControlContent> contents;
    const auto add = [&](const QWidget *control, const QRect &local) {
        if (!local.isEmpty())
            contents.append({control, QRect(control->mapTo(&area, local.topLeft()), local.size())});
    };
    for (const QWidget *control : area.findChildren<QWidget *>()) {
        if (!control->isVisibleTo(&area) || control->metaObject() == &QWidget::staticMetaObject)
            continue;
        const auto *label = qobject_cast<const QLabel *>(control);
        add(control, label ? textInk(*label) : control->rect());
    }
    return contents;
}
