#include "core/TagFilterModel.h"

#include "core/Tag.h"
#include "core/TagListModel.h"

TagFilterModel::TagFilterModel(TagListModel *tags, QObject *parent)
    : QSortFilterProxyModel(parent), m_tags(tags)
{
    m_collator.setCaseSensitivity(Qt::CaseInsensitive);
    m_collator.setNumericMode(false);
    setSourceModel(tags);
    setDynamicSortFilter(true);
    // lessThan() holds the whole order, ties included, so the proxy always sorts ascending.
    sort(0, Qt::AscendingOrder);
}

void TagFilterModel::setOrder(TagOrder order)
{
    if (order == m_order)
        return;
    m_order = order;
    if (order == TagOrder::MostRecent)
        m_tags->loadRecency();
    invalidate();
}

void TagFilterModel::setSearchText(const QString &text)
{
    if (text == m_searchText)
        return;
    m_searchText = text;
    m_needle = tagSearchKey(text);
    invalidateFilter();
}

const Tag *TagFilterModel::tagAt(const QModelIndex &index) const
{
    return m_tags->tagAt(mapToSource(index));
}

QModelIndex TagFilterModel::indexOf(const Tag *tag) const
{
    return mapFromSource(m_tags->indexOf(tag));
}

bool TagFilterModel::filterAcceptsRow(int sourceRow, const QModelIndex &) const
{
    return m_needle.isEmpty() ||
           searchKey(m_tags->tagAt(m_tags->index(sourceRow))).contains(m_needle);
}

bool TagFilterModel::lessThan(const QModelIndex &left, const QModelIndex &right) const
{
    const Tag *a = m_tags->tagAt(left);
    const Tag *b = m_tags->tagAt(right);
    switch (m_order) {
    case TagOrder::NameAscending:
    case TagOrder::NameDescending:
        // A copy: making b's key may grow the cache and move a's.
        if (const int order = QCollatorSortKey(sortKey(a)).compare(sortKey(b)); order != 0)
            return m_order == TagOrder::NameAscending ? order < 0 : order > 0;
        break;
    case TagOrder::MostRecent: {
        const qint64 recencyA = left.data(TagListModel::RecencyRole).toLongLong();
        const qint64 recencyB = right.data(TagListModel::RecencyRole).toLongLong();
        if (recencyA != recencyB)
            return recencyA > recencyB;
        break;
    }
    }
    return left.row() < right.row();
}

const QCollatorSortKey &TagFilterModel::sortKey(const Tag *tag) const
{
    auto found = m_sortKeys.find(tag);
    if (found == m_sortKeys.end())
        found = m_sortKeys.insert(tag, m_collator.sortKey(tag->name));
    return *found;
}

const QString &TagFilterModel::searchKey(const Tag *tag) const
{
    auto found = m_searchKeys.find(tag);
    if (found == m_searchKeys.end())
        found = m_searchKeys.insert(tag, tagSearchKey(tag->name));
    return *found;
}
