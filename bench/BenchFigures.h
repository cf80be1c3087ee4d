#pragma once

#include <QtGlobal>
#include <algorithm>
#include <chrono>
#include <vector>

// The clock and the percentiles of the servers' benchmarks.
inline qint64 nowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

inline double percentile(std::vector<double> ms, double p)
{
    std::sort(ms.begin(), ms.end());
    return ms[std::min(ms.size() - 1, std::size_t(p * double(ms.size())))];
}
