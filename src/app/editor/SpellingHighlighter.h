#pragma once

#include "core/TextSearch.h"

#include <QObject>
#include <QPointer>
#include <QTextCharFormat>
#include <QTextEdit>
#include <QTimer>

class QTextBlock;
class QTextDocument;
class SpellChecker;

// Finds the misspelled words of the paragraphs on screen, to be drawn with a red wave as the
// text edit's extra selections. The marks are drawn over the text only: the document, its
// one text style, its undo history, its layout and the note's text never change.
//
// Only the paragraphs on screen and a screen above and below are looked at, again after each
// edit and scroll, and Enchant is asked only about words it has not answered for yet: a note
// of a million lines costs no more to open or to type in than a short one.
class SpellingHighlighter : public QObject
{
    Q_OBJECT

public:
    explicit SpellingHighlighter(QTextEdit *edit);

    void setChecker(SpellChecker *checker);
    void setDocument(QTextDocument *document);
    void setEnabled(bool enabled);
    bool isEnabled() const { return m_enabled; }

    // The words of block that the dictionary does not know, as ranges of its text; empty
    // while checking is off or there is no dictionary.
    QList<TextRange> misspelledWords(const QTextBlock &block) const;
    // The marks of the words on and near the screen.
    const QList<QTextEdit::ExtraSelection> &marks() const { return m_marks; }

Q_SIGNALS:
    void marksChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void schedule();
    void markVisible();
    void contentsChange(int position, int removed, int added);
    void cursorMoved();

    QTextEdit *m_edit;
    QPointer<SpellChecker> m_checker;
    QPointer<QTextDocument> m_document;
    bool m_enabled = true;
    // Just after the last edit, while the insertion point stays there: the word it touches
    // is still being written and is not marked yet.
    int m_editEnd = -1;
    QTimer m_pass;
    QTextCharFormat m_format;
    QList<QTextEdit::ExtraSelection> m_marks;
};
