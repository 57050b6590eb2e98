#pragma once

#include <QPointer>
#include <QTimer>
#include <QWidget>

class EditorStatusBarView;
class ModelContext;
#include "model/Note.h"

class QLabel;
class QFrame;
class RepresentableTextView;
class SelectionState;

// Edits the open note: its day as a header, the text surface and the counts.
//
// The editor keeps its own copy of the text. Every change restarts one pending save, which
// 500 ms after the last change writes the text into the note it was typed for, updates its
// tags and saves. Nothing typed is lost on the way out: switching notes, leaving the editor
// and quitting all write the pending text first.
class NoteEditorView : public QWidget
{
    Q_OBJECT

public:
    static constexpr int saveDelay = 500;

    NoteEditorView(ModelContext *modelContext, SelectionState *selection,
                   QWidget *parent = nullptr);
    ~NoteEditorView() override;

    QString editorText() const { return m_editorText; }
    Note *note() const { return m_loadedNote; }
    bool hasPendingSave() const { return m_debounceTask.isActive(); }

    RepresentableTextView *textSurface() const { return m_surface; }
    EditorStatusBarView *statusBar() const { return m_statusBar; }
    QString headerText() const;

    // Writes the text typed since the last save into its note now.
    void flushPendingSave();
    void focusTextSurface();

private:
    void load();
    void setEditorText(const QString &text);
    void scheduleSave();
    void runSave();
    void updateHeader();
    void showSaveState();

    ModelContext *m_modelContext;
    SelectionState *m_selection;
    QLabel *m_header;
    QFrame *m_divider;
    RepresentableTextView *m_surface;
    EditorStatusBarView *m_statusBar;

    QString m_editorText;
    // The note whose text the editor holds: pending edits belong to it.
    QPointer<Note> m_loadedNote;
    QTimer m_debounceTask;
};
