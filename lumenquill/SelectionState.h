#pragma once

#include <QDateTime>
#include <QObject>
#include <QPointer>

#include <optional>

class Note;
class Tag;

// The main window's shared selection: the picked day, the day drawn highlighted in the
// calendar, the tag being browsed and the note open in the editor. Views hold a pointer to
// it as their two-way binding; each setter signals only when the value really changes.
class SelectionState : public QObject
{
    Q_OBJECT

public:
    explicit SelectionState(QObject *parent = nullptr);

    QDateTime selectedDate() const { return m_selectedDate; }
    void setSelectedDate(const QDateTime &date);

    std::optional<QDateTime> highlightedDate() const { return m_highlightedDate; }
    void setHighlightedDate(const std::optional<QDateTime> &date);

    // Absent as well once the record has been deleted.
    Tag *selectedTag() const;
    void setSelectedTag(Tag *tag);

    Note *selectedNoteToEdit() const;
    void setSelectedNoteToEdit(Note *note);

Q_SIGNALS:
    void selectedDateChanged(const QDateTime &date);
    void highlightedDateChanged();
    void selectedTagChanged(Tag *tag);
    void selectedNoteToEditChanged(Note *note);

private:
    QDateTime m_selectedDate = QDateTime::currentDateTime();
    std::optional<QDateTime> m_highlightedDate;
    QPointer<Tag> m_selectedTag;
    QPointer<Note> m_selectedNoteToEdit;
};
