#pragma once

#include "remote/swp08/Request.h"

#include <QList>
#include <array>
#include <optional>

namespace swp08 {

// One client's salvo groups: routes stored for a later go, each with the
// form it was stored in (its answers use that form when fired).
class SalvoGroups
{
public:
    // Group numbers are 7 bits on the wire.
    static constexpr int Count = 128;

    struct Entry
    {
        Route route;
        Form form = Form::Normal;
    };

    // Replaces the source of the group's entry for the same destination and
    // level, else adds one at the end; false when the group is full
    // (serverlimits::Swp08SalvoEntries).
    bool store(const SalvoStore &stored);
    [[nodiscard]] const QList<Entry> &group(int group) const { return m_groups.at(group); }
    void clear(int group) { m_groups.at(group).clear(); }

private:
    std::array<QList<Entry>, Count> m_groups;
};

} // namespace swp08
