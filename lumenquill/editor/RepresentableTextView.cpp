#include "editor/RepresentableTextView.h"
#include "editor/TextCounts.h"

#include "editor/CustomTextView.h"

#include <QMargins>
#include <QScopedValueRollback>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

RepresentableTextView::RepresentableTextView(QWidget *parent)
    : QWidget(parent), m_textView(new CustomTextView(this))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_textView);
    setFocusProxy(m_textView);

    connect(m_textView, &QTextEdit::textChanged, this, &RepresentableTextView::onTextChanged);
}

// Font and colour are never stored in the text: the document's default font and the
// palette's text colour cover every character, so changing them needs no undoable edit.
void RepresentableTextView::setFont(const QFont &font)
{
    if (m_textView->font() == font)
        return;
    const QScopedValueRollback applying(m_applying, true);
    m_textView->setFont(font);
}

void RepresentableTextView::setLineHeightMultiple(qreal multiple)
{
    if (!std::isfinite(multiple) || multiple <= 0 || multiple == m_lineHeightMultiple)
        return;
    m_lineHeightMultiple = multiple;
    applyLineHeight();
}

void RepresentableTextView::setTextContainerInset(QSize inset)
{
    const QMargins margins(inset.width(), inset.height(), inset.width(), inset.height());
    if (m_textView->viewportMargins() != margins)
        m_textView->setViewportMargins(margins);
}

void RepresentableTextView::setText(const QString &text)
{
    // Until the write-back has run, the view is ahead of the binding: an older bound text
    // must not overwrite the user's edit.
    if (m_writeBackPending)
        return;
    if (canonicallyEqual(m_textView->text(), text))
        return;

    const QScopedValueRollback applying(m_applying, true);
    const QTextCursor previous = m_textView->textCursor();
    const int anchor = previous.anchor();
    const int position = previous.position();

    m_textView->setPlainText(text);
    applyLineHeight();

    // The old selection may reach past the end of a shorter text.
    const int end = m_textView->document()->characterCount() - 1;
    QTextCursor restored(m_textView->document());
    restored.setPosition(std::min(anchor, end));
    restored.setPosition(std::min(position, end), QTextCursor::KeepAnchor);
    m_textView->setTextCursor(restored);
}

void RepresentableTextView::applyLineHeight()
{
    QTextDocument *document = m_textView->document();
    QTextBlockFormat format;
    format.setLineHeight(m_lineHeightMultiple * 100, QTextBlockFormat::ProportionalHeight);

    const QScopedValueRollback applying(m_applying, true);
    // A format change is an undoable step of its own, and Undo would take the line height
    // away again; so it is applied unrecorded. That costs the undo history when the
    // multiple changes mid-edit, which the editor, with its fixed multiple, never does.
    const bool undoEnabled = document->isUndoRedoEnabled();
    document->setUndoRedoEnabled(false);
    QTextCursor cursor(document);
    cursor.select(QTextCursor::Document);
    cursor.setBlockFormat(format);
    document->setUndoRedoEnabled(undoEnabled);
}

void RepresentableTextView::onTextChanged()
{
    if (m_applying || m_writeBackPending)
        return;
    m_writeBackPending = true;
    QMetaObject::invokeMethod(this, &RepresentableTextView::deliverWriteBack, Qt::QueuedConnection);
}

void RepresentableTextView::deliverWriteBack()
{
    if (!m_writeBackPending)
        return;
    m_writeBackPending = false;
    Q_EMIT textEdited(m_textView->text());
}

void RepresentableTextView::flushWriteBack()
{
    deliverWriteBack();
}

void RepresentableTextView::clearUndoHistory()
{
    m_textView->document()->clearUndoRedoStacks();
}
