#pragma once

#include "desktop/Fault.h"

#include <QStringView>
#include <cmath>
#include <limits>
#include <optional>

// How every text format of the program reads a number: the leading number of
// the text (blanks skipped, optional sign, digits, decimal point, exponent;
// reading stops at the first character that cannot continue it; no number
// reads as 0), rounded to the nearest whole number with halves to even.
namespace desktop {

[[nodiscard]] double leadingNumber(QStringView text);
// The same, but none when the text holds no number there.
[[nodiscard]] std::optional<double> numberAtStart(QStringView text);

// Rounds half to even and checks the target's range; a value outside it (or
// not finite) throws the "Overflow" fault rather than wrapping.
template <typename Whole> [[nodiscard]] Whole roundToWhole(double value)
{
    const double rounded = std::nearbyint(value);
    if (!std::isfinite(rounded) || rounded < double(std::numeric_limits<Whole>::min()) ||
        rounded > double(std::numeric_limits<Whole>::max()))
        throw Fault(FaultText::Overflow);
    return static_cast<Whole>(rounded);
}

// 16-bit and 32-bit readings (the program's Integer and Long).
[[nodiscard]] inline qint16 readInteger(QStringView text)
{
    return roundToWhole<qint16>(leadingNumber(text));
}
[[nodiscard]] inline qint32 readLong(QStringView text)
{
    return roundToWhole<qint32>(leadingNumber(text));
}

} // namespace desktop
