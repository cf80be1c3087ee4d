#pragma once

#include <QTest>
#include <array>
#include <tuple>
#include <utility>

// A data-driven test's columns declared in one line: columns<QString, int>({"steps", "count"}).
template <typename... T> void columns(const std::array<const char *, sizeof...(T)> &names)
{
    std::size_t i = 0;
    (QTest::addColumn<T>(names[i++]), ...);
}

// The current row's values of those columns, for one structured binding:
// const auto [steps, count] = fetch<QString, int>({"steps", "count"}).
template <typename... T> std::tuple<T...> fetch(const std::array<const char *, sizeof...(T)> &names)
{
    return [&]<std::size_t... I>(std::index_sequence<I...>)
    {
        return std::tuple<T...>{*static_cast<T *>(QTest::qData(names[I], qMetaTypeId<T>()))...};
    }
    (std::index_sequence_for<T...>{});
}
