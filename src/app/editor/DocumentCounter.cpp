#include "app/editor/DocumentCounter.h"

#include "core/TextCounts.h"

#include <QTextBlock>
#include <QTextDocument>

struct DocumentCounter::Totals
{
    qsizetype words = 0;
    qsizetype characters = 0;
};

namespace {

// One paragraph's counts, added to the totals while the paragraph exists.
class ParagraphCounts : public QTextBlockUserData
{
public:
    ParagraphCounts(std::shared_ptr<DocumentCounter::Totals> totals, QStringView text)
        : m_totals(std::move(totals)), m_words(wordCount(text)), m_characters(characterCount(text))
    {
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
    qsizetype m_words;
    qsizetype m_characters;
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
    // Each paragraph break between two paragraphs is a character of its own.
    return m_totals->characters + m_document->blockCount() - 1;
}

void DocumentCounter::recount(int position, int, int added)
{
    // Paragraphs that went took their counts with them; the ones the edit reached, including
    // those it split or joined, are counted afresh.
    const QTextBlock last = m_document->findBlock(position + added);
    for (QTextBlock block = m_document->findBlock(position); block.isValid();
         block = block.next()) {
        const QString text = block.text();
        block.setUserData(new ParagraphCounts(m_totals, text));
        if (block == last)
            break;
    }
    Q_EMIT countsChanged();
}
