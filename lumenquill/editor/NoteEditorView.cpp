#include "editor/NoteEditorView.h"

#include "SelectionState.h"
#include "editor/EditorStatusBarView.h"
#include "editor/RepresentableTextView.h"
#include "editor/TextCounts.h"
#include "model/ModelContext.h"
#include "model/Note.h"
#include "tags/TagSync.h"

#include <QFontDatabase>
#include <QFrame>
#include <QLabel>
#include <QLocale>
#include <QVBoxLayout>

namespace {

QFont editorFont()
{
    const QString family = QStringLiteral("Ayuthaya");
    QFont font = QFontDatabase::hasFamily(family)
                     ? QFont(family)
                     : QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPointSize(14);
    return font;
}

} // namespace

NoteEditorView::NoteEditorView(ModelContext *modelContext, SelectionState *selection,
                               QWidget *parent)
    : QWidget(parent), m_modelContext(modelContext), m_selection(selection),
      m_header(new QLabel(this)), m_divider(new QFrame(this)),
      m_surface(new RepresentableTextView(this)), m_statusBar(new EditorStatusBarView(this))
{
    m_header->setObjectName(QStringLiteral("noteHeader"));
    m_header->setContentsMargins(16, 0, 16, 10);
    m_header->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont title = m_header->font();
    title.setPointSizeF(title.pointSizeF() * 2.1);
    title.setBold(true);
    m_header->setFont(title);
    m_divider->setFrameShape(QFrame::HLine);
    m_divider->setFrameShadow(QFrame::Sunken);

    m_surface->setObjectName(QStringLiteral("textSurface"));
    m_surface->setLineHeightMultiple(1.6);
    m_surface->setTextContainerInset(QSize(16, 16));
    m_statusBar->setObjectName(QStringLiteral("statusBar"));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 12, 0, 0);
    layout->addWidget(m_header);
    layout->addWidget(m_divider);
    layout->addWidget(m_surface, 1);
    layout->addWidget(m_statusBar);
    setFocusProxy(m_surface);

    m_debounceTask.setSingleShot(true);
    m_debounceTask.setInterval(saveDelay);
    connect(&m_debounceTask, &QTimer::timeout, this, &NoteEditorView::runSave);
    connect(m_surface, &RepresentableTextView::textEdited, this, &NoteEditorView::setEditorText);
    connect(m_selection, &SelectionState::selectedNoteToEditChanged, this, [this] {
        flushPendingSave();
        load();
    });
    connect(m_modelContext, &ModelContext::saveFinished, this, &NoteEditorView::showSaveState);
    showSaveState();
    load();
}

NoteEditorView::~NoteEditorView()
{
    flushPendingSave();
}

QString NoteEditorView::headerText() const
{
    return m_header->text();
}

// Fills the editor from the open note, never writing it.
void NoteEditorView::load()
{
    if (m_loadedNote)
        disconnect(m_loadedNote, nullptr, this, nullptr);
    m_loadedNote = m_selection->selectedNoteToEdit();
    const bool hasNote = m_loadedNote;
    for (QWidget *part : {static_cast<QWidget *>(m_header), static_cast<QWidget *>(m_divider),
                          static_cast<QWidget *>(m_surface), static_cast<QWidget *>(m_statusBar)})
        part->setVisible(hasNote);
    if (hasNote) {
        connect(m_loadedNote, &Note::dateChanged, this, &NoteEditorView::updateHeader);
        m_surface->setFont(editorFont());
    }
    updateHeader();
    setEditorText(hasNote ? m_loadedNote->content() : QString());
    // Undo must not reach back into the note that was open before.
    m_surface->clearUndoHistory();
}

void NoteEditorView::updateHeader()
{
    m_header->setText(
        m_loadedNote ? QLocale().toString(m_loadedNote->date(), QStringLiteral("MMMM d, yyyy, ddd"))
                     : QString());
}

void NoteEditorView::setEditorText(const QString &text)
{
    if (text == m_editorText)
        return;
    m_editorText = text;
    m_statusBar->setText(text);
    m_surface->setText(text);
    scheduleSave();
}

// The text to save is read when the job runs: every change restarts it, so a job that runs
// always finds the latest text.
void NoteEditorView::scheduleSave()
{
    m_debounceTask.start();
}

void NoteEditorView::runSave()
{
    m_debounceTask.stop();
    Note *note = m_loadedNote;
    if (!note || canonicallyEqual(note->content(), m_editorText))
        return;
    note->setContent(m_editorText);
    updateTags(m_modelContext, note, m_editorText);
}

void NoteEditorView::flushPendingSave()
{
    m_surface->flushWriteBack();
    if (m_debounceTask.isActive())
        runSave();
}

void NoteEditorView::focusTextSurface()
{
    m_surface->setFocus(Qt::OtherFocusReason);
}

void NoteEditorView::showSaveState()
{
    m_statusBar->setSaveError(m_modelContext->lastSaveError());
}
