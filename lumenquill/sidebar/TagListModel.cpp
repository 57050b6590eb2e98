#include "sidebar/TagListModel.h"

#include "model/Tag.h"

#include <QSet>

TagListModel::TagListModel(QObject *parent) : QAbstractListModel(parent)
{}

int TagListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_tags.size());
}

QVariant TagListModel::data(const QModelIndex &index, int role) const
{
    const Tag *tag = tagAt(index);
    if (!tag)
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return tag->name();
    case Qt::DecorationRole:
        return m_tagIcon;
    default:
        return {};
    }
}

Qt::ItemFlags TagListModel::flags(const QModelIndex &index) const
{
    if (!tagAt(index))
        return Qt::NoItemFlags;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren;
}

Tag *TagListModel::tagAt(const QModelIndex &index) const
{
    if (!index.isValid() || index.model() != this || index.column() != 0 ||
        index.row() >= m_tags.size())
        return nullptr;
    return m_tags.at(index.row());
}

QModelIndex TagListModel::indexOf(const Tag *tag) const
{
    const qsizetype row = tag ? m_tags.indexOf(tag) : -1;
    return row < 0 ? QModelIndex() : index(int(row));
}

void TagListModel::setTagIcon(const QIcon &icon)
{
    m_tagIcon = icon;
    if (!m_tags.isEmpty())
        Q_EMIT dataChanged(index(0), index(int(m_tags.size()) - 1), {Qt::DecorationRole});
}

void TagListModel::setTags(const QList<Tag *> &tags)
{
    if (tags == m_tags)
        return;

    const QSet<Tag *> wanted(tags.cbegin(), tags.cend());
    for (int last = int(m_tags.size()) - 1; last >= 0;) {
        if (wanted.contains(m_tags.at(last))) {
            --last;
            continue;
        }
        int first = last;
        while (first > 0 && !wanted.contains(m_tags.at(first - 1)))
            --first;
        beginRemoveRows({}, first, last);
        for (int row = first; row <= last; ++row)
            untrack(m_tags.at(row));
        m_tags.remove(first, last - first + 1);
        endRemoveRows();
        last = first - 1;
    }

    const QSet<Tag *> kept(m_tags.cbegin(), m_tags.cend());
    QList<Tag *> reordered;
    reordered.reserve(m_tags.size());
    for (Tag *tag : tags) {
        if (kept.contains(tag))
            reordered.append(tag);
    }
    if (reordered != m_tags) {
        Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
        const QModelIndexList before = persistentIndexList();
        QModelIndexList after;
        after.reserve(before.size());
        for (const QModelIndex &old : before)
            after.append(index(int(reordered.indexOf(m_tags.at(old.row())))));
        m_tags = reordered;
        changePersistentIndexList(before, after);
        Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    }

    // What is left differs from tags only by the new tags, each block at its place.
    for (int first = 0; first < tags.size();) {
        if (first < m_tags.size() && m_tags.at(first) == tags.at(first)) {
            ++first;
            continue;
        }
        int last = first;
        while (last + 1 < tags.size() && !kept.contains(tags.at(last + 1)))
            ++last;
        beginInsertRows({}, first, last);
        for (int row = first; row <= last; ++row) {
            m_tags.insert(row, tags.at(row));
            track(tags.at(row));
        }
        endInsertRows();
        first = last + 1;
    }
}

// A rename that leaves the tag in place still has to repaint its row.
void TagListModel::track(Tag *tag)
{
    connect(tag, &Tag::nameChanged, this, [this, tag] {
        const QModelIndex at = indexOf(tag);
        if (at.isValid())
            Q_EMIT dataChanged(at, at, {Qt::DisplayRole, Qt::ToolTipRole});
    });
}

void TagListModel::untrack(Tag *tag)
{
    disconnect(tag, nullptr, this, nullptr);
}
