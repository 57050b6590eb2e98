#include "app/editor/NoteEditor.h"

#include "app/SelectionState.h"
#include "app/TextStyles.h"
#include "app/editor/DocumentCounter.h"
#include "app/editor/EditorStatusBar.h"
#include "app/editor/NoteTextEdit.h"
#include "core/DateText.h"
#include "core/Journal.h"
#include "core/TextMerge.h"

#include <QEvent>
#include <QFontDatabase>
#include <QFrame>
#include <QLabel>
#include <QScopedValueRollback>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// The text reads a size larger than the interface around it.
constexpr int textPointSize = 14;
constexpr int textInset = 16;
constexpr int headerBottomPadding = 10;
// The widest the text column gets, in average characters of the text's font: longer lines
// are hard to follow back to the start of the next.
constexpr int columnCharacters = 75;

} // namespace

NoteEditor::NoteEditor(Journal *journal, SelectionState *selection, QWidget *parent)
    : QWidget(parent), m_journal(journal), m_selection(selection), m_header(new QLabel(this)),
      m_divider(new QFrame(this)), m_textEdit(new NoteTextEdit(this)),
      m_statusBar(new EditorStatusBar(this)), m_readError(new QLabel(this)),
      m_counter(new DocumentCounter(m_textEdit->document(), this))
{
    m_header->setObjectName(QStringLiteral("noteHeader"));
    m_header->setContentsMargins(textInset, 0, textInset, headerBottomPadding);
    m_header->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_header->setFont(styledFont(font(), TextStyle::LargeTitle));
    m_divider->setFrameShape(QFrame::HLine);
    m_divider->setFrameShadow(QFrame::Sunken);

    m_textEdit->setObjectName(QStringLiteral("noteText"));
    m_textEdit->setAccessibleName(tr("Note text"));
    QFont textFont = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    textFont.setPointSize(textPointSize);
    m_textEdit->setFont(textFont);
    m_textMargins = QMargins(textInset, textInset, textInset, textInset);
    m_textEdit->setViewportMargins(m_textMargins);
    m_statusBar->setObjectName(QStringLiteral("statusBar"));

    m_readError->setObjectName(QStringLiteral("readError"));
    m_readError->setWordWrap(true);
    m_readError->setAlignment(Qt::AlignCenter);
    m_readError->setTextFormat(Qt::PlainText);
    m_readError->hide();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 12, 0, 0);
    layout->addWidget(m_header);
    layout->addWidget(m_divider);
    layout->addWidget(m_textEdit, 1);
    layout->addWidget(m_readError, 1);
    layout->addWidget(m_statusBar);
    setFocusProxy(m_textEdit);

    m_saveTimer.setSingleShot(true);
    m_saveTimer.setInterval(saveDelay);
    connect(&m_saveTimer, &QTimer::timeout, this, &NoteEditor::save);
    connect(m_textEdit, &QTextEdit::textChanged, this, &NoteEditor::textChanged);
    connect(m_textEdit, &NoteTextEdit::documentReplaced, m_counter, &DocumentCounter::setDocument);
    connect(m_counter, &DocumentCounter::countsChanged, this,
            [this] { m_statusBar->setCounts(m_counter->words(), m_counter->characters()); });
    connect(m_selection, &SelectionState::openNoteChanged, this, [this] {
        saveNow();
        load();
    });
    connect(m_journal, &Journal::saveErrorChanged, m_statusBar, &EditorStatusBar::setSaveError);
    // Another window saved the open note, or an import merged text into it. With nothing
    // pending, the editor shows the new text at once; edits still pending stay as they are
    // on screen, and their save merges both (see save()).
    connect(m_journal, &Journal::noteTextChanged, this, [this](const Note *note) {
        if (note != m_note || m_saveTimer.isActive() || m_savingShownText)
            return;
        const auto text = m_journal->text(note);
        if (!text)
            return;
        const QScopedValueRollback loading(m_loading, true);
        m_textEdit->showNewerText(*text);
        m_syncedText = NoteTextEdit::shownForm(*text);
    });
    m_statusBar->setSaveError(m_journal->saveError());
    // The viewport changes size with the pane, and when the scroll bar comes or goes.
    m_textEdit->viewport()->installEventFilter(this);
    load();
}

NoteEditor::~NoteEditor()
{
    saveNow();
}

QString NoteEditor::headerText() const
{
    return m_header->text();
}

