#include "app/editor/SpellingHighlighter.h"

#include "app/editor/NoteTextEdit.h"
#include "app/editor/SpellChecker.h"
#include "core/SpellingWords.h"
#include "core/TextCounts.h"

#include <QAbstractTextDocumentLayout>
#include <QEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>

#include <algorithm>

namespace {

bool startsInWord(const QString &text)
{
    return !text.isEmpty() && !isWhiteSpaceOrNewline(text.front().unicode());
}

bool endsInWord(const QString &text)
{
    return !text.isEmpty() && !isWhiteSpaceOrNewline(text.back().unicode());
}

// The words of block's text that are to be checked. A piece of a long paragraph is cut from
// its neighbours where Qt would otherwise lay out too much at once, which is between words
// whenever there is white space near; a word cut all the same is not checked in halves.
QList<TextRange> wordsOf(const QTextBlock &block)
{
    const QString text = block.text();
    const QTextBlock next = block.next();
    const bool cutAtStart = NoteTextEdit::continuesParagraph(block) && startsInWord(text) &&
                            endsInWord(block.previous().text());
    const bool cutAtEnd = next.isValid() && NoteTextEdit::continuesParagraph(next) &&
                          endsInWord(text) && startsInWord(next.text());
    return wordsToSpellCheck(text, cutAtStart, cutAtEnd);
}

// Whether the dictionary knows word; one with full stops inside, an abbreviation such as
// "e.g" or "U.S", is known when each of its parts is.
bool isKnown(SpellChecker *checker, const QString &word)
{
    if (checker->isCorrect(word))
        return true;
    if (!word.contains(u'.'))
        return false;
    const QStringList parts = word.split(u'.', Qt::SkipEmptyParts);
    return std::all_of(parts.begin(), parts.end(),
                       [checker](const QString &part) { return checker->isCorrect(part); });
}

// Misspelled words of block; a word holding heldAt, a document position, is left out.
QList<TextRange> misspelledIn(const QTextBlock &block, SpellChecker *checker, int heldAt)
{
    QList<TextRange> misspelled;
    const QString text = block.text();
    const int held = heldAt - block.position();
    for (const TextRange &word : wordsOf(block)) {
        if (!(word.start < held && held <= word.start + word.length) &&
            !isKnown(checker, text.sliced(word.start, word.length)))
            misspelled.append(word);
    }
    return misspelled;
}

// The first paragraph reaching below y, found by halves: Qt's own hit test goes through the
// document from its start. Qt lays a note out from the top, so a paragraph not laid out yet
// lies below all that are, and counts as below.
QTextBlock blockAt(const QTextDocument *document, qreal y)
{
    const auto below = [document, y](int number) {
        const QTextLayout *layout = document->findBlockByNumber(number).layout();
        return layout->lineCount() == 0 ||
               layout->position().y() + layout->boundingRect().bottom() > y;
    };
    int low = 0;
    int high = document->blockCount() - 1;
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (below(middle))
            high = middle;
        else
            low = middle + 1;
    }
    return document->findBlockByNumber(low);
}

} // namespace

SpellingHighlighter::SpellingHighlighter(QTextEdit *edit) : QObject(edit), m_edit(edit)
{
    m_format.setUnderlineStyle(QTextCharFormat::SpellCheckUnderline);
    m_format.setUnderlineColor(Qt::red);
    m_pass.setSingleShot(true);
    m_pass.setInterval(0);
    connect(&m_pass, &QTimer::timeout, this, &SpellingHighlighter::markVisible);
    connect(edit->verticalScrollBar(), &QScrollBar::valueChanged, this,
            &SpellingHighlighter::schedule);
    connect(edit, &QTextEdit::cursorPositionChanged, this, &SpellingHighlighter::cursorMoved);
    edit->viewport()->installEventFilter(this);
}

bool SpellingHighlighter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Resize || event->type() == QEvent::Show)
        schedule();
    return QObject::eventFilter(watched, event);
}

