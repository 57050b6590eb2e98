#include "editor/CustomTextView.h"

#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMimeData>
#include <QPaintEvent>
#include <QPainter>
#include <QTextDocument>
#include <QTextDocumentFragment>

#include <algorithm>

CustomTextView::CustomTextView(QWidget *parent) : QTextEdit(parent)
{
    setAcceptRichText(false);
    setUndoRedoEnabled(true);
    setFrameShape(QFrame::NoFrame);
    viewport()->setAutoFillBackground(false);
    setLineWrapMode(QTextEdit::WidgetWidth);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCursorWidth(0);

    // The margin lives in the root frame's format, and changing it is an undoable step;
    // recording is off so that the very first Undo cannot bring Qt's margin back.
    document()->setUndoRedoEnabled(false);
    document()->setDocumentMargin(0);
    document()->setUndoRedoEnabled(true);

    connect(this, &QTextEdit::cursorPositionChanged, this, &CustomTextView::restartBlinking);
    connect(this, &QTextEdit::selectionChanged, this, &CustomTextView::repaintInsertionPoint);
    connect(document(), &QTextDocument::contentsChanged, this,
            &CustomTextView::repaintInsertionPoint);
}

QString CustomTextView::text() const
{
    QString text = document()->toRawText();
    for (QChar &c : text) {
        if (c == QChar::ParagraphSeparator)
            c = u'\n';
    }
    return text;
}

QRect CustomTextView::insertionPointRect() const
{
    const QRect line = cursorRect();
    const QFontMetrics metrics(document()->defaultFont(), viewport());
    // Modelled on a platform whose descender is negative: ascent plus descender, so the
    // depth below the baseline is taken away rather than added.
    const int height = metrics.ascent() - metrics.descent() + 10;
    const int top = std::max(line.top(), line.top() + line.height() - height);
    return QRect(line.left(), top, 1, height);
}

QString CustomTextView::plainTextOf(const QMimeData *source)
{
    if (source->hasText())
        return source->text();
    if (source->hasHtml())
        return QTextDocumentFragment::fromHtml(source->html()).toPlainText();
    return {};
}

bool CustomTextView::canInsertFromMimeData(const QMimeData *source) const
{
    return source->hasText() || source->hasHtml();
}

void CustomTextView::insertFromMimeData(const QMimeData *source)
{
    const QString text = plainTextOf(source);
    if (text.isEmpty())
        return;
    // Inserted without a format of its own, so it takes the attributes around it.
    QTextCursor cursor = textCursor();
    cursor.insertText(text);
    setTextCursor(cursor);
    ensureCursorVisible();
}

void CustomTextView::keyPressEvent(QKeyEvent *event)
{
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

bool CustomTextView::showsInsertionPoint() const
{
    return m_blinkOn && hasFocus() && !isReadOnly() && !textCursor().hasSelection();
}

void CustomTextView::paintEvent(QPaintEvent *event)
{
    QTextEdit::paintEvent(event);
    if (!showsInsertionPoint())
        return;
    m_paintedInsertionPoint = insertionPointRect();
    QPainter painter(viewport());
    painter.fillRect(m_paintedInsertionPoint, palette().color(QPalette::Text));
}

void CustomTextView::repaintInsertionPoint()
{
    // The bar may reach below the line, outside what Qt repaints for a cursor move.
    viewport()->update(m_paintedInsertionPoint);
    viewport()->update(insertionPointRect());
}

void CustomTextView::restartBlinking()
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

void CustomTextView::stopBlinking()
{
    m_blinkTimer.stop();
    m_blinkOn = false;
    repaintInsertionPoint();
}

void CustomTextView::focusInEvent(QFocusEvent *event)
{
    QTextEdit::focusInEvent(event);
    restartBlinking();
}

void CustomTextView::focusOutEvent(QFocusEvent *event)
{
    QTextEdit::focusOutEvent(event);
    stopBlinking();
}

void CustomTextView::timerEvent(QTimerEvent *event)
{
    if (event->timerId() != m_blinkTimer.timerId()) {
        QTextEdit::timerEvent(event);
        return;
    }
    m_blinkOn = !m_blinkOn;
    repaintInsertionPoint();
}
