#include "app/editor/DocumentCounter.h"

#include "app/editor/NoteTextEdit.h"
#include "core/TextCounts.h"

#include <QTextBlock>
#include <QTextDocument>

struct DocumentCounter::Totals
{
    qsizetype words = 0;
    qsizetype characters = 0;
};

namespace {

bool endsInWord(const QTextBlock &block)
{
    const QString text = block.text();
    return !text.isEmpty() && !isWhiteSpaceOrNewline(text.back().unicode());
}

// One paragraph's counts, added to the totals while the paragraph exists. A piece that only
// continues a long paragraph has no break of its own before it, and a word cut at the piece's
// start is the end of the word before.
class ParagraphCounts : public QTextBlockUserData
{
public:
    ParagraphCounts(std::shared_ptr<DocumentCounter::Totals> totals, const QTextBlock &block)
        : m_totals(std::move(totals))
    {
        const QString text = block.text();
        m_words = wordCount(text);
        m_characters = characterCount(text);
        if (NoteTextEdit::continuesParagraph(block)) {
            --m_characters;
            if (!text.isEmpty() && !isWhiteSpaceOrNewline(text.front().unicode()) &&
                endsInWord(block.previous()))
                --m_words;
        }
        m_totals->words += m_words;
        m_totals->characters += m_characters;
    }

    ~ParagraphCounts() override
    {
        m_totals->words -= m_words;
        m_totals->characters -= m_characters;
    }

private:
    std::shared_ptr<DocumentCounter::Totals> m_totals;
    qsizetype m_words = 0;
    qsizetype m_characters = 0;
};

} // namespace

DocumentCounter::DocumentCounter(QTextDocument *document, QObject *parent) : QObject(parent)
{
    setDocument(document);
}

void DocumentCounter::setDocument(QTextDocument *document)
{
    if (m_document)
        disconnect(m_document, nullptr, this, nullptr);
    m_document = document;
    // The old document's paragraphs keep their own totals, which go with them.
    m_totals = std::make_shared<Totals>();
    connect(document, &QTextDocument::contentsChange, this, &DocumentCounter::recount);
    recount(0, 0, document->characterCount());
}

qsizetype DocumentCounter::words() const
{
    return m_totals->words;
}

qsizetype DocumentCounter::characters() const
{
    // Each break between two blocks is a character of its own, but for the pieces of a long
    // paragraph, which take theirs back.
    return m_totals->characters + m_document->blockCount() - 1;
}

void DocumentCounter::recount(int position, int, int added)
{
    // Paragraphs that went took their counts with them; the ones the edit reached, including
    // those it split or joined, are counted afresh, and so is a piece right after them, whose
    // first word may have joined or left the last one's.
    QTextBlock last = m_document->findBlock(position + added);
    if (last.next().isValid() && NoteTextEdit::continuesParagraph(last.next()))
        last = last.next();
    for (QTextBlock block = m_document->findBlock(position); block.isValid();
         block = block.next()) {
        block.setUserData(new ParagraphCounts(m_totals, block));
        if (block == last)
            break;
    }
    Q_EMIT countsChanged();
}
