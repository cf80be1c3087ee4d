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

// The power of ten of the number's first significant digit ("0.05" is -2,
// "12e3" is 4), for a number known to have one: all a number out of a
// double's range needs to tell huge from tiny. Clamped to stay an integer.
long long decimalMagnitude(QByteArrayView number)
{
    constexpr long long Bound = 1'000'000'000;
    const qsizetype exponentAt = number.indexOf('e') >= 0 ? number.indexOf('e') : number.indexOf('E');
    const QByteArrayView mantissa = exponentAt >= 0 ? number.first(exponentAt) : number;
    long long exponent = 0;
    if (exponentAt >= 0) {
        const QByteArrayView digits = number.sliced(exponentAt + 1);
        const bool negative = digits.startsWith('-');
        for (const char c : digits) {
            if (isDigit(QLatin1Char(c)))
                exponent = qMin(exponent * 10 + (c - '0'), Bound);
        }
        exponent = negative ? -exponent : exponent;
    }
    const qsizetype point = mantissa.indexOf('.') >= 0 ? mantissa.indexOf('.') : mantissa.size();
    for (qsizetype i = 0; i < mantissa.size(); ++i) {
        if (mantissa[i] >= '1' && mantissa[i] <= '9')
            return exponent + (i < point ? point - i - 1 : point - i);
    }
    return exponent;
}

} // namespace

double leadingNumber(QStringView text)
{
    return numberAtStart(text).value_or(0.0);
}

std::optional<double> numberAtStart(QStringView text)
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
        return std::nullopt;
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
        // Beyond a double either way: too large keeps its sign so the caller
        // reports an overflow, too small is zero.
        if (decimalMagnitude(number) < 0)
            return 0.0;
        return number.startsWith('-') ? -HUGE_VAL : HUGE_VAL;
    }
    return value;
}

} // namespace desktop
