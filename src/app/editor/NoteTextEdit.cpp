#include "app/editor/NoteTextEdit.h"

#include "core/Note.h"

#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QScopedValueRollback>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextDocumentFragment>

#include <algorithm>

namespace {

// Beyond these, a paste is laid out like a note being opened.
constexpr qsizetype largePasteLength = 256 * 1024;
constexpr qsizetype largePasteLines = 2000;

QString plainTextOf(const QMimeData *source)
{
    if (source->hasText())
        return source->text();
    if (source->hasHtml())
        return QTextDocumentFragment::fromHtml(source->html()).toPlainText();
    return {};
}

} // namespace

NoteTextEdit::NoteTextEdit(QWidget *parent) : QTextEdit(parent)
{
    setAcceptRichText(false);
    setFrameShape(QFrame::NoFrame);
    viewport()->setAutoFillBackground(false);
    setLineWrapMode(QTextEdit::WidgetWidth);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setCursorWidth(0);

    connect(this, &QTextEdit::cursorPositionChanged, this, &NoteTextEdit::restartBlinking);
    connect(this, &QTextEdit::selectionChanged, this, &NoteTextEdit::repaintInsertionPoint);
    connect(this, &QTextEdit::textChanged, this, &NoteTextEdit::repaintInsertionPoint);
    setNoteText(QString());
}

void NoteTextEdit::setNoteText(const QString &text)
{
    discardPaste();
    // Qt's own first document goes with setDocument(); the ones made here are deleted here.
    if (document()->parent() == this && sameText(noteText(), text)) {
        document()->clearUndoRedoStacks();
        return;
    }
    // Each note gets a document of its own, filled before it is shown: laid out from scratch,
    // a long note opens in steps instead of all at once, and its undo history starts empty.
    QTextDocument *old = document();
    const bool ownsOld = old->parent() == this;
    // The old selection is kept, as far as it fits in the new text.
    showDocument(makeDocument(text), textCursor().anchor(), textCursor().position());
    if (ownsOld)
        delete old;
}

QTextDocument *NoteTextEdit::makeDocument(const QString &text)
{
    // The margin and the first paragraph's line height are set unrecorded, so that no Undo
    // takes them away; every paragraph the text brings inherits the line height.
    auto *doc = new QTextDocument(this);
    doc->setUndoRedoEnabled(false);
    doc->setDefaultFont(font());
    doc->setDocumentMargin(0);
    QTextBlockFormat format;
    format.setLineHeight(lineHeightPercent, QTextBlockFormat::ProportionalHeight);
    QTextCursor cursor(doc);
    cursor.setBlockFormat(format);
    cursor.insertText(text);
    doc->setUndoRedoEnabled(true);
    connect(doc, &QTextDocument::contentsChanged, this, [this, doc] {
        // Once the document undone back to is edited, the paste can no longer be redone.
        if (!m_swapping && doc == document() && m_afterPaste)
            delete m_afterPaste;
    });
    return doc;
}

void NoteTextEdit::showDocument(QTextDocument *doc, int anchor, int position)
{
    const QScopedValueRollback swapping(m_swapping, true);
    const int end = doc->characterCount() - 1;
    setDocument(doc);
    QTextCursor cursor(doc);
    cursor.setPosition(std::clamp(anchor, 0, end));
    cursor.setPosition(std::clamp(position, 0, end), QTextCursor::KeepAnchor);
    setTextCursor(cursor);
    ensureCursorVisible();
    Q_EMIT documentReplaced(doc);
}

void NoteTextEdit::pasteLarge(const QString &text)
{
    const QTextCursor cursor = textCursor();
    const QString current = noteText();
    const qsizetype tail = current.size() - cursor.selectionEnd();
    QTextDocument *pasted =
        makeDocument(current.left(cursor.selectionStart()) + text + current.right(tail));
    discardPaste();
    m_beforePaste = document();
    const int after = pasted->characterCount() - 1 - int(tail);
    showDocument(pasted, after, after);
}

bool NoteTextEdit::swapPaste(bool undo)
{
    QPointer<QTextDocument> &target = undo ? m_beforePaste : m_afterPaste;
    QPointer<QTextDocument> &keep = undo ? m_afterPaste : m_beforePaste;
    if (!target || (undo ? document()->isUndoAvailable() : document()->isRedoAvailable()))
        return false;
    QTextDocument *shown = document();
    QTextDocument *next = target;
    target = nullptr;
    keep = shown;
    const int position = textCursor().position();
    showDocument(next, position, position);
    return true;
}

