#include "link/KeyedRouteList.h"

void KeyedRouteList::add(const QString &key, RouteRecord record)
{
    Q_ASSERT(!contains(key));
    m_items.append(record);
    m_itemKeys.append(key);
}

void KeyedRouteList::remove(const QString &key)
{
    const qsizetype index = m_itemKeys.indexOf(key);
    if (index < 0)
        return;
    m_itemKeys.removeAt(index);
    m_items.removeAt(index);
}

void KeyedRouteList::clear()
{
    m_items.clear();
    m_itemKeys.clear();
}

bool KeyExists(const KeyedRouteList &collection, const QString &key)
{
    return collection.contains(key);
}
