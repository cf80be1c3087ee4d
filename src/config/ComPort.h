#pragma once

#include <QString>

// The serial ports a configuration can name: "COM1" to "COM4".
inline constexpr int ComPortCount = 4;

// The number of the port "COMn" names: its last character as a digit, 0 for
// none (an empty name, or one not ending in a digit).
[[nodiscard]] inline int comPortNumber(const QString &commPortName)
{
    if (commPortName.isEmpty())
        return 0;
    const QChar last = commPortName.back();
    return last >= QLatin1Char('0') && last <= QLatin1Char('9') ? last.unicode() - '0' : 0;
}

// "COMn".
[[nodiscard]] inline QString comPortName(int n)
{
    return QStringLiteral("COM") + QString::number(n);
}