// Fills the editor from the open note, never writing it.
void NoteEditor::load()
{
    m_note = m_selection->openNote();
    const auto text = m_note ? m_journal->text(m_note) : Result<QString>(QString());
    if (!text) {
        showReadError(m_note->day, text.error());
        m_note = nullptr;
        return;
    }
    for (QWidget *part :
         std::initializer_list<QWidget *>{m_header, m_divider, m_textEdit, m_statusBar})
        part->setVisible(m_note);
    m_readError->hide();
    m_header->setText(m_note ? DateText::header(m_note->day) : QString());
    // Which day's text a screen reader is in.
    m_textEdit->setAccessibleDescription(m_header->text());
    m_textEdit->setMatchSelections({});
    const QScopedValueRollback loading(m_loading, true);
    m_textEdit->setNoteText(*text);
    m_syncedText = NoteTextEdit::shownForm(*text);
}

void NoteEditor::highlightMatches(const QList<TextRange> &matches)
{
    QColor mark = palette().color(QPalette::Highlight);
    mark.setAlpha(90);
    QTextCharFormat format;
    format.setBackground(mark);
    QList<QTextEdit::ExtraSelection> selections;
    const int end = m_textEdit->document()->characterCount() - 1;
    for (const TextRange &match : matches) {
        if (match.start < 0 || match.length <= 0 || match.start + match.length > end)
            continue;
        QTextCursor cursor(m_textEdit->document());
        cursor.setPosition(int(match.start));
        cursor.setPosition(int(match.start + match.length), QTextCursor::KeepAnchor);
        selections.append({cursor, format});
    }
    m_textEdit->setMatchSelections(selections);
    if (selections.isEmpty())
        return;
    QTextCursor first = selections.first().cursor;
    first.setPosition(first.selectionStart());
    m_textEdit->setTextCursor(first);
    m_textEdit->ensureCursorVisible();
}

QList<TextRange> NoteEditor::highlightedMatches() const
{
    QList<TextRange> matches;
    for (const QTextEdit::ExtraSelection &selection : m_textEdit->matchSelections()) {
        matches.append({selection.cursor.selectionStart(),
                        selection.cursor.selectionEnd() - selection.cursor.selectionStart()});
    }
    return matches;
}

void NoteEditor::showReadError(QDate day, const QString &error)
{
    for (QWidget *part :
         std::initializer_list<QWidget *>{m_header, m_divider, m_textEdit, m_statusBar})
        part->hide();
    m_readError->setText(
        tr("The note of %1 could not be read: %2").arg(DateText::fullDay(day), error));
    m_readError->show();
}

void NoteEditor::textChanged()
{
    if (m_loading)
        return;
    m_saveTimer.start();
    m_unsavedWork.set(true);
}

void NoteEditor::save()
{
    m_saveTimer.stop();
    if (m_note) {
        QString text = m_textEdit->noteText();
        bool merged = false;
        // The note changed elsewhere since this editor last showed it: both edits go in, and
        // the merged text comes back to this editor through noteTextChanged.
        if (const auto stored = m_journal->text(m_note)) {
            const QString current = NoteTextEdit::shownForm(*stored);
            merged = !sameText(current, m_syncedText);
            if (merged)
                text = mergeEdits(m_syncedText, current, text);
        }
        m_syncedText = text;
        const QScopedValueRollback saving(m_savingShownText, !merged);
        m_journal->setText(m_note, text);
    }
    m_unsavedWork.set(false);
}

void NoteEditor::saveNow()
{
    if (m_saveTimer.isActive())
        save();
}

void NoteEditor::focusText()
{
    m_textEdit->setFocus(Qt::OtherFocusReason);
}

bool NoteEditor::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_textEdit->viewport() && event->type() == QEvent::Resize)
        fitColumn();
    return QWidget::eventFilter(watched, event);
}

// Narrow, the text fills the pane less its inset. Wider, it keeps to the column, centred in
// the whole pane whether or not the scroll bar shows, so that the text does not jump sideways
// when a note grows past one screen. The header and the status bar move in with it.
void NoteEditor::fitColumn()
{
    const int paneWidth = m_textEdit->width();
    const int room = m_textEdit->viewport()->width() + m_textMargins.left() + m_textMargins.right();
    const int column = std::min(columnCharacters * m_textEdit->fontMetrics().averageCharWidth(),
                                room - 2 * textInset);
    int left = std::max(textInset, (paneWidth - column) / 2);
    // Close to the narrow width, the scroll bar would otherwise eat into the right inset.
    left = std::max(textInset, std::min(left, room - column - textInset));
    const int right = std::max(textInset, room - left - column);
    const QMargins margins(left, textInset, right, textInset);
    if (margins != m_textMargins) {
        m_textMargins = margins;
        m_textEdit->setViewportMargins(margins);
    }

    const int shift = left - textInset;
    m_header->setContentsMargins(left, 0, textInset + shift, headerBottomPadding);
    m_statusBar->setContentsMargins(shift, 0, shift, 0);
}
