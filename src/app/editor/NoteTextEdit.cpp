#include "app/editor/NoteTextEdit.h"

#include "app/editor/SpellChecker.h"
#include "app/editor/SpellingHighlighter.h"
#include "core/Note.h"
#include "core/SmartPunctuation.h"
#include "core/TextCounts.h"
#include "core/TextMerge.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QSettings>
#include <QTextBlock>
#include <QTextBoundaryFinder>
#include <QTextDocument>
#include <QTextDocumentFragment>

#include <algorithm>

namespace {

constexpr int mostSuggestions = 5;

// The context menu's switches, each on until turned off.
constexpr auto checkSpellingKey = u"editor/checkSpelling";
constexpr auto smartQuotesKey = u"editor/smartQuotes";
constexpr auto smartDashesKey = u"editor/smartDashes";

bool readSwitch(QStringView key)
{
    return QSettings(QStringLiteral("lumenquill"), QStringLiteral("lumenquill"))
        .value(key.toString(), true)
        .toBool();
}

void writeSwitch(QStringView key, bool on)
{
    QSettings(QStringLiteral("lumenquill"), QStringLiteral("lumenquill"))
        .setValue(key.toString(), on);
}

// Beyond these, a paste is laid out like a note being opened.
constexpr qsizetype largePasteLength = 16 * 1024;
constexpr qsizetype largePasteLines = 2000;

constexpr int continuationProperty = QTextFormat::UserProperty + 1;

QTextBlockFormat continuing(QTextBlockFormat format, bool continues)
{
    if (continues)
        format.setProperty(continuationProperty, true);
    else
        format.clearProperty(continuationProperty);
    return format;
}

// Where to end a shown piece of a long paragraph, from offset on: after the last white space
// in its last quarter, or else at a grapheme boundary, so that no word and no character is
// cut when it can be helped.
qsizetype pieceEnd(QStringView text, qsizetype from)
{
    const qsizetype limit = from + NoteTextEdit::longestShownParagraph;
    for (qsizetype i = limit; i > limit - NoteTextEdit::longestShownParagraph / 4; --i) {
        if (isWhiteSpaceOrNewline(text.at(i - 1).unicode()))
            return i;
    }
    const qsizetype window = 64;
    const qsizetype windowEnd = std::min(limit + window, text.size());
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, text.data() + limit - window,
                                  windowEnd - (limit - window));
    graphemes.setPosition(window);
    if (!graphemes.isAtBoundary())
        graphemes.toPreviousBoundary();
    return limit - window + std::max<qsizetype>(graphemes.position(), 1);
}

// Shows each paragraph from first to last that is longer than Qt lays out quickly as pieces.
void splitLongParagraphs(QTextDocument *doc, QTextBlock first, const QTextBlock &last)
{
    QTextCursor cursor(doc);
    for (QTextBlock block = first; block.isValid();) {
        const QTextBlock next = block.next();
        const bool isLast = block == last;
        if (block.length() - 1 > NoteTextEdit::longestShownParagraph) {
            const QString text = block.text();
            const QTextBlockFormat format = continuing(block.blockFormat(), true);
            qsizetype offset = 0;
            int inserted = 0;
            while (text.size() - offset > NoteTextEdit::longestShownParagraph) {
                offset = pieceEnd(text, offset);
                cursor.setPosition(block.position() + int(offset) + inserted);
                cursor.insertBlock(format);
                ++inserted;
            }
        }
        if (isLast)
            break;
        block = next;
    }
}

