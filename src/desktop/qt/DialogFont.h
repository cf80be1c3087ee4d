#pragma once

#include <QFont>
#include <QFontInfo>

namespace desktop {

// The dialogs' face, Tahoma. Where it is missing the desktop's sans-serif
// face stands in, semi-condensed, since the common stand-ins run wider than
// Tahoma and the captions must fit their fixed places.
[[nodiscard]] inline QFont dialogFont(qreal pointSize, bool bold = false)
{
    const QString family = QStringLiteral("Tahoma");
    QFont font(family);
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    if (QFontInfo(font).family() != family)
        font.setStretch(QFont::SemiCondensed);
    return font;
}

} // namespace desktop
