#pragma once

#include "app/editor/NoteEditor.h"
#include "app/search/SearchPage.h"
#include "app/tagbrowser/TagNotesPage.h"

#include <QMainWindow>
#include <QPointer>

class Journal;
class JournalMenu;
class SelectionState;
class Sidebar;
class QSplitter;
class QToolButton;
struct Tag;

// The main window: a sidebar (calendar and tags) beside a pane that shows the editor for the
// open note, the notes of the selected tag or the note search. It owns the selection that all
// of them share and reacts to its changes.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(Journal *journal, QWidget *parent = nullptr);
    ~MainWindow() override;

    SelectionState *selection() const { return m_selection; }
    Sidebar *sidebar() const { return m_sidebar; }
    // Only one of the three is alive at a time.
    NoteEditor *editor() const { return m_editor; }
    TagNotesPage *tagNotesPage() const { return m_tagNotesPage; }
    SearchPage *searchPage() const { return m_searchPage; }
    JournalMenu *journalMenu() const { return m_journalMenu; }

    // Opens the note of the day that contains instant, creating it for a day without one,
    // and highlights that day.
    void openDay(const QDateTime &instant);
    // Hands text typed in the last half second to the journal.
    void saveNow();
    // Shows the note search in place of the editor or the tag's notes, the keyboard in its
    // field; closing it brings the editor back on the open note.
    void openSearch();
    void closeSearch();

protected:
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void selectedDateChanged(const QDateTime &date);
    void selectedTagChanged(const Tag *tag);
    void showDetail();
    void openSearchResult(const Note *note, const QString &typed);
    void addMenus();
    void orderTabs(QWidget *detail);

    Journal *m_journal;
    SelectionState *m_selection;
    QSplitter *m_splitter;
    Sidebar *m_sidebar;
    QPointer<NoteEditor> m_editor;
    QPointer<TagNotesPage> m_tagNotesPage;
    QPointer<SearchPage> m_searchPage;
    JournalMenu *m_journalMenu;
    QToolButton *m_searchButton = nullptr;
    bool m_searching = false;
    bool m_shown = false;
};
