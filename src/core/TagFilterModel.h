#pragma once

#include "core/TagOrder.h"

#include <QCollator>
#include <QCollatorSortKey>
#include <QHash>
#include <QSortFilterProxyModel>

class TagListModel;
struct Tag;

// The tags the sidebar lists: those whose name contains the search text (case ignored,
// accents not; all of them while it is empty), in the chosen order. Tags that compare equal
// keep the order in which they were made.
class TagFilterModel : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    explicit TagFilterModel(TagListModel *tags, QObject *parent = nullptr);

    TagOrder order() const { return m_order; }
    void setOrder(TagOrder order);
    void setSearchText(const QString &text);

    const Tag *tagAt(const QModelIndex &index) const;
    QModelIndex indexOf(const Tag *tag) const;

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;
    bool lessThan(const QModelIndex &left, const QModelIndex &right) const override;

private:
    // Keys are worked out once per tag and name: sorting and searching compare only keys.
    const QCollatorSortKey &sortKey(const Tag *tag) const;
    const QString &searchKey(const Tag *tag) const;

    TagListModel *m_tags;
    TagOrder m_order = TagOrder::NameAscending;
    QString m_searchText;
    QString m_needle;
    QCollator m_collator;
    mutable QHash<const Tag *, QCollatorSortKey> m_sortKeys;
    mutable QHash<const Tag *, QString> m_searchKeys;
};
