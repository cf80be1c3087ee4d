#include "desktop/NumberReader.h"

#include <QByteArray>

#include <charconv>

namespace desktop {

namespace {

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Length of the run of digits starting at `from`.
qsizetype digitsAt(QStringView text, qsizetype from)
{
    qsizetype end = from;
    while (end < text.size() && isDigit(text[end]))
        ++end;
    return end - from;
}

} // namespace

double leadingNumber(QStringView text)
{
    qsizetype pos = 0;
    while (pos < text.size() && text[pos] == u' ')
        ++pos;
    const qsizetype start = pos;
    if (pos < text.size() && (text[pos] == u'+' || text[pos] == u'-'))
        ++pos;
    const qsizetype wholeDigits = digitsAt(text, pos);
    pos += wholeDigits;
    qsizetype fractionDigits = 0;
    if (pos < text.size() && text[pos] == u'.') {
        fractionDigits = digitsAt(text, pos + 1);
        pos += 1 + fractionDigits;
    }
    if (wholeDigits + fractionDigits == 0)
        return 0.0;
    // An exponent counts only when digits follow it.
    if (pos < text.size() && (text[pos] == u'e' || text[pos] == u'E')) {
        qsizetype exp = pos + 1;
        if (exp < text.size() && (text[exp] == u'+' || text[exp] == u'-'))
            ++exp;
        const qsizetype expDigits = digitsAt(text, exp);
        if (expDigits > 0)
            pos = exp + expDigits;
    }

    QByteArray number = text.mid(start, pos - start).toLatin1();
    if (number.startsWith('+'))
        number.remove(0, 1);
    double value = 0.0;
    const auto [end, error] = std::from_chars(number.constData(), number.constData() + number.size(), value);
    (void)end;
    if (error == std::errc::result_out_of_range) {
        // Too large for a double: keep the sign so the caller reports an overflow;
        // too small rounds to zero anyway.
        const bool tiny = number.contains("e-") || number.contains("E-");
        if (tiny)
            return 0.0;
        return number.startsWith('-') ? -HUGE_VAL : HUGE_VAL;
    }
    return value;
}

} // namespace desktop
