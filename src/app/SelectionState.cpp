#include "app/SelectionState.h"

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

void SelectionState::setSelectedTag(const Tag *tag)
{
    if (tag == m_selectedTag)
        return;
    m_selectedTag = tag;
    Q_EMIT selectedTagChanged(tag);
}

void SelectionState::setOpenNote(const Note *note)
{
    if (note == m_openNote)
        return;
    m_openNote = note;
    Q_EMIT openNoteChanged(note);
}
