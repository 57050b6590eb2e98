#pragma once

#include <QList>
#include <QString>

// The orders the sidebar can list its tags in, in menu order.
enum class TagOrder
{
    NameAscending,
    NameDescending,
    MostRecent,
};

QList<TagOrder> allTagOrders();
// The order's menu text.
QString displayName(TagOrder order);

// What a tag search compares: case folded fully ("ß" and "SS" alike) and composed, so that
// canonically equivalent spellings match while a bare letter never matches an accented one.
QString tagSearchKey(const QString &text);
