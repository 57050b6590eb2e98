#include "app/MainWindow.h"

#include "app/Icons.h"
#include "app/JournalMenu.h"
#include "app/SelectionState.h"
#include "app/ShortcutsDialog.h"
#include "app/ToolButton.h"
#include "app/calendar/MonthCalendar.h"
#include "app/editor/NoteEditor.h"
#include "app/editor/NoteTextEdit.h"
#include "app/sidebar/Sidebar.h"
#include "app/sidebar/TagPane.h"
#include "app/tagbrowser/TagNotesPage.h"
#include "core/Journal.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QMenuBar>
#include <QSplitter>
#include <QToolButton>

#include <algorithm>

namespace {

constexpr int sidebarMinimumWidth = 250;
constexpr int sidebarMaximumWidth = 400;

} // namespace

MainWindow::MainWindow(Journal *journal, QWidget *parent)
    : QMainWindow(parent), m_journal(journal), m_selection(new SelectionState(this)),
      m_splitter(new QSplitter(Qt::Horizontal, this)),
      m_sidebar(new Sidebar(journal, m_selection, m_splitter)),
      m_journalMenu(new JournalMenu(journal, this))
{
    // The journal's name: the desktop adds the program's ("journal — LumenQuill").
    const QString name = QFileInfo(journal->path()).completeBaseName();
    setWindowTitle(name.isEmpty() ? QStringLiteral("LumenQuill") : name);
    setWindowFilePath(journal->path());
    resize(1100, 760);

    m_sidebar->setObjectName(QStringLiteral("sidebar"));
    // Wide enough for the calendar's month and buttons in the desktop's font, a large one too.
    const int sidebarWidth = std::clamp(m_sidebar->calendar()->sizeHint().width(),
                                        sidebarMinimumWidth, sidebarMaximumWidth);
    m_sidebar->setMinimumWidth(sidebarWidth);
    m_sidebar->setMaximumWidth(sidebarMaximumWidth);
    m_splitter->addWidget(m_sidebar);
    m_splitter->setChildrenCollapsible(false);
    m_splitter->setStretchFactor(0, 0);
    setCentralWidget(m_splitter);

    connect(m_selection, &SelectionState::selectedDateChanged, this,
            &MainWindow::selectedDateChanged);
    connect(m_selection, &SelectionState::selectedTagChanged, this,
            &MainWindow::selectedTagChanged);
    // A removed tag is never shown: the pane goes back to the editor.
    connect(journal, &Journal::tagAboutToBeRemoved, this, [this](const Tag *tag) {
        if (m_selection->selectedTag() == tag)
            m_selection->setSelectedTag(nullptr);
    });
    addMenus();
    m_searchButton =
        makeToolButton(QStringLiteral("noteSearchButton"), tr("Search Notes"), menuBar());
    m_searchButton->setIcon(themedIcon(QStringLiteral("edit-find"), palette()));
    menuBar()->setCornerWidget(m_searchButton, Qt::TopRightCorner);
    connect(m_searchButton, &QToolButton::clicked, this, &MainWindow::openSearch);
    connect(m_journalMenu->searchAction(), &QAction::triggered, this, &MainWindow::openSearch);
    connect(m_journalMenu, &JournalMenu::transferStarting, this, &MainWindow::saveNow);

    showDetail();
    m_splitter->setSizes({sidebarWidth, width() - sidebarWidth});
}

MainWindow::~MainWindow()
{
    saveNow();
}

void MainWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::PaletteChange && m_searchButton)
        m_searchButton->setIcon(themedIcon(QStringLiteral("edit-find"), palette()));
    QMainWindow::changeEvent(event);
    // Leaving the window hands its pending text over: another window on the same note shows
    // it by the time the user looks there.
    if (event->type() == QEvent::ActivationChange && !isActiveWindow())
        saveNow();
}

void MainWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    openDay(QDateTime::currentDateTime());
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    saveNow();
    m_journal->save();
    QMainWindow::closeEvent(event);
}

// The Journal menu, the sidebar's keys in a Go menu, and the list of keys under Help.
void MainWindow::addMenus()
{
    menuBar()->addMenu(m_journalMenu);
    QMenu *go = menuBar()->addMenu(tr("&Go"));
    go->setObjectName(QStringLiteral("goMenu"));
    go->addActions(m_sidebar->calendar()->navigationActions());
    go->addSeparator();
    go->addAction(m_sidebar->tagPane()->findTagAction());
    QMenu *help = menuBar()->addMenu(tr("&Help"));
    help->setObjectName(QStringLiteral("helpMenu"));
    QAction *shortcuts = help->addAction(tr("&Keyboard Shortcuts"));
    shortcuts->setObjectName(QStringLiteral("shortcutsAction"));
    connect(shortcuts, &QAction::triggered, this, [this] {
        auto *dialog = new ShortcutsDialog(this);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        dialog->open();
    });
}

