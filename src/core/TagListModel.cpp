#include "core/TagListModel.h"

#include "core/Journal.h"

#include <QSet>

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
    if (!m_noteCountsLoaded && !m_recencyLoaded)
        return;
    QSet<const Tag *> changed;
    for (const TagLink &link : links) {
        if (!indexOf(link.tag).isValid())
            continue;
        changed.insert(link.tag);
        if (!m_noteCountsLoaded)
            continue;
        int &count = m_noteCounts[link.tag];
        count += link.linked ? 1 : -1;
        if (count == 0)
            m_noteCounts.remove(link.tag);
    }
    QList<int> roles;
    if (m_noteCountsLoaded)
        roles = {NoteCountRole, Qt::AccessibleTextRole};
    if (m_recencyLoaded)
        roles.append(RecencyRole);
    for (const Tag *tag : std::as_const(changed)) {
        if (m_recencyLoaded)
            workOutRecency(tag);
        const QModelIndex at = indexOf(tag);
        Q_EMIT dataChanged(at, at, roles);
    }
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
