#pragma once

#include "tagbrowser/TagNotesView.h"

#include <QDateTime>
#include <QPointer>
#include <QWidget>

class ModelContext;
class NoteEditorView;
class SelectionState;
class SidebarView;
class QSplitter;
class TagNotesView;

// The main window: a sidebar (calendar and tags) beside a detail pane that shows either the
// editor for the open note or the notes of the selected tag. It owns the selection that all
// of them share and reacts to its changes.
class ContentView : public QWidget
{
    Q_OBJECT

public:
    explicit ContentView(ModelContext *modelContext, QWidget *parent = nullptr);
    ~ContentView() override;

    SelectionState *selection() const { return m_selection; }
    SidebarView *sidebar() const { return m_sidebar; }
    // Only one of the two is alive at a time.
    NoteEditorView *editor() const;
    TagNotesView *tagBrowser() const;

    // Opens the note of the day that contains instant, creating an empty one for a day that
    // has none, and highlights that day.
    void loadOrCreateNote(const QDateTime &instant);

    // Writes text typed in the last half second into its note and saves it.
    void flushPendingEdits();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void selectedDateChanged(const QDateTime &date);
    void selectedTagChanged();
    void showDetail();

    ModelContext *m_modelContext;
    SelectionState *m_selection;
    QSplitter *m_splitter;
    SidebarView *m_sidebar = nullptr;
    QPointer<NoteEditorView> m_editor;
    QPointer<TagNotesView> m_tagBrowser;
    bool m_appeared = false;
};