// Tab goes from the sidebar through the pane and on to the search button at the top, then
// back round to the calendar: the pane's controls follow the tag list.
void MainWindow::orderTabs(QWidget *detail)
{
    QWidget *last = nullptr;
    for (QWidget *widget = detail->nextInFocusChain(); detail->isAncestorOf(widget);
         widget = widget->nextInFocusChain()) {
        if (widget->focusPolicy() & Qt::TabFocus)
            last = widget;
    }
    if (last)
        QWidget::setTabOrder(last, m_searchButton);
}

void MainWindow::saveNow()
{
    if (m_editor)
        m_editor->saveNow();
}

void MainWindow::openDay(const QDateTime &instant)
{
    const QDate day = instant.toLocalTime().date();
    const auto note = m_journal->noteForDay(day);
    // The journal could not be read: no note is open, rather than one that could overwrite
    // the real one.
    if (!note) {
        m_selection->setOpenNote(nullptr);
        m_selection->setHighlightedDate(std::nullopt);
        if (m_editor)
            m_editor->showReadError(day, note.error());
        return;
    }
    m_selection->setHighlightedDate(day.startOfDay());
    m_selection->setOpenNote(*note);
    if (m_editor)
        m_editor->focusText();
}

void MainWindow::openSearch()
{
    if (!m_searching) {
        m_searching = true;
        if (m_selection->selectedTag())
            m_selection->setSelectedTag(nullptr);
        else
            showDetail();
    }
    if (m_searchPage)
        m_searchPage->focusField();
}

void MainWindow::closeSearch()
{
    m_searching = false;
    showDetail();
}

// Only values taken beforehand are used: the page that asked goes with the first change.
void MainWindow::openSearchResult(const Note *note, const QString &typed)
{
    const QDateTime date = note->day.startOfDay();
    m_searching = false;
    showDetail();
    m_selection->setOpenNote(note);
    m_selection->setSelectedDate(date);
    m_selection->setHighlightedDate(date);
    if (!m_editor || m_editor->note() != note)
        return;
    m_editor->focusText();
    // Found in the text as the editor shows it, where a CR LF is one line break.
    if (const auto text = m_journal->text(note))
        m_editor->highlightMatches(findMatches(NoteTextEdit::shownForm(*text), typed));
}

void MainWindow::selectedDateChanged(const QDateTime &date)
{
    // A day picked in the calendar leaves the search for that day's note.
    if (m_searching) {
        m_searching = false;
        showDetail();
    }
    m_selection->setSelectedTag(nullptr);
    m_selection->setHighlightedDate(date);
    openDay(date);
}

void MainWindow::selectedTagChanged(const Tag *tag)
{
    if (tag) {
        m_searching = false;
        m_selection->setHighlightedDate(std::nullopt);
    }
    showDetail();
}

// The editor, the tag's notes and the search replace each other; each starts afresh when it
// returns.
void MainWindow::showDetail()
{
    const Tag *tag = m_selection->selectedTag();
    if (tag           ? m_tagNotesPage && m_tagNotesPage->tag() == tag
        : m_searching ? !m_searchPage.isNull()
                      : !m_editor.isNull())
        return;

    NoteEditor *oldEditor = m_editor;
    TagNotesPage *oldPage = m_tagNotesPage;
    SearchPage *oldSearch = m_searchPage;
    m_editor = nullptr;
    m_tagNotesPage = nullptr;
    m_searchPage = nullptr;
    // Text typed in the last half second goes into its note (and its tags) before the
    // editor goes, so that the tag's notes already show it.
    if (oldEditor)
        oldEditor->saveNow();

    QWidget *detail = nullptr;
    if (tag) {
        m_tagNotesPage = new TagNotesPage(m_journal, tag, m_selection);
        m_tagNotesPage->setObjectName(QStringLiteral("tagNotesPage"));
        detail = m_tagNotesPage;
    } else if (m_searching) {
        m_searchPage = new SearchPage(m_journal);
        m_searchPage->setObjectName(QStringLiteral("searchPage"));
        connect(m_searchPage, &SearchPage::resultChosen, this, &MainWindow::openSearchResult);
        connect(m_searchPage, &SearchPage::closeRequested, this, &MainWindow::closeSearch);
        detail = m_searchPage;
    } else {
        m_editor = new NoteEditor(m_journal, m_selection);
        m_editor->setObjectName(QStringLiteral("editor"));
        detail = m_editor;
    }
    if (m_splitter->count() > 1)
        m_splitter->replaceWidget(1, detail);
    else
        m_splitter->addWidget(detail);
    m_splitter->setStretchFactor(1, 1);
    orderTabs(detail);

    // Back from a tag's notes or the search, the user goes on writing.
    if (m_editor && isVisible())
        m_editor->focusText();
    if (m_searchPage && isVisible())
        m_searchPage->focusField();
    delete oldEditor;
    // A card click, a result chosen or Escape gets here from inside the page's own mouse or
    // key handler.
    if (oldPage)
        oldPage->deleteLater();
    if (oldSearch)
        oldSearch->deleteLater();
}