void NoteTextEdit::discardPaste()
{
    delete m_beforePaste;
    delete m_afterPaste;
}

QString NoteTextEdit::noteText() const
{
    QString text = document()->toRawText();
    for (QChar &c : text) {
        if (c == QChar::ParagraphSeparator)
            c = u'\n';
    }
    return text;
}

QRect NoteTextEdit::insertionPointRect() const
{
    const QRect line = cursorRect();
    // As tall as the letters above the baseline and what little descends below it, plus a
    // margin; it rests on the bottom of the line, but never starts above the line's top.
    const QFontMetrics metrics(document()->defaultFont(), viewport());
    const int height = metrics.ascent() - metrics.descent() + 10;
    const int top = std::max(line.top(), line.top() + line.height() - height);
    return QRect(line.left(), top, 1, height);
}

bool NoteTextEdit::canInsertFromMimeData(const QMimeData *source) const
{
    return source->hasText() || source->hasHtml();
}

void NoteTextEdit::insertFromMimeData(const QMimeData *source)
{
    const QString text = plainTextOf(source);
    if (text.isEmpty())
        return;
    if (text.size() > largePasteLength || text.count(u'\n') > largePasteLines) {
        pasteLarge(text);
        return;
    }
    // Inserted without a format of its own, so it takes the style around it.
    QTextCursor cursor = textCursor();
    cursor.insertText(text);
    setTextCursor(cursor);
    ensureCursorVisible();
}

void NoteTextEdit::keyPressEvent(QKeyEvent *event)
{
    if ((event->matches(QKeySequence::Undo) && swapPaste(true)) ||
        (event->matches(QKeySequence::Redo) && swapPaste(false))) {
        event->accept();
        return;
    }
    // Qt answers Enter in an empty paragraph by resetting its block format (ending a list)
    // instead of starting a new paragraph, which would drop the line height and the newline.
    // Shift+Enter would insert a line separator, a character a plain-text note should not get.
    if (!isReadOnly() && (event->matches(QKeySequence::InsertParagraphSeparator) ||
                          event->matches(QKeySequence::InsertLineSeparator))) {
        QTextCursor cursor = textCursor();
        cursor.insertBlock();
        setTextCursor(cursor);
        ensureCursorVisible();
        event->accept();
        return;
    }
    QTextEdit::keyPressEvent(event);
}

bool NoteTextEdit::showsInsertionPoint() const
{
    return m_blinkOn && hasFocus() && !isReadOnly() && !textCursor().hasSelection();
}

void NoteTextEdit::paintEvent(QPaintEvent *event)
{
    QTextEdit::paintEvent(event);
    if (!showsInsertionPoint())
        return;
    m_paintedInsertionPoint = insertionPointRect();
    QPainter painter(viewport());
    painter.fillRect(m_paintedInsertionPoint, palette().color(QPalette::Text));
}

void NoteTextEdit::repaintInsertionPoint()
{
    // The bar may reach below the line, outside what Qt repaints for a cursor move.
    viewport()->update(m_paintedInsertionPoint);
    viewport()->update(insertionPointRect());
}

void NoteTextEdit::restartBlinking()
{
    if (hasFocus()) {
        m_blinkOn = true;
        const int flashTime = QApplication::cursorFlashTime();
        if (flashTime >= 2)
            m_blinkTimer.start(flashTime / 2, this);
        else
            m_blinkTimer.stop();
    }
    repaintInsertionPoint();
}

void NoteTextEdit::stopBlinking()
{
    m_blinkTimer.stop();
    m_blinkOn = false;
    repaintInsertionPoint();
}

void NoteTextEdit::focusInEvent(QFocusEvent *event)
{
    QTextEdit::focusInEvent(event);
    restartBlinking();
}

void NoteTextEdit::focusOutEvent(QFocusEvent *event)
{
    QTextEdit::focusOutEvent(event);
    stopBlinking();
}

void NoteTextEdit::timerEvent(QTimerEvent *event)
{
    if (event->timerId() != m_blinkTimer.timerId()) {
        QTextEdit::timerEvent(event);
        return;
    }
    m_blinkOn = !m_blinkOn;
    repaintInsertionPoint();
}
