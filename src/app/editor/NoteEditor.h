#pragma once

#include "core/TextSearch.h"
#include "core/UnsavedWork.h"

#include <QDate>
#include <QMargins>
#include <QTimer>
#include <QWidget>

class DocumentCounter;
class EditorStatusBar;
class Journal;
class NoteTextEdit;
class QFrame;
class QLabel;
class SelectionState;
struct Note;

// Edits the open note: its day as a header, the text, and the counts under it. In a wide
// window the text keeps to a column of readable width, centred, with the header and the
// counts aligned to it.
//
// Every edit restarts one save timer; 500 ms after the last keystroke the text goes to the
// journal, which writes it with its tags at once. Nothing typed is lost on the way out:
// switching notes, leaving the editor and quitting all hand the pending text over first.
//
// Several windows may show the same note. An editor with nothing pending follows every save
// of the note made elsewhere. One with edits pending keeps them on screen; when it saves, its
// edits and the ones saved meanwhile are merged (mergeEdits()), so that what was typed in
// either window stays in the note, and the other window then follows.
class NoteEditor : public QWidget
{
    Q_OBJECT

public:
    static constexpr int saveDelay = 500;

    NoteEditor(Journal *journal, SelectionState *selection, QWidget *parent = nullptr);
    ~NoteEditor() override;

    const Note *note() const { return m_note; }
    NoteTextEdit *textEdit() const { return m_textEdit; }
    EditorStatusBar *statusBar() const { return m_statusBar; }
    QString headerText() const;
    bool hasPendingSave() const { return m_saveTimer.isActive(); }

    // Hands the text typed since the last save to the journal now.
    void saveNow();
    void focusText();
    // Says that the day's note could not be read, in place of the note.
    void showReadError(QDate day, const QString &error);
    // Marks the stretches of the text that a search found, until another note is opened,
    // and brings the first of them into view with the insertion point at its start.
    void highlightMatches(const QList<TextRange> &matches);
    QList<TextRange> highlightedMatches() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fitColumn();
    void load();
    void textChanged();
    void save();

    Journal *m_journal;
    SelectionState *m_selection;
    QLabel *m_header;
    QFrame *m_divider;
    NoteTextEdit *m_textEdit;
    EditorStatusBar *m_statusBar;
    QLabel *m_readError;
    DocumentCounter *m_counter;

    // The note whose text the editor holds: a pending save belongs to it.
    const Note *m_note = nullptr;
    // The note's text as this editor last showed it unedited, in the editor's form: what
    // pending edits were made to.
    QString m_syncedText;
    bool m_loading = false;
    // Set while the text shown is being saved: it comes back as it is, with nothing to show.
    bool m_savingShownText = false;
    // What the text edit was last given: the viewport plus these is the room the text has.
    QMargins m_textMargins;
    QTimer m_saveTimer;
    UnsavedWork m_unsavedWork;
};
