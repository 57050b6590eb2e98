#include "core/TagNotesModel.h"

#include "core/DateText.h"
#include "core/Journal.h"
#include "core/NoteCardText.h"

#include <algorithm>

namespace {

bool newerThan(const Note *a, const Note *b)
{
    return a->day > b->day;
}

} // namespace

TagNotesModel::TagNotesModel(Journal *journal, const Tag *tag, QObject *parent)
    : QAbstractListModel(parent), m_journal(journal), m_tag(tag)
{
    const auto notes = journal->notesOfTag(tag);
    if (notes)
        m_notes = *notes;
    else
        m_error = notes.error();
    connect(journal, &Journal::linksChanged, this, &TagNotesModel::applyLinks);
    connect(journal, &Journal::noteTextChanged, this, &TagNotesModel::updateText);
    connect(journal, &Journal::tagAboutToBeRemoved, this, &TagNotesModel::forgetTag);
}

const Note *TagNotesModel::noteAt(const QModelIndex &index) const
{
    if (!index.isValid() || index.model() != this || index.row() >= m_notes.size())
        return nullptr;
    return m_notes.at(index.row());
}

QModelIndex TagNotesModel::indexOf(const Note *note) const
{
    const auto found = std::lower_bound(m_notes.cbegin(), m_notes.cend(), note, newerThan);
    return found != m_notes.cend() && *found == note ? index(int(found - m_notes.cbegin()))
                                                     : QModelIndex();
}

int TagNotesModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_notes.size());
}

QVariant TagNotesModel::data(const QModelIndex &index, int role) const
{
    const Note *note = noteAt(index);
    if (!note)
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole: {
        const auto text = m_journal->text(note);
        return text ? firstLine(*text) : text.error();
    }
    case Qt::AccessibleDescriptionRole: {
        // What the card shows under its title, as a screen reader speaks it: the rest of the
        // text, cut short like the card cuts it, then the day.
        constexpr qsizetype longest = 500;
        const auto text = m_journal->text(note);
        QString rest = text ? remainingText(*text) : QString();
        if (rest.size() > longest) {
            rest.truncate(rest.at(longest - 1).isHighSurrogate() ? longest - 1 : longest);
            rest += u'\u2026';
        }
        const QString day = DateText::fullDay(note->day);
        return rest.isEmpty() ? day : rest + u'\n' + day;
    }
    case NoteRole:
        return QVariant::fromValue(note);
    default:
        return {};
    }
}

void TagNotesModel::applyLinks(const QList<TagLink> &links)
{
    if (!m_tag || !m_error.isEmpty())
        return;
    for (const TagLink &link : links) {
        if (link.tag != m_tag)
            continue;
        const auto at = std::lower_bound(m_notes.cbegin(), m_notes.cend(), link.note, newerThan);
        const int row = int(at - m_notes.cbegin());
        const bool shown = at != m_notes.cend() && *at == link.note;
        if (link.linked && !shown) {
            beginInsertRows(QModelIndex(), row, row);
            m_notes.insert(row, link.note);
            endInsertRows();
        } else if (!link.linked && shown) {
            beginRemoveRows(QModelIndex(), row, row);
            m_notes.removeAt(row);
            endRemoveRows();
        }
    }
}

void TagNotesModel::updateText(const Note *note)
{
    if (const QModelIndex changed = indexOf(note); changed.isValid())
        Q_EMIT dataChanged(
            changed, changed,
            {Qt::DisplayRole, Qt::AccessibleTextRole, Qt::AccessibleDescriptionRole});
}

// A removed tag is never read again; its grid stays empty.
void TagNotesModel::forgetTag(const Tag *tag)
{
    if (tag != m_tag)
        return;
    m_tag = nullptr;
    beginResetModel();
    m_notes.clear();
    endResetModel();
}
