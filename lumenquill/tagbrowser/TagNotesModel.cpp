#include "tagbrowser/TagNotesModel.h"

#include "model/ModelContext.h"
#include "model/Note.h"
#include "model/Tag.h"
#include "tagbrowser/NoteCardText.h"

#include <QSet>

#include <algorithm>

namespace {

bool newerThan(const Note *a, const Note *b)
{
    return a->day() > b->day();
}

QList<Note *> newestFirst(QList<Note *> notes)
{
    std::stable_sort(notes.begin(), notes.end(), newerThan);
    return notes;
}

int toRow(qsizetype position)
{
    return static_cast<int>(position);
}

} // namespace

TagNotesModel::TagNotesModel(Tag *tag, QObject *parent) : QAbstractListModel(parent), m_tag(tag)
{
    if (!tag)
        return;
    m_notes = newestFirst(tag->notes());
    for (Note *note : std::as_const(m_notes))
        watch(note);
    connect(tag, &Tag::notesChanged, this, &TagNotesModel::syncWithTag);
    if (ModelContext *context = tag->modelContext())
        connect(context, &ModelContext::tagAboutToBeDeleted, this, &TagNotesModel::forgetTag);
}

TagNotesModel::~TagNotesModel() = default;

Tag *TagNotesModel::tag() const
{
    return m_tag;
}

Note *TagNotesModel::noteAt(int row) const
{
    return row >= 0 && row < m_notes.size() ? m_notes.at(row) : nullptr;
}

QModelIndex TagNotesModel::indexOf(const Note *note) const
{
    const qsizetype row = m_notes.indexOf(note);
    return row < 0 ? QModelIndex() : index(toRow(row));
}

int TagNotesModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : toRow(m_notes.size());
}

QVariant TagNotesModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return QVariant();
    Note *note = m_notes.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return firstLine(note->content());
    case NoteRole:
        return QVariant::fromValue(note);
    case DateRole:
        return note->date();
    default:
        return QVariant();
    }
}

QHash<int, QByteArray> TagNotesModel::roleNames() const
{
    QHash<int, QByteArray> names = QAbstractListModel::roleNames();
    names.insert(NoteRole, QByteArrayLiteral("note"));
    names.insert(DateRole, QByteArrayLiteral("date"));
    return names;
}

// The tag only says that its links changed, so the new list is compared with the shown one:
// runs of removed rows go first, then runs of new rows are put in their sorted places.
void TagNotesModel::syncWithTag()
{
    const QList<Note *> wanted = newestFirst(m_tag ? m_tag->notes() : QList<Note *>());
    const QSet<Note *> kept(wanted.cbegin(), wanted.cend());

    for (qsizetype last = m_notes.size() - 1; last >= 0; --last) {
        if (kept.contains(m_notes.at(last)))
            continue;
        qsizetype first = last;
        while (first > 0 && !kept.contains(m_notes.at(first - 1)))
            --first;
        beginRemoveRows(QModelIndex(), toRow(first), toRow(last));
        for (qsizetype row = first; row <= last; ++row)
            unwatch(m_notes.at(row));
        m_notes.remove(first, last - first + 1);
        endRemoveRows();
        last = first;
    }

    const QSet<Note *> shown(m_notes.cbegin(), m_notes.cend());
    for (qsizetype row = 0; row < wanted.size();) {
        if (row < m_notes.size() && m_notes.at(row) == wanted.at(row)) {
            ++row;
            continue;
        }
        // Only notes of the same day could be ordered differently; start over then.
        if (shown.contains(wanted.at(row))) {
            resetTo(wanted);
            return;
        }
        qsizetype end = row;
        while (end < wanted.size() && !shown.contains(wanted.at(end)))
            ++end;
        beginInsertRows(QModelIndex(), toRow(row), toRow(end - 1));
        m_notes.insert(row, end - row, nullptr);
        for (qsizetype i = row; i < end; ++i) {
            m_notes[i] = wanted.at(i);
            watch(wanted.at(i));
        }
        endInsertRows();
        row = end;
    }
}

void TagNotesModel::resetTo(const QList<Note *> &notes)
{
    beginResetModel();
    for (Note *note : std::as_const(m_notes))
        unwatch(note);
    m_notes = notes;
    for (Note *note : std::as_const(m_notes))
        watch(note);
    endResetModel();
}

// A deleted tag is never read again; its grid stays empty.
void TagNotesModel::forgetTag(Tag *tag)
{
    if (tag != m_tag)
        return;
    disconnect(tag, nullptr, this, nullptr);
    m_tag = nullptr;
    resetTo({});
}

void TagNotesModel::noteContentChanged(Note *note)
{
    const QModelIndex changed = indexOf(note);
    if (changed.isValid())
        Q_EMIT dataChanged(changed, changed, {Qt::DisplayRole});
}

void TagNotesModel::noteDateChanged(Note *note)
{
    const qsizetype from = m_notes.indexOf(note);
    if (from < 0)
        return;
    qsizetype to = 0;
    for (qsizetype row = 0; row < m_notes.size(); ++row) {
        if (row != from && newerThan(m_notes.at(row), note))
            ++to;
    }
    if (to != from) {
        beginMoveRows(QModelIndex(), toRow(from), toRow(from), QModelIndex(),
                      toRow(to > from ? to + 1 : to));
        m_notes.move(from, to);
        endMoveRows();
    }
    const QModelIndex changed = index(toRow(to));
    Q_EMIT dataChanged(changed, changed, {DateRole});
}

void TagNotesModel::watch(Note *note)
{
    connect(note, &Note::contentChanged, this, [this, note] { noteContentChanged(note); });
    connect(note, &Note::dateChanged, this, [this, note] { noteDateChanged(note); });
}

void TagNotesModel::unwatch(Note *note)
{
    disconnect(note, nullptr, this, nullptr);
}
