#include "desktop/TextTokens.h"

#include <algorithm>

namespace desktop {

QString NextToken(const QString &text, qint32 &position, const QString &separator)
{
    if (position < 0)
        return {};
    const qsizetype start = position == 0 ? 0 : qsizetype(position) - 1;
    const qsizetype found = separator.isEmpty() || start > text.size() ? -1 : text.indexOf(separator, start);
    if (found < 0) {
        position = -1;
        return start < text.size() ? text.mid(start) : QString();
    }
    position = qint32(found + separator.size() + 1);
    return text.mid(start, found - start);
}

QString trimBlanks(const QString &text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text[first] == u' ')
        ++first;
    while (last > first && text[last - 1] == u' ')
        --last;
    return text.mid(first, last - first);
}

bool isNameControl(QChar c)
{
    const char16_t code = c.unicode();
    return (code < 0x20 && code != u'\t') || (code >= 0x7F && code <= 0x9F) || (code >= 0x202A && code <= 0x202E) ||
           (code >= 0x2066 && code <= 0x2069) || code == 0x2028 || code == 0x2029;
}

bool holdsNameControl(QStringView text)
{
    return std::any_of(text.begin(), text.end(), isNameControl);
}

QString storedName(QString text)
{
    text.removeIf(isNameControl);
    return trimBlanks(text);
}

QString withControlsBlanked(QString text)
{
    std::replace_if(text.begin(), text.end(), isNameControl, QChar(u' '));
    return text;
}

} // namespace desktop
