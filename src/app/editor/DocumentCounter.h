#pragma once

#include <QObject>
#include <QPointer>
#include <QTextDocument>

#include <memory>

// Keeps the word and character counts of a document while it is edited. No word and no
// character spans a paragraph break, so each paragraph keeps its own counts and an edit
// recounts only the paragraphs it touched: typing costs the same in a long note as in a
// short one.
class DocumentCounter : public QObject
{
    Q_OBJECT

public:
    struct Totals;

    explicit DocumentCounter(QTextDocument *document, QObject *parent = nullptr);

    // Counts another document from now on.
    void setDocument(QTextDocument *document);

    qsizetype words() const;
    qsizetype characters() const;

Q_SIGNALS:
    void countsChanged();

private:
    void recount(int position, int removed, int added);

    QPointer<QTextDocument> m_document;
    // Shared with the paragraphs' counts, which take themselves off the totals when their
    // paragraph goes, whichever of the document and this counter goes first.
    std::shared_ptr<Totals> m_totals;
};
