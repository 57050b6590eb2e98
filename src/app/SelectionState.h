#pragma once

#include <QDateTime>
#include <QObject>

#include <optional>

struct Note;
struct Tag;

// A window's selection: the picked day, the day drawn highlighted in the calendar, the tag
// being browsed and the note open in the editor. The calendar, the tag list and the cards
// write it; each setter signals only when the value really changes.
class SelectionState : public QObject
{
    Q_OBJECT

public:
    explicit SelectionState(QObject *parent = nullptr);

    // An instant within the picked day: the start of a clicked day, or the moment TODAY was
    // pressed.
    QDateTime selectedDate() const { return m_selectedDate; }
    void setSelectedDate(const QDateTime &date);

    std::optional<QDateTime> highlightedDate() const { return m_highlightedDate; }
    void setHighlightedDate(const std::optional<QDateTime> &date);

    const Tag *selectedTag() const { return m_selectedTag; }
    void setSelectedTag(const Tag *tag);

    const Note *openNote() const { return m_openNote; }
    void setOpenNote(const Note *note);

Q_SIGNALS:
    void selectedDateChanged(const QDateTime &date);
    void highlightedDateChanged();
    void selectedTagChanged(const Tag *tag);
    void openNoteChanged(const Note *note);

private:
    QDateTime m_selectedDate = QDateTime::currentDateTime();
    std::optional<QDateTime> m_highlightedDate;
    const Tag *m_selectedTag = nullptr;
    const Note *m_openNote = nullptr;
};
