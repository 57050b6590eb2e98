#include "SelectionState.h"

#include "model/Note.h"
#include "model/Tag.h"

SelectionState::SelectionState(QObject *parent) : QObject(parent)
{}

void SelectionState::setSelectedDate(const QDateTime &date)
{
    if (date == m_selectedDate)
        return;
    m_selectedDate = date;
    Q_EMIT selectedDateChanged(date);
}

void SelectionState::setHighlightedDate(const std::optional<QDateTime> &date)
{
    if (date == m_highlightedDate)
        return;
    m_highlightedDate = date;
    Q_EMIT highlightedDateChanged();
}

Tag *SelectionState::selectedTag() const
{
    return m_selectedTag;
}

Note *SelectionState::selectedNoteToEdit() const
{
    return m_selectedNoteToEdit;
}

void SelectionState::setSelectedTag(Tag *tag)
{
    if (tag == m_selectedTag.data())
        return;
    m_selectedTag = tag;
    Q_EMIT selectedTagChanged(tag);
}

void SelectionState::setSelectedNoteToEdit(Note *note)
{
    if (note == m_selectedNoteToEdit.data())
        return;
    m_selectedNoteToEdit = note;
    Q_EMIT selectedNoteToEditChanged(note);
}
