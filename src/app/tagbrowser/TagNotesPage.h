#pragma once

#include <QString>
#include <QWidget>

class ElidedLabel;
class Journal;
class NoteCardGrid;
class QLabel;
class SelectionState;
class TagNotesModel;
struct Note;
struct Tag;

// The pane while a tag is browsed: a heading over every note that carries the tag, as cards
// in three columns, newest day first. A card leads back to its note in the editor.
class TagNotesPage : public QWidget
{
    Q_OBJECT

public:
    TagNotesPage(Journal *journal, const Tag *tag, SelectionState *selection,
                 QWidget *parent = nullptr);

    // Null once the tag has been removed.
    const Tag *tag() const;
    NoteCardGrid *grid() const { return m_grid; }
    QString headingText() const;

protected:
    void changeEvent(QEvent *event) override;

private:
    // What a click on the note's card does.
    void openNote(const Note *note);

    SelectionState *m_selection;
    ElidedLabel *m_heading;
    NoteCardGrid *m_grid;
    TagNotesModel *m_model;
    QLabel *m_readError;
};