void SpellingHighlighter::setChecker(SpellChecker *checker)
{
    if (m_checker)
        disconnect(m_checker, nullptr, this, nullptr);
    m_checker = checker;
    if (checker) {
        connect(checker, &SpellChecker::ready, this, &SpellingHighlighter::schedule);
        connect(checker, &SpellChecker::wordsChanged, this, &SpellingHighlighter::markVisible);
    }
    schedule();
}

void SpellingHighlighter::setDocument(QTextDocument *document)
{
    if (m_document) {
        disconnect(m_document, nullptr, this, nullptr);
        disconnect(m_document->documentLayout(), nullptr, this, nullptr);
    }
    m_document = document;
    m_editEnd = -1;
    m_marks.clear();
    Q_EMIT marksChanged();
    connect(document, &QTextDocument::contentsChange, this, &SpellingHighlighter::contentsChange);
    // After an edit is laid out: what is typed is marked before it is painted.
    connect(document, &QTextDocument::contentsChanged, this, &SpellingHighlighter::markVisible);
    // Laid out in steps, a long note shows its paragraphs some time after it is put in place.
    connect(document->documentLayout(), &QAbstractTextDocumentLayout::documentSizeChanged, this,
            &SpellingHighlighter::schedule);
    schedule();
}

void SpellingHighlighter::setEnabled(bool enabled)
{
    m_enabled = enabled;
    markVisible();
}

QList<TextRange> SpellingHighlighter::misspelledWords(const QTextBlock &block) const
{
    if (!m_enabled || !m_checker || !m_checker->isReady())
        return {};
    return misspelledIn(block, m_checker, -1);
}

void SpellingHighlighter::schedule()
{
    m_pass.start();
}

void SpellingHighlighter::markVisible()
{
    m_pass.stop();
    if (m_enabled && m_checker && !m_checker->isReady() && m_edit->isVisible())
        m_checker->loadSoon();
    QList<QTextEdit::ExtraSelection> marks;
    if (m_document && m_enabled && m_checker && m_checker->isReady() && m_edit->isVisible()) {
        const QTextCursor cursor = m_edit->textCursor();
        const int heldAt =
            !cursor.hasSelection() && cursor.position() == m_editEnd ? m_editEnd : -1;
        // A screen above and below the one shown as well, so that scrolling a little shows
        // no words before their marks.
        const int screen = m_edit->viewport()->height();
        const int shown = m_edit->verticalScrollBar()->value();
        const qreal bottom = shown + 2.0 * screen;
        QAbstractTextDocumentLayout *layout = m_document->documentLayout();
        for (QTextBlock block = blockAt(m_document, shown - screen); block.isValid();
             block = block.next()) {
            const QRectF rect = layout->blockBoundingRect(block);
            if (rect.isNull() || rect.top() > bottom)
                break;
            for (const TextRange &word : misspelledIn(block, m_checker, heldAt)) {
                QTextCursor mark(block);
                mark.setPosition(block.position() + int(word.start));
                mark.setPosition(block.position() + int(word.start + word.length),
                                 QTextCursor::KeepAnchor);
                marks.append({mark, m_format});
            }
        }
    }
    const auto sameWord = [](const QTextEdit::ExtraSelection &a,
                             const QTextEdit::ExtraSelection &b) {
        return a.cursor.anchor() == b.cursor.anchor() && a.cursor.position() == b.cursor.position();
    };
    if (std::equal(marks.begin(), marks.end(), m_marks.begin(), m_marks.end(), sameWord))
        return;
    m_marks = marks;
    Q_EMIT marksChanged();
}

void SpellingHighlighter::contentsChange(int position, int removed, int added)
{
    Q_UNUSED(removed);
    const QTextBlock first = m_document->findBlock(position);
    const QTextBlock last =
        m_document->findBlock(std::min(position + added, m_document->characterCount() - 1));
    m_editEnd = first.isValid() && first == last ? position + added : -1;
}

void SpellingHighlighter::cursorMoved()
{
    if (m_editEnd < 0 || m_edit->textCursor().position() == m_editEnd)
        return;
    m_editEnd = -1;
    schedule();
}
