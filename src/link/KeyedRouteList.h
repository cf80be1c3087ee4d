#pragma once

#include "model/RouteRecord.h"

#include <QList>
#include <QString>
#include <QStringList>

// Routes in the order they were added, each under a key of its own.
class KeyedRouteList
{
public:
    // Adds at the end. The key must not be in use.
    void add(const QString &key, RouteRecord record);
    [[nodiscard]] bool contains(const QString &key) const { return m_itemKeys.contains(key); }
    // Removes the item under key, if any.
    void remove(const QString &key);
    void clear();

    [[nodiscard]] const QList<RouteRecord> &items() const { return m_items; }
    [[nodiscard]] qsizetype size() const { return m_items.size(); }

private:
    QList<RouteRecord> m_items;
    QStringList m_itemKeys; // parallel to m_items
};

// True when the collection holds an item under key.
[[nodiscard]] bool KeyExists(const KeyedRouteList &collection, const QString &key);
