// Spelling and the typing aids in the editor of a real window: which words get the red wave,
// what the context menu offers and does, and what typed quotes and hyphens become. The note
// keeps the text as shown, marks or no marks.

#include "TestEnvironment.h"

#include "app/MainWindow.h"
#include "app/SelectionState.h"
#include "app/editor/NoteEditor.h"
#include "app/editor/NoteTextEdit.h"
#include "app/editor/SpellChecker.h"
#include "core/Journal.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QMenu>
#include <QScrollBar>
#include <QSettings>
#include <QTest>
#include <QTextBlock>

using namespace Qt::StringLiterals;

namespace {

QDate today()
{
    return QDate::currentDate();
}

// Types text key by key; keyClicks() takes neither line breaks nor letters beyond ASCII.
void type(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        if (c == u'\n')
            QTest::keyClick(widget, Qt::Key_Return);
        else if (c.unicode() < 0x80)
            QTest::keyClick(widget, char(c.unicode()));
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), {});
    }
}

struct SeenMenu
{
    QStringList entries;
    QStringList disabled;
};

} // namespace

class SpellingTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { lqtest::pinEnvironment(); }

    void init()
    {
        QSettings(u"lumenquill"_s, u"lumenquill"_s).clear();
        openWindow();
    }

    void cleanup()
    {
        m_window.reset();
        m_store.reset();
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }

    void misspelledWords_areMarked_andTheTextStaysAsTyped_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("misspelled");
        QTest::newRow("Words") << u"Ths is wrng\nand so is ths "_s
                               << QStringList{u"Ths"_s, u"wrng"_s, u"ths"_s};
        QTest::newRow("Hashtags, addresses, numbers") << u"#wrng #wrk-nots (#tg) a#nt "
                                                         "https://exmple.org/wrng "
                                                         "www.exmple.org nme@exmple.org "
                                                         "wrng2 3rd "_s
                                                      << QStringList{};
        QTest::newRow("Apostrophes and abbreviations")
            << u"don’t dnt, e.g. etc. "_s << QStringList{u"dnt"_s};
        QTest::newRow("The word being typed waits") << u"Ths is wrng"_s << QStringList{u"Ths"_s};
    }

    void misspelledWords_areMarked_andTheTextStaysAsTyped()
    {
        QFETCH(QString, typed);
        QFETCH(QStringList, misspelled);
        type(textEdit(), typed);
        QTRY_COMPARE(marked(), misspelled);
        QCOMPARE(textEdit()->noteText(), typed);
        // The marks are drawn over the text, not in the document's style.
        for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
            for (auto it = block.begin(); !it.atEnd(); ++it)
                QCOMPARE(it.fragment().charFormat().underlineStyle(), QTextCharFormat::NoUnderline);
        }
        editor()->saveNow();
        QCOMPARE(stored(), typed);
    }

    void contextMenu_replacesOrAcceptsAWord_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("inWordList");
        QTest::newRow("A suggestion")
            << u"wrong"_s << u"wrng"_s << u"I was wrong today "_s << false;
        QTest::newRow("Add to Dictionary") << u"Add to Dictionary"_s << u"Quillfeather"_s
                                           << u"I was Quillfeather today "_s << true;
        QTest::newRow("Ignore") << u"Ignore"_s << u"Inkwellish"_s << u"I was Inkwellish today "_s
                                << false;
    }

    void contextMenu_replacesOrAcceptsAWord()
    {
        QFETCH(QString, entry);
        QFETCH(QString, word);
        QFETCH(QString, text);
        QFETCH(bool, inWordList);
        const QString typed = u"I was "_s + word + u" today "_s;
        QTest::keyClicks(textEdit(), typed);
        QTRY_COMPARE(marked(), QStringList{word});
        editor()->saveNow();

        QVERIFY(openContextMenu(6 + 1, entry).entries.contains(entry));
        QTRY_COMPARE(marked(), QStringList());
        QCOMPARE(textEdit()->noteText(), text);
        editor()->saveNow();
        QCOMPARE(stored(), text);
        QFile wordList(
            QDir(qEnvironmentVariable("XDG_CONFIG_HOME"))
                .filePath(u"enchant/%1.dic"_s.arg(textEdit()->spellChecker()->language())));
        QCOMPARE(wordList.open(QIODevice::ReadOnly) && wordList.readAll().contains(word.toUtf8()),
                 inWordList);
        if (text != typed) {
            QTest::keyClick(textEdit(), Qt::Key_Z, Qt::ControlModifier);
            QCOMPARE(textEdit()->noteText(), typed);
        }
    }

    // Off, nothing is marked, in this window and the next; the text and its undo steps are
    // untouched and nothing is saved.
    void checkSpellingSwitch_turnsTheMarksOffAndOn()
    {
        QTest::keyClicks(textEdit(), u"Ths is wrng "_s);
        QTRY_COMPARE(marked().size(), 2);
        editor()->saveNow();
        const int undoSteps = document()->availableUndoSteps();
        openContextMenu(0, u"Check Spelling"_s);
        QTRY_COMPARE(marked(), QStringList());
        QCOMPARE(document()->availableUndoSteps(), undoSteps);
        QVERIFY(!editor()->hasPendingSave());

        openWindow();
        QTest::keyClicks(textEdit(), u"mre "_s);
        QTest::qWait(50);
        QCOMPARE(marked(), QStringList());
        QVERIFY(!openContextMenu(1).entries.contains(u"Ignore"_s));
        openContextMenu(1, u"Check Spelling"_s);
        QTRY_COMPARE(marked(), QStringList{u"mre"_s});

        // A note put in place is marked without an undo step or a save.
        m_store->journal()->setText(m_store->journal()->noteForDay(today().addDays(-1)).value(),
                                    u"Ths is wrng"_s);
        m_window->selection()->setSelectedDate(today().addDays(-1).startOfDay());
        QTRY_COMPARE(marked().size(), 2);
        QCOMPARE(document()->availableUndoSteps(), 0);
        QVERIFY(!editor()->hasPendingSave());
    }

    void withoutADictionary_theMenuSaysSo()
    {
        // A bare language takes any of its countries' dictionaries, its own country's first.
        textEdit()->setSpellingLanguages({u"de"_s});
        QVERIFY(textEdit()->spellChecker()->hasDictionary());
        QCOMPARE(textEdit()->spellChecker()->language(), u"de_DE"_s);

        textEdit()->setSpellingLanguages({u"zz_ZZ"_s});
        QTest::keyClicks(textEdit(), u"Ths is wrng "_s);
        QTRY_VERIFY(textEdit()->spellChecker()->isReady());
        QTest::qWait(50);
        QCOMPARE(marked(), QStringList());
        const SeenMenu menu = openContextMenu(8);
        QCOMPARE(menu.entries.count(u"No spelling dictionary installed"_s), 1);
        QVERIFY(menu.disabled.contains(u"No spelling dictionary installed"_s));
        for (const QString &entry : {u"Check Spelling"_s, u"Add to Dictionary"_s, u"Ignore"_s})
            QVERIFY(!menu.entries.contains(entry));
        QVERIFY(menu.entries.contains(u"Smart Quotes"_s));
    }

    // Only the paragraphs on screen and a screen around them are looked at, and each piece
    // of a long paragraph on its own, never half a word.
    void longNote_isCheckedWhereItIsShown()
    {
        QString text = u"wrng "_s.repeated(1000);
        for (int line = 0; line < 3000; ++line)
            text += u"\nline %1 of the lng note"_s.arg(line);
        m_store->journal()->setText(m_store->journal()->noteForDay(today().addDays(-1)).value(),
                                    text);
        m_window->selection()->setSelectedDate(today().addDays(-1).startOfDay());
        QTRY_VERIFY(!marked(document()->begin()).isEmpty());
        QCOMPARE(marked(document()->lastBlock()), QStringList());
        QTest::keyClick(textEdit(), Qt::Key_End, Qt::ControlModifier);
        QTRY_COMPARE(marked(document()->lastBlock()), QStringList{u"lng"_s});
        QCOMPARE(marked(document()->findBlockByNumber(1500)), QStringList());
        QVERIFY(!editor()->hasPendingSave());

        // Backspace at a piece's start joins two words across the pieces' break.
        const QTextBlock piece = document()->findBlockByNumber(1);
        QVERIFY(NoteTextEdit::continuesParagraph(piece));
        textEdit()->setTextCursor(QTextCursor(piece));
        QTRY_VERIFY(!marked(piece).isEmpty());
        const qsizetype before = marked(piece).size();
        const int space = piece.position() - 2;
        QTest::keyClick(textEdit(), Qt::Key_Backspace);
        QTRY_COMPARE(marked(piece).size(), before - 1);
        QCOMPARE(textEdit()->noteText(), text.remove(space, 1));
    }

    void typedQuotesAndDashes_becomeTypographic_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("quotes");
        QTest::addColumn<bool>("dashes");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("afterUndo");
        const QLocale english(QLocale::English, QLocale::UnitedStates);
        const QLocale german(QLocale::German, QLocale::Germany);
        QTest::newRow("Double quotes") << english << u"\"Hi,\" she said (\"x\""_s << true << true
                                       << u"“Hi,” she said (“x”"_s << u"“Hi,” she said (“x\""_s;
        QTest::newRow("Single quotes and apostrophes")
            << english << u"'x', don't'"_s << true << true << u"‘x’, don’t’"_s << u"‘x’, don’t'"_s;
        QTest::newRow("German") << german << u"geht's \"Er sagt 'ja'\""_s << true << true
                                << u"geht’s „Er sagt ‚ja‘“"_s << u"geht’s „Er sagt ‚ja‘\""_s;
        QTest::newRow("C locale, English marks")
            << QLocale::c() << u"\"x\""_s << true << true << u"“x”"_s << u"“x\""_s;
        QTest::newRow("Dashes") << english << u"a -- b 1--"_s << true << true << u"a – b 1–"_s
                                << u"a – b 1--"_s;
        QTest::newRow("Both off") << english << u"\"a\" -- 'b'"_s << false << false
                                  << u"\"a\" -- 'b'"_s << QString();
    }

    void typedQuotesAndDashes_becomeTypographic()
    {
        QFETCH(QLocale, locale);
        QFETCH(QString, typed);
        QFETCH(bool, quotes);
        QFETCH(bool, dashes);
        QFETCH(QString, shown);
        QFETCH(QString, afterUndo);
        QLocale::setDefault(locale);
        if (!quotes)
            openContextMenu(0, u"Smart Quotes"_s);
        if (!dashes)
            openContextMenu(0, u"Smart Dashes"_s);
        QTest::keyClicks(textEdit(), typed);
        QCOMPARE(textEdit()->noteText(), shown);
        editor()->saveNow();
        QCOMPARE(stored(), shown);
        if (!afterUndo.isNull()) {
            QTest::keyClick(textEdit(), Qt::Key_Z, Qt::ControlModifier);
            QCOMPARE(textEdit()->noteText(), afterUndo);
        }

        // Pasted text is never changed.
        QTest::keyClick(textEdit(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(textEdit(), Qt::Key_Delete);
        QApplication::clipboard()->setText(typed);
        QTest::keySequence(textEdit(), QKeySequence::Paste);
        QCOMPARE(textEdit()->noteText(), typed);
    }

private:
    void openWindow()
    {
        m_window.reset();
        m_store = std::make_unique<lqtest::TemporaryJournal>();
        m_window = std::make_unique<MainWindow>(m_store->journal());
        m_window->show();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        QTRY_VERIFY(textEdit()->spellChecker()->isReady());
    }

    // Opens the context menu over the character at position, notes its entries and clicks
    // the one named choose, or closes it.
    SeenMenu openContextMenu(int position, const QString &choose = {})
    {
        SeenMenu seen;
        QTimer poll;
        poll.setInterval(10);
        connect(&poll, &QTimer::timeout, this, [&] {
            auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            if (!menu)
                return;
            poll.stop();
            QAction *chosen = nullptr;
            for (QAction *action : menu->actions()) {
                const QString text = action->text().remove(u'&');
                if (text.isEmpty())
                    continue;
                seen.entries.append(text);
                if (!action->isEnabled())
                    seen.disabled.append(text);
                if (text == choose)
                    chosen = action;
            }
            if (chosen)
                QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(chosen).center());
            else
                menu->close();
        });
        poll.start();
        QTextCursor cursor(document());
        cursor.setPosition(position);
        const QPoint point = textEdit()->cursorRect(cursor).center() + QPoint(2, 0);
        QContextMenuEvent event(QContextMenuEvent::Mouse, point,
                                textEdit()->viewport()->mapToGlobal(point));
        QApplication::sendEvent(textEdit()->viewport(), &event);
        return seen;
    }

    // The words that carry the red wave, drawn over the text: of block, or of all the text.
    QStringList marked(const QTextBlock &block = {}) const
    {
        QStringList words;
        for (const QTextEdit::ExtraSelection &mark : textEdit()->extraSelections()) {
            if (mark.format.underlineStyle() == QTextCharFormat::SpellCheckUnderline &&
                mark.format.underlineColor() == Qt::red &&
                (!block.isValid() || mark.cursor.block() == block))
                words.append(mark.cursor.selectedText());
        }
        return words;
    }

    NoteEditor *editor() const { return m_window->editor(); }
    NoteTextEdit *textEdit() const { return editor()->textEdit(); }
    QTextDocument *document() const { return textEdit()->document(); }
    QString stored() const
    {
        return lqtest::storedText(m_store->path(), today().toString(Qt::ISODate));
    }

    std::unique_ptr<lqtest::TemporaryJournal> m_store;
    std::unique_ptr<MainWindow> m_window;
};

QTEST_MAIN(SpellingTest)
#include "tst_spelling.moc"
