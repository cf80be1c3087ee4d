#include "remote/swp08/SalvoGroups.h"

#include "remote/ServerLimits.h"

namespace swp08 {

bool SalvoGroups::store(const SalvoStore &stored)
{
    QList<Entry> &entries = m_groups.at(stored.group);
    for (Entry &entry : entries) {
        if (entry.route.address == stored.route.address) {
            entry = {stored.route, stored.form};
            return true;
        }
    }
    if (entries.size() >= serverlimits::Swp08SalvoEntries)
        return false;
    entries.append({stored.route, stored.form});
    return true;
}

} // namespace swp08