// The position in doc that comes after offset characters of its note's text.
int documentPosition(const QTextDocument *doc, qsizetype offset)
{
    qsizetype noteStart = 0;
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        if (block != doc->begin() && !NoteTextEdit::continuesParagraph(block))
            ++noteStart;
        const qsizetype length = block.length() - 1;
        if (offset <= noteStart + length)
            return block.position() + int(std::max<qsizetype>(offset - noteStart, 0));
        noteStart += length;
    }
    return doc->characterCount() - 1;
}

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
    // Put elsewhere meanwhile, the insertion point stays where it was put.
    connect(this, &QTextEdit::cursorPositionChanged, this, [this] {
        if (!m_swapping)
            forgetPasteEnd();
    });
    connect(this, &QTextEdit::selectionChanged, this, &NoteTextEdit::repaintInsertionPoint);
    connect(this, &QTextEdit::textChanged, this, &NoteTextEdit::repaintInsertionPoint);

    m_smartQuotes = readSwitch(smartQuotesKey);
    m_smartDashes = readSwitch(smartDashesKey);
    m_spelling = new SpellingHighlighter(this);
    m_spelling->setEnabled(readSwitch(checkSpellingKey));
    connect(this, &NoteTextEdit::documentReplaced, m_spelling, &SpellingHighlighter::setDocument);
    connect(m_spelling, &SpellingHighlighter::marksChanged, this,
            [this] { setExtraSelections(m_matches + m_spelling->marks()); });
    setSpellingLanguages(SpellChecker::languagesFor(QLocale()));
    setNoteText(QString());
}

void NoteTextEdit::setMatchSelections(const QList<QTextEdit::ExtraSelection> &selections)
{
    m_matches = selections;
    setExtraSelections(m_matches + m_spelling->marks());
}

