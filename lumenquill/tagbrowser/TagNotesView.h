#pragma once

#include <QRect>
#include <QString>
#include <QWidget>

class Note;
class QLabel;
class QListView;
class SelectionState;
class Tag;
class TagNotesGrid;
class TagNotesModel;

// The detail pane while a tag is browsed: a heading over every note that carries the tag,
// as cards in three columns, newest day first. A card leads back to its note in the editor.
class TagNotesView : public QWidget
{
    Q_OBJECT

public:
    TagNotesView(Tag *tag, SelectionState *selection, QWidget *parent = nullptr);
    ~TagNotesView() override;

    // Absent once the tag has been deleted.
    Tag *tag() const;
    QListView *grid() const;
    TagNotesModel *model() const { return m_model; }
    QString headingText() const;

    // Where the note's card is, in the grid viewport's coordinates; empty without a card.
    QRect cardRect(const Note *note) const;

protected:
    void changeEvent(QEvent *event) override;

private:
    // What a click on the note's card does.
    void openNote(Note *note);
    void updateTexts();
    void updateHeadingFont();

    SelectionState *m_selection;
    // Kept so that a deleted tag's record is never read for the heading.
    QString m_tagName;
    QLabel *m_heading;
    TagNotesGrid *m_grid;
    TagNotesModel *m_model;
};
