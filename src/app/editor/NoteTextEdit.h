#pragma once

#include <QBasicTimer>
#include <QPointer>
#include <QRect>
#include <QTextBlock>
#include <QTextEdit>

class QMenu;
class SpellChecker;
class SpellingHighlighter;

// The journal's plain-text editing surface: plain text only, every paragraph in one style
// with lines 1.6 apart, on whatever lies behind it, with its own insertion bar (a 1-px bar
// resting on the bottom of the line) instead of Qt's caret.
//
// Misspelled words on screen are underlined, and typed straight quotes and double hyphens
// become the locale's quotation marks and dashes; the context menu has switches for each,
// kept in the settings.
class NoteTextEdit : public QTextEdit
{
    Q_OBJECT

public:
    static constexpr qreal lineHeightPercent = 160;

    explicit NoteTextEdit(QWidget *parent = nullptr);

    // The text's inset: the document has no margin of its own.
    using QTextEdit::setViewportMargins;

    // Puts a note's text in place, keeping the selection inside the new text, and starts a
    // fresh undo history, so that Undo never brings back another note's text. A text the
    // same as the one shown keeps the document, the selection and the scroll position.
    void setNoteText(const QString &text);
    // Puts a newer version of the note shown in place, saved by another window: the
    // insertion point and the selection keep their place in the text around what changed,
    // the view stays where it was, and the undo history starts afresh, so that Undo never
    // takes back what the other window wrote. Marked matches are dropped; the same text
    // changes nothing.
    void showNewerText(const QString &text);
    // A text as noteText() would give it back once shown: the editor keeps every paragraph
    // break as a line feed, whichever break the text had.
    static QString shownForm(QString text);
    // The text as the user wrote it: unlike toPlainText(), no-break spaces and line
    // separators survive, so counts and hashtags see the real characters.
    QString noteText() const;

    // Where the insertion bar is drawn, in viewport coordinates.
    QRect insertionPointRect() const;

    // Qt lays out a paragraph whole, and a run without spaces in quadratic time: a paragraph
    // longer than this is shown as several, each after the first marked as continuing the
    // one before. The marks are not part of the note: its text has no break there.
    static constexpr int longestShownParagraph = 4096;
    static bool continuesParagraph(const QTextBlock &block);

    // Marks stretches of the text, such as a search's matches, with the selections' formats;
    // the misspelled words' marks are kept apart and drawn after them.
    void setMatchSelections(const QList<QTextEdit::ExtraSelection> &selections);
    QList<QTextEdit::ExtraSelection> matchSelections() const { return m_matches; }

    // The dictionaries to check spelling with, best first: by default the locale's, then
    // English.
    void setSpellingLanguages(const QStringList &languages);
    SpellChecker *spellChecker() const { return m_spellChecker; }

Q_SIGNALS:
    // Another document is shown: a note was put in place, or a large paste done or undone.
    void documentReplaced(QTextDocument *document);

protected:
    QMimeData *createMimeDataFromSelection() const override;
    bool canInsertFromMimeData(const QMimeData *source) const override;
    void insertFromMimeData(const QMimeData *source) override;
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void timerEvent(QTimerEvent *event) override;

private:
    // A document holding text in the editor's one style, its undo history empty.
    QTextDocument *makeDocument(const QString &text);
    // The note's text between two positions of the document shown.
    QString noteTextBetween(int start, int end) const;
    void showDocument(QTextDocument *document, int anchor, int position);
    void pasteLarge(const QString &text);
    bool swapPaste(bool undo);
    void discardPaste();
    // Puts the insertion point at the end of a large paste now, however much of it Qt must
    // lay out first; or, when the user has put it elsewhere, forgets about it.
    void reachPasteEnd();
    void forgetPasteEnd();

    // Turns the character just typed into a typographic one, as an edit of its own, so that
    // Undo brings back what was typed.
    void replaceTyped(QChar typed);
    void addSpellingEntries(QMenu *menu, QPoint position);
    void addSwitches(QMenu *menu);
    void replaceWord(int start, const QString &word, const QString &replacement);

    bool showsInsertionPoint() const;
    void restartBlinking();
    void stopBlinking();
    void repaintInsertionPoint();

    // A large paste fills a new document, which Qt lays out in steps: inserted in place, it
    // would be laid out all at once. The document before it is kept for Undo, the pasted one
    // for Redo after that.
    QPointer<QTextDocument> m_beforePaste;
    QPointer<QTextDocument> m_afterPaste;
    // The insertion point would have Qt lay out the whole paste at once to find where it is
    // drawn: it waits at the paste's start until Qt's layout in steps has reached the end.
    int m_pasteEnd = -1;
    QBasicTimer m_pasteEndTimer;
    bool m_swapping = false;
    QBasicTimer m_blinkTimer;
    bool m_blinkOn = false;
    QRect m_paintedInsertionPoint;

    QList<QTextEdit::ExtraSelection> m_matches;
    SpellChecker *m_spellChecker = nullptr;
    SpellingHighlighter *m_spelling;
    bool m_smartQuotes;
    bool m_smartDashes;
};
