#include "core/TagListModel.h"

#include "core/Journal.h"

#include <QHash>
#include <QSet>

#include <algorithm>

TagListModel::TagListModel(Journal *journal, QObject *parent)
    : QAbstractListModel(parent), m_journal(journal)
{
    const auto tags = journal->tags();
    m_loaded = tags.ok();
    if (tags)
        m_tags = *tags;
    else
        m_error = tags.error();
    connect(journal, &Journal::tagsAdded, this, &TagListModel::addTags);
    connect(journal, &Journal::tagAboutToBeRemoved, this, &TagListModel::removeTag);
    connect(journal, &Journal::linksChanged, this, &TagListModel::applyLinks);
}

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
        return tag->name;
    case Qt::ToolTipRole:
        // The whole name, unless it is too long to be read in a tooltip anyway.
        return tag->name.size() > 200 ? tag->name.left(200) + u'\u2026' : tag->name;
    case Qt::DecorationRole:
        return m_decoration;
    case TagRole:
        return QVariant::fromValue(tag);
    case RecencyRole:
        return m_recency.value(tag);
    case NoteCountRole:
        return m_noteCountsLoaded ? QVariant(m_noteCounts.value(tag)) : QVariant();
    case Qt::AccessibleTextRole: {
        if (!m_noteCountsLoaded)
            return {};
        // Read after the name, as the row shows it.
        const int count = m_noteCounts.value(tag);
        //: A tag for screen readers: %1 its name, then how many notes carry it.
        return (count == 1 ? tr("%1, 1 note") : tr("%1, %n notes", nullptr, count)).arg(tag->name);
    }
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

const Tag *TagListModel::tagAt(const QModelIndex &index) const
{
    if (!index.isValid() || index.model() != this || index.row() >= m_tags.size())
        return nullptr;
    return m_tags.at(index.row());
}

QModelIndex TagListModel::indexOf(const Tag *tag) const
{
    const qsizetype row = tag ? m_tags.indexOf(tag) : -1;
    return row < 0 ? QModelIndex() : index(int(row));
}

void TagListModel::setDecoration(const QVariant &decoration)
{
    m_decoration = decoration;
    if (!m_tags.isEmpty())
        Q_EMIT dataChanged(index(0), index(int(m_tags.size()) - 1), {Qt::DecorationRole});
}

void TagListModel::loadRecency()
{
    if (m_recencyLoaded)
        return;
    m_recencyLoaded = true;
    for (const Tag *tag : std::as_const(m_tags))
        workOutRecency(tag);
    if (!m_tags.isEmpty())
        Q_EMIT dataChanged(index(0), index(int(m_tags.size()) - 1), {RecencyRole});
}

void TagListModel::loadNoteCounts()
{
    if (m_noteCountsLoaded || !m_loaded)
        return;
    const auto counts = m_journal->noteCounts();
    if (!counts) {
        setError(counts.error());
        return;
    }
    m_noteCounts = *counts;
    m_noteCountsLoaded = true;
    if (!m_tags.isEmpty()) {
        Q_EMIT dataChanged(index(0), index(int(m_tags.size()) - 1),
                           {NoteCountRole, Qt::AccessibleTextRole});
    }
}

void TagListModel::addTags(const QList<const Tag *> &tags)
{
    // A list that could not be read stays empty rather than showing only the newest tags.
    if (!m_loaded)
        return;
    if (m_recencyLoaded) {
        for (const Tag *tag : tags)
            workOutRecency(tag);
    }
    const int first = int(m_tags.size());
    beginInsertRows(QModelIndex(), first, first + int(tags.size()) - 1);
    m_tags.append(tags);
    endInsertRows();
}

void TagListModel::removeTag(const Tag *tag)
{
    const qsizetype row = m_tags.indexOf(tag);
    if (row < 0)
        return;
    beginRemoveRows(QModelIndex(), int(row), int(row));
    m_tags.removeAt(row);
    m_recency.remove(tag);
    m_noteCounts.remove(tag);
    endRemoveRows();
}

void TagListModel::applyLinks(const QList<TagLink> &links)
{
    if ((!m_noteCountsLoaded && !m_recencyLoaded) || links.isEmpty())
        return;
    // One pass over the rows and one change signal for the whole span: a paste of a hundred
    // thousand hashtags links as many tags in one save.
    QHash<const Tag *, int> rows;
    rows.reserve(m_tags.size());
    for (int row = 0; row < int(m_tags.size()); ++row)
        rows.insert(m_tags.at(row), row);
    QSet<const Tag *> changed;
    int first = int(m_tags.size());
    int last = -1;
    for (const TagLink &link : links) {
        const auto row = rows.constFind(link.tag);
        if (row == rows.cend())
            continue;
        changed.insert(link.tag);
        first = std::min(first, *row);
        last = std::max(last, *row);
        if (!m_noteCountsLoaded)
            continue;
        int &count = m_noteCounts[link.tag];
        count += link.linked ? 1 : -1;
        if (count == 0)
            m_noteCounts.remove(link.tag);
    }
    if (last < 0)
        return;
    QList<int> roles;
    if (m_noteCountsLoaded)
        roles = {NoteCountRole, Qt::AccessibleTextRole};
    if (m_recencyLoaded) {
        roles.append(RecencyRole);
        for (const Tag *tag : std::as_const(changed))
            workOutRecency(tag);
    }
    Q_EMIT dataChanged(index(first), index(last), roles);
}

void TagListModel::workOutRecency(const Tag *tag)
{
    const auto latest = m_journal->latestNoteDay(tag);
    if (!latest)
        setError(latest.error());
    const QDateTime recency = latest && latest->isValid() ? latest->startOfDay() : tag->createdAt;
    m_recency.insert(tag, recency.toMSecsSinceEpoch());
}

void TagListModel::setError(const QString &error)
{
    if (error == m_error)
        return;
    m_error = error;
    Q_EMIT errorChanged();
}
