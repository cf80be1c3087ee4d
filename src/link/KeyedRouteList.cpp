#include "link/KeyedRouteList.h"

void KeyedRouteList::add(const QString &key, RouteRecord record)
{
    Q_ASSERT(!m_keys.contains(key));
    m_items.append(record);
    m_itemKeys.append(key);
    m_keys.insert(key);
}

void KeyedRouteList::remove(const QString &key)
{
    if (!m_keys.remove(key))
        return;
    const qsizetype index = m_itemKeys.indexOf(key);
    m_itemKeys.removeAt(index);
    m_items.removeAt(index);
}

void KeyedRouteList::clear()
{
    m_items.clear();
    m_itemKeys.clear();
    m_keys.clear();
}

bool KeyExists(const KeyedRouteList &collection, const QString &key)
{
    return collection.contains(key);
}