void NoteTextEdit::setSpellingLanguages(const QStringList &languages)
{
    m_spellChecker = SpellChecker::forLanguages(languages);
    m_spelling->setChecker(m_spellChecker);
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

void NoteTextEdit::showNewerText(const QString &text)
{
    const QString shown = noteText();
    const QString newer = shownForm(text);
    if (sameText(shown, newer))
        return;
    const TextChange change = changeBetween(shown, newer);
    const auto moved = [&](int position) {
        return movedOffset(change, noteTextBetween(0, position).size());
    };
    const qsizetype anchor = moved(textCursor().anchor());
    const qsizetype position = moved(textCursor().position());
    const int scrolled = verticalScrollBar()->value();
    // Marks made on the text shown go with it.
    m_matches.clear();
    setExtraSelections({});
    discardPaste();
    QTextDocument *old = document();
    const bool ownsOld = old->parent() == this;
    QTextDocument *doc = makeDocument(newer);
    showDocument(doc, documentPosition(doc, anchor), documentPosition(doc, position));
    verticalScrollBar()->setValue(scrolled);
    if (ownsOld)
        delete old;
}

QString NoteTextEdit::shownForm(QString text)
{
    // What QTextCursor::insertText() makes a paragraph break of, the two marks Qt keeps for
    // the start and end of a frame among them.
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    for (const char16_t breaking : {u'\r', u'\u2029', u'\ufdd0', u'\ufdd1'})
        text.replace(QChar(breaking), u'\n');
    return text;
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
    // Runs of short paragraphs go in at once, a long paragraph piece by piece: splitting it
    // afterwards would have Qt go through the rest of it for each piece.
    const QTextBlockFormat continuation = continuing(format, true);
    qsizetype pending = 0;
    for (qsizetype start = 0; start <= text.size();) {
        qsizetype end = start;
        while (end < text.size() && text.at(end) != u'\n' && text.at(end) != u'\r' &&
               text.at(end) != QChar::ParagraphSeparator)
            ++end;
        const bool crLf =
            end + 1 < text.size() && text.at(end) == u'\r' && text.at(end + 1) == u'\n';
        const qsizetype next = end + (crLf ? 2 : 1);
        if (end - start > longestShownParagraph) {
            cursor.insertText(text.sliced(pending, start - pending));
            const QStringView paragraph = QStringView(text).sliced(start, end - start);
            for (qsizetype offset = 0; offset < paragraph.size();) {
                const qsizetype cut = paragraph.size() - offset > longestShownParagraph
                                          ? pieceEnd(paragraph, offset)
                                          : paragraph.size();
                if (offset > 0)
                    cursor.insertBlock(continuation);
                cursor.insertText(paragraph.sliced(offset, cut - offset).toString());
                offset = cut;
            }
            // The paragraph after it must not inherit the last piece's mark.
            if (end < text.size())
                cursor.insertBlock(format);
            pending = next;
        }
        start = next;
    }
    if (pending < text.size())
        cursor.insertText(text.sliced(pending));
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
    forgetPasteEnd();
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
    const QString before = noteTextBetween(0, cursor.selectionStart());
    const QString after = noteTextBetween(cursor.selectionEnd(), document()->characterCount() - 1);
    QTextDocument *pasted = makeDocument(before + text + after);
    discardPaste();
    m_beforePaste = document();
    const int start = documentPosition(pasted, before.size());
    // A CR LF pair of the pasted text became one line break.
    const int end = documentPosition(pasted, before.size() + text.size() - text.count(u"\r\n"));
    showDocument(pasted, start, start);
    m_pasteEnd = end;
    m_pasteEndTimer.start(50, this);
}

void NoteTextEdit::reachPasteEnd()
{
    if (m_pasteEnd < 0)
        return;
    const int end = std::min(m_pasteEnd, document()->characterCount() - 1);
    forgetPasteEnd();
    const QScopedValueRollback swapping(m_swapping, true);
    QTextCursor cursor(document());
    cursor.setPosition(end);
    setTextCursor(cursor);
    ensureCursorVisible();
}

void NoteTextEdit::forgetPasteEnd()
{
    m_pasteEnd = -1;
    m_pasteEndTimer.stop();
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
    return noteTextBetween(0, document()->characterCount() - 1);
}

QString NoteTextEdit::noteTextBetween(int start, int end) const
{
    // Read paragraph by paragraph: a cursor selecting the text would have Qt lay out all of
    // it first. Each paragraph break is a line feed; a break that only shows a long paragraph
    // in pieces is not in the note at all.
    QString text;
    text.reserve(std::max(end - start, 0));
    for (QTextBlock block = document()->findBlock(start);
         block.isValid() && block.position() <= end; block = block.next()) {
        const int from = std::max(start, block.position()) - block.position();
        const int to = std::min(end, block.position() + block.length() - 1) - block.position();
        if (block.position() > start && !continuesParagraph(block))
            text += u'\n';
        text += QStringView(block.text()).sliced(from, std::max(to - from, 0));
    }
    return text;
}

bool NoteTextEdit::continuesParagraph(const QTextBlock &block)
{
    return block.blockFormat().boolProperty(continuationProperty);
}

QMimeData *NoteTextEdit::createMimeDataFromSelection() const
{
    auto *mime = new QMimeData;
    mime->setText(noteTextBetween(textCursor().selectionStart(), textCursor().selectionEnd()));
    return mime;
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
    reachPasteEnd();
    if (text.size() > largePasteLength || text.count(u'\n') > largePasteLines) {
        pasteLarge(text);
        return;
    }
    // Inserted without a format of its own, so it takes the style around it; the paragraphs it
    // starts do not continue the one it was pasted into.
    QTextCursor cursor = textCursor();
    cursor.beginEditBlock();
    const QTextBlock first = cursor.block();
    cursor.insertText(text);
    for (QTextBlock block = first.next(); block.isValid() && block.position() <= cursor.position();
         block = block.next()) {
        if (continuesParagraph(block))
            QTextCursor(block).setBlockFormat(continuing(block.blockFormat(), false));
    }
    splitLongParagraphs(document(), first, cursor.block());
    cursor.endEditBlock();
    setTextCursor(cursor);
    ensureCursorVisible();
}

void NoteTextEdit::keyPressEvent(QKeyEvent *event)
{
    // Tab writes a tab into the note; with Ctrl it moves on to the next control (or, with
    // Shift too, the one before), as in other text areas.
    if ((event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab) &&
        (event->modifiers() & Qt::ControlModifier)) {
        QWidget::focusNextPrevChild(event->key() == Qt::Key_Tab &&
                                    !(event->modifiers() & Qt::ShiftModifier));
        event->accept();
        return;
    }
    if ((event->matches(QKeySequence::Undo) && swapPaste(true)) ||
        (event->matches(QKeySequence::Redo) && swapPaste(false))) {
        event->accept();
        return;
    }
    // What is typed goes after what was pasted.
    reachPasteEnd();
    // Qt answers Enter in an empty paragraph by resetting its block format (ending a list)
    // instead of starting a new paragraph, which would drop the line height and the newline.
    // Shift+Enter would insert a line separator, a character a plain-text note should not get.
    QTextCursor cursor = textCursor();
    if (!isReadOnly() && (event->matches(QKeySequence::InsertParagraphSeparator) ||
                          event->matches(QKeySequence::InsertLineSeparator))) {
        cursor.insertBlock(continuing(cursor.blockFormat(), false));
        setTextCursor(cursor);
        ensureCursorVisible();
        event->accept();
        return;
    }
    // Backspace at the start of a continuing piece, or Delete at the end of the piece before
    // one, removes the character beyond the break the user sees, not the break itself.
    const bool backspace =
        event->key() == Qt::Key_Backspace && event->modifiers() == Qt::NoModifier;
    const bool forward = event->matches(QKeySequence::Delete);
    if (!isReadOnly() && !cursor.hasSelection() &&
        ((backspace && cursor.atBlockStart() && continuesParagraph(cursor.block())) ||
         (forward && cursor.atBlockEnd() && continuesParagraph(cursor.block().next())))) {
        cursor.setPosition(cursor.position() + (backspace ? -1 : 1));
        if (backspace)
            cursor.deletePreviousChar();
        else
            cursor.deleteChar();
        setTextCursor(cursor);
        event->accept();
        return;
    }
    const QString typed = event->text();
    const bool command = event->modifiers().testAnyFlags(Qt::ControlModifier | Qt::AltModifier);
    if (!isReadOnly() && !command &&
        ((m_smartQuotes && (typed == u"\"" || typed == u"'")) ||
         (m_smartDashes && typed == u"-"))) {
        QTextEdit::keyPressEvent(event);
        if (event->isAccepted())
            replaceTyped(typed.front());
        return;
    }
    QTextEdit::keyPressEvent(event);
}

void NoteTextEdit::replaceTyped(QChar typed)
{
    QTextCursor cursor = textCursor();
    const QTextBlock block = cursor.block();
    const int offset = cursor.position() - block.position();
    if (cursor.hasSelection() || offset == 0 || block.text().at(offset - 1) != typed)
        return;
    // The first piece of a long paragraph has the start of the paragraph before it.
    QString before = block.text().left(offset);
    if (continuesParagraph(block))
        before.prepend(block.previous().text().right(1));
    const std::optional<TypedReplacement> replacement =
        typed == u'-' ? smartDash(before) : smartQuote(before, QLocale());
    // Never across the break between two pieces, which is not in the note.
    if (!replacement || replacement->length > offset)
        return;
    cursor.beginEditBlock();
    cursor.setPosition(cursor.position() - int(replacement->length), QTextCursor::KeepAnchor);
    cursor.insertText(replacement->text);
    cursor.endEditBlock();
    setTextCursor(cursor);
}

void NoteTextEdit::contextMenuEvent(QContextMenuEvent *event)
{
    // From the keyboard, the menu is for the word at the insertion point.
    const bool keyboard = event->reason() == QContextMenuEvent::Keyboard;
    const QPoint position = keyboard ? cursorRect().center() : event->pos();
    QPointer<QMenu> menu = createStandardContextMenu(position);
    if (!isReadOnly())
        addSpellingEntries(menu, position);
    addSwitches(menu);
    menu->exec(keyboard ? viewport()->mapToGlobal(position) : event->globalPos());
    delete menu;
}

// Over the standard entries, for a misspelled word: what it may have been meant to be, and
// ways to have it accepted.
void NoteTextEdit::addSpellingEntries(QMenu *menu, QPoint position)
{
    if (!m_spelling->isEnabled() || !m_spellChecker->hasDictionary())
        return;
    const QTextCursor at = cursorForPosition(position);
    const QTextBlock block = at.block();
    const qsizetype offset = at.position() - block.position();
    const QList<TextRange> words = m_spelling->misspelledWords(block);
    const auto word = std::find_if(words.begin(), words.end(), [offset](const TextRange &w) {
        return w.start <= offset && offset <= w.start + w.length;
    });
    if (word == words.end())
        return;
    const QString spelled = block.text().sliced(word->start, word->length);
    const int start = block.position() + int(word->start);
    QAction *standard = menu->actions().value(0);
    const QStringList suggestions = m_spellChecker->suggestions(spelled, mostSuggestions);
    for (const QString &suggestion : suggestions) {
        auto *replace = new QAction(
            QString(suggestion).replace(QStringLiteral("&"), QStringLiteral("&&")), menu);
        connect(replace, &QAction::triggered, this,
                [this, start, spelled, suggestion] { replaceWord(start, spelled, suggestion); });
        menu->insertAction(standard, replace);
    }
    if (suggestions.isEmpty()) {
        auto *none = new QAction(tr("No Suggestions"), menu);
        none->setEnabled(false);
        menu->insertAction(standard, none);
    }
    menu->insertSeparator(standard);
    auto *add = new QAction(tr("Add to Dictionary"), menu);
    connect(add, &QAction::triggered, m_spellChecker,
            [checker = m_spellChecker, spelled] { checker->addToDictionary(spelled); });
    auto *ignore = new QAction(tr("Ignore"), menu);
    connect(ignore, &QAction::triggered, m_spellChecker,
            [checker = m_spellChecker, spelled] { checker->ignore(spelled); });
    menu->insertActions(standard, {add, ignore});
    menu->insertSeparator(standard);
}

void NoteTextEdit::addSwitches(QMenu *menu)
{
    menu->addSeparator();
    if (m_spellChecker->hasDictionary()) {
        QAction *check = menu->addAction(tr("Check Spelling"));
        check->setCheckable(true);
        check->setChecked(m_spelling->isEnabled());
        connect(check, &QAction::toggled, this, [this](bool on) {
            m_spelling->setEnabled(on);
            writeSwitch(checkSpellingKey, on);
        });
    } else {
        menu->addAction(tr("No spelling dictionary installed"))->setEnabled(false);
    }
    QAction *quotes = menu->addAction(tr("Smart Quotes"));
    quotes->setCheckable(true);
    quotes->setChecked(m_smartQuotes);
    connect(quotes, &QAction::toggled, this, [this](bool on) {
        m_smartQuotes = on;
        writeSwitch(smartQuotesKey, on);
    });
    QAction *dashes = menu->addAction(tr("Smart Dashes"));
    dashes->setCheckable(true);
    dashes->setChecked(m_smartDashes);
    connect(dashes, &QAction::toggled, this, [this](bool on) {
        m_smartDashes = on;
        writeSwitch(smartDashesKey, on);
    });
}

// One step for Undo, and a change of the text like any other.
void NoteTextEdit::replaceWord(int start, const QString &word, const QString &replacement)
{
    if (start + word.size() > document()->characterCount() - 1)
        return;
    QTextCursor cursor(document());
    cursor.setPosition(start);
    cursor.setPosition(start + int(word.size()), QTextCursor::KeepAnchor);
    if (cursor.selectedText() != word)
        return;
    cursor.insertText(replacement);
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

void NoteTextEdit::inputMethodEvent(QInputMethodEvent *event)
{
    reachPasteEnd();
    QTextEdit::inputMethodEvent(event);
}

void NoteTextEdit::mousePressEvent(QMouseEvent *event)
{
    // A click puts the insertion point where it is, without waiting for the paste's end.
    forgetPasteEnd();
    QTextEdit::mousePressEvent(event);
}

void NoteTextEdit::timerEvent(QTimerEvent *event)
{
    if (event->timerId() == m_pasteEndTimer.timerId()) {
        // A paragraph gets its lines when Qt lays it out, and Qt lays them out in order.
        const QTextBlock last = document()->findBlock(m_pasteEnd);
        if (!last.isValid() || last.layout()->lineCount() > 0)
            reachPasteEnd();
        return;
    }
    if (event->timerId() != m_blinkTimer.timerId()) {
        QTextEdit::timerEvent(event);
        return;
    }
    m_blinkOn = !m_blinkOn;
    repaintInsertionPoint();
}
