#pragma once

#include <QStringList>
#include <optional>

// One crosspoint as a script writes it: "FA OUT IN [LEVEL]", each a whole
// decimal number; frame address 0 to 15, ports counted from 0 up to the
// highest a matrix has, level 1 (video), 2 (audio) or 3 (both, the default).
struct RouteArguments
{
    int FrameAddress = 0;
    int phyOut = 0;
    int phyIn = 0;
    int Level = 0;

    // The crosspoint the words give; none when one is missing, one is
    // extra, or one is not a number in its range.
    [[nodiscard]] static std::optional<RouteArguments> parse(const QStringList &words);
};

// A whole decimal number within [low, high]; none otherwise.
[[nodiscard]] std::optional<int> boundedNumber(const QString &text, int low, int high);
