#include "ContentView.h"

#include "SelectionState.h"
#include "editor/NoteEditorView.h"
#include "model/ModelContext.h"
#include "model/Note.h"
#include "model/Tag.h"
#include "sidebar/SidebarView.h"

#include <QCloseEvent>
#include <QSplitter>
#include <QVBoxLayout>

#include <memory>

namespace {

constexpr int sidebarMinimumWidth = 250;
constexpr int sidebarMaximumWidth = 400;

} // namespace

ContentView::ContentView(ModelContext *modelContext, QWidget *parent)
    : QWidget(parent), m_modelContext(modelContext), m_selection(new SelectionState(this)),
      m_splitter(new QSplitter(Qt::Horizontal, this))
{
    setWindowTitle(QStringLiteral("LumenQuill"));
    resize(1100, 760);

    m_sidebar = new SidebarView(modelContext, m_selection, m_splitter);
    m_sidebar->setObjectName(QStringLiteral("sidebar"));
    m_sidebar->setMinimumWidth(sidebarMinimumWidth);
    m_sidebar->setMaximumWidth(sidebarMaximumWidth);
    m_splitter->addWidget(m_sidebar);
    m_splitter->setCollapsible(0, false);
    m_splitter->setChildrenCollapsible(false);
    m_splitter->setStretchFactor(0, 0);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_splitter);

    connect(m_selection, &SelectionState::selectedDateChanged, this,
            &ContentView::selectedDateChanged);
    connect(m_selection, &SelectionState::selectedTagChanged, this,
            &ContentView::selectedTagChanged);
    // A deleted tag is never shown: the detail pane goes back to the editor.
    connect(modelContext, &ModelContext::tagAboutToBeDeleted, this, [this](Tag *tag) {
        if (m_selection->selectedTag() == tag)
            m_selection->setSelectedTag(nullptr);
    });
    showDetail();
    m_splitter->setSizes({sidebarMinimumWidth, width() - sidebarMinimumWidth});
}

ContentView::~ContentView()
{
    flushPendingEdits();
}

NoteEditorView *ContentView::editor() const
{
    return m_editor;
}

TagNotesView *ContentView::tagBrowser() const
{
    return m_tagBrowser;
}

void ContentView::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_appeared)
        return;
    m_appeared = true;
    loadOrCreateNote(QDateTime::currentDateTime());
}

void ContentView::closeEvent(QCloseEvent *event)
{
    flushPendingEdits();
    m_modelContext->save();
    QWidget::closeEvent(event);
}

void ContentView::flushPendingEdits()
{
    if (m_editor)
        m_editor->flushPendingSave();
}

void ContentView::loadOrCreateNote(const QDateTime &instant)
{
    const QDate day = instant.toLocalTime().date();
    const FetchResult<Note> fetched = m_modelContext->fetchNote(day);
    Note *note = fetched.record;
    if (fetched.ok() && !note) {
        auto created = std::make_unique<Note>(day.startOfDay(), QString());
        if (m_modelContext->insert(created.get()))
            note = created.release();
    }
    // The store could not be read: no note is open, rather than one that is never saved.
    if (!note) {
        m_selection->setSelectedNoteToEdit(nullptr);
        m_selection->setHighlightedDate(std::nullopt);
        return;
    }
    m_selection->setHighlightedDate(day.startOfDay());
    m_selection->setSelectedNoteToEdit(note);
    if (m_editor)
        m_editor->focusTextSurface();
}

void ContentView::selectedDateChanged(const QDateTime &date)
{
    m_selection->setSelectedTag(nullptr);
    m_selection->setHighlightedDate(date);
    loadOrCreateNote(date);
}

void ContentView::selectedTagChanged()
{
    if (m_selection->selectedTag())
        m_selection->setHighlightedDate(std::nullopt);
    showDetail();
}

// The editor and the tag browser replace each other; each starts afresh when it returns.
void ContentView::showDetail()
{
    Tag *tag = m_selection->selectedTag();
    if (tag ? m_tagBrowser && m_tagBrowser->tag() == tag : !m_editor.isNull())
        return;

    NoteEditorView *oldEditor = m_editor;
    TagNotesView *oldBrowser = m_tagBrowser;
    m_editor = nullptr;
    m_tagBrowser = nullptr;
    // Text typed in the last half second goes into its note (and its tags) before the
    // editor goes, so the browser already shows it.
    if (oldEditor)
        oldEditor->flushPendingSave();

    QWidget *detail = nullptr;
    if (tag) {
        m_tagBrowser = new TagNotesView(tag, m_selection);
        m_tagBrowser->setObjectName(QStringLiteral("tagBrowser"));
        detail = m_tagBrowser;
    } else {
        m_editor = new NoteEditorView(m_modelContext, m_selection);
        m_editor->setObjectName(QStringLiteral("editor"));
        detail = m_editor;
    }
    if (m_splitter->count() > 1)
        m_splitter->replaceWidget(1, detail);
    else
        m_splitter->addWidget(detail);
    m_splitter->setStretchFactor(1, 1);

    // Back from the tag browser, the user goes on writing.
    if (m_editor && isVisible())
        m_editor->focusTextSurface();
    delete oldEditor;
    // A card click gets here from inside the browser's own mouse or key handler.
    if (oldBrowser)
        oldBrowser->deleteLater();
}
