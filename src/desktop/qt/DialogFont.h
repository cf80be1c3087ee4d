#pragma once

#include <QFont>

namespace desktop {

// The dialogs' face, Tahoma, or the desktop's sans-serif face where it is missing.
[[nodiscard]] inline QFont dialogFont(qreal pointSize, bool bold = false)
{
    QFont font(QStringLiteral("Tahoma"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

} // namespace desktop
