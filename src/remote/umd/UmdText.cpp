#include "remote/umd/UmdText.h"

namespace umd {

QByteArray asciiText(const QString &name)
{
    QByteArray text;
    text.reserve(name.size());
    const QString decomposed = name.normalized(QString::NormalizationForm_KD);
    for (qsizetype i = 0; i < decomposed.size(); ++i) {
        const QChar c = decomposed.at(i);
        if (c.category() == QChar::Mark_NonSpacing || c.category() == QChar::Mark_Enclosing ||
            c.category() == QChar::Mark_SpacingCombining)
            continue;
        // A character beyond the basic plane is one '?', not two.
        if (c.isHighSurrogate() && i + 1 < decomposed.size() && decomposed.at(i + 1).isLowSurrogate())
            ++i;
        text.append(c.unicode() >= 0x20 && c.unicode() <= 0x7E ? char(c.unicode()) : '?');
    }
    return text;
}

} // namespace umd
