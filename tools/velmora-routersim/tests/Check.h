#pragma once

// A few lines of test harness, so the simulator's tests need nothing beyond
// the standard library, plus byte helpers both suites use.

#include "link/CrosspointFrame.h"

#include <cstdint>
#include <cstdio>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace check {

using Bytes = std::vector<std::uint8_t>;

inline int failures = 0;

inline void fail(const char *file, int line, const std::string &what)
{
    ++failures;
    std::fprintf(stderr, "%s:%d: FAILED %s\n", file, line, what.c_str());
}

template <typename A, typename B>
void expectEqual(const A &actual, const B &expected, const char *what, const char *file, int line)
{
    if (actual == expected)
        return;
    std::ostringstream text;
    text << what << ": got [" << actual << "] expected [" << expected << "]";
    fail(file, line, text.str());
}

// Runs every case and ends with the "N passed, N failed" line.
inline int runAll(const char *suite, const std::vector<std::pair<const char *, std::function<void()>>> &cases)
{
    int passed = 0;
    for (const auto &[name, body] : cases) {
        const int before = failures;
        body();
        const bool ok = failures == before;
        passed += ok;
        std::printf("%s %s.%s\n", ok ? "PASS" : "FAIL", suite, name);
        std::fflush(stdout);
    }
    const int failed = static_cast<int>(cases.size()) - passed;
    std::printf("%s: %d passed, %d failed\n", suite, passed, failed);
    return failed == 0 ? 0 : 1;
}

inline std::string hex(const Bytes &bytes)
{
    std::string text;
    char item[4];
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(item, sizeof item, "%02X", bytes[i]);
        text += (i ? " " : "") + std::string(item);
    }
    return text;
}

template <typename T> std::vector<T> operator+(std::vector<T> a, const std::vector<T> &b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

inline Bytes frame(std::uint8_t address, std::uint8_t in, std::uint8_t out)
{
    const auto f = CrosspointFrame::build(address, in, out);
    return Bytes(f.begin(), f.end());
}

} // namespace check

#define CHECK(cond)                                                                                                    \
    do {                                                                                                               \
        if (!(cond))                                                                                                   \
            check::fail(__FILE__, __LINE__, #cond);                                                                    \
    } while (0)

#define CHECK_EQ(actual, expected) check::expectEqual((actual), (expected), #actual, __FILE__, __LINE__)
