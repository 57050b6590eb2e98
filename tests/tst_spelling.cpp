// Spelling and the typing aids in the editor of a real window: which words get the red wave,
// what the context menu offers and does, and what typed quotes and hyphens become. The note
// keeps the text as shown, marks or no marks.

#include "TestEnvironment.h"

#include "app/MainWindow.h"
#include "app/SelectionState.h"
#include "app/editor/NoteEditor.h"
#include "app/editor/NoteTextEdit.h"
#include "app/editor/SpellChecker.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QMenu>
#include <QSettings>
#include <QTest>
#include <QTextBlock>

using namespace Qt::StringLiterals;

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

    // Not marked: hashtags, addresses, words with digits or an apostrophe, abbreviations, and
    // the word being typed.
    void misspelledWords_areMarked_andTheTextStaysAsTyped()
    {
        const QString typed = u"Ths is wrng, don’t dnt e.g. etc. #wrng #wrk-nots (#tg) a#nt "
                              u"https://exmple.org/wrng www.exmple.org nme@exmple.org wrng2 3rd"
                              u"\nand so is ths"_s;
        // Key by key: keyClicks() takes neither line breaks nor letters beyond ASCII.
        for (const QChar c : typed)
            QTest::sendKeyEvent(QTest::Click, textEdit(),
                                c == u'\n' ? Qt::Key_Return : Qt::Key_unknown, QString(c), {});
        QTRY_COMPARE(marked(), (QStringList{u"Ths"_s, u"wrng"_s, u"dnt"_s}));
        editor()->saveNow();
        QCOMPARE(lqtest::storedText(m_store->path(), QDate::currentDate().toString(Qt::ISODate)),
                 typed);
    }

    void contextMenu_replacesOrAcceptsAWord_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("shown"); // the word after the click
        QTest::addColumn<bool>("inWordList");
        QTest::newRow("A suggestion") << u"wrng"_s << u"wrong"_s << u"wrong"_s << false;
        QTest::newRow("Add to Dictionary")
            << u"Quillfeather"_s << u"Add to Dictionary"_s << u"Quillfeather"_s << true;
        QTest::newRow("Ignore") << u"Inkwellish"_s << u"Ignore"_s << u"Inkwellish"_s << false;
    }

    void contextMenu_replacesOrAcceptsAWord()
    {
        QFETCH(QString, word);
        QFETCH(QString, entry);
        QFETCH(QString, shown);
        QFETCH(bool, inWordList);
        const QString typed = u"I was "_s + word + u" today "_s;
        QTest::keyClicks(textEdit(), typed);
        QTRY_COMPARE(marked(), QStringList{word});
        QVERIFY(openContextMenu(6 + 1, entry).contains(entry));
        QTRY_COMPARE(marked(), QStringList());
        QCOMPARE(textEdit()->noteText(), u"I was "_s + shown + u" today "_s);
        QFile wordList(
            QDir(qEnvironmentVariable("XDG_CONFIG_HOME"))
                .filePath(u"enchant/%1.dic"_s.arg(textEdit()->spellChecker()->language())));
        QCOMPARE(wordList.open(QIODevice::ReadOnly) && wordList.readAll().contains(word.toUtf8()),
                 inWordList);
        if (shown != word) {
            QTest::keyClick(textEdit(), Qt::Key_Z, Qt::ControlModifier);
            QCOMPARE(textEdit()->noteText(), typed);
        }
    }

    // Switched off, in this window and the next, without touching the text or its undo steps.
    void switches_turnTheAidsOff_andAreRemembered()
    {
        QTest::keyClicks(textEdit(), u"Ths is wrng "_s);
        QTRY_COMPARE(marked().size(), 2);
        editor()->saveNow();
        const int undoSteps = document()->availableUndoSteps();
        for (const QString &entry : {u"Check Spelling"_s, u"Smart Quotes"_s, u"Smart Dashes"_s})
            openContextMenu(0, entry);
        QTRY_COMPARE(marked(), QStringList());
        QCOMPARE(document()->availableUndoSteps(), undoSteps);
        QVERIFY(!editor()->hasPendingSave());

        openWindow();
        QTest::keyClicks(textEdit(), u"\"mre\" -- "_s);
        QCOMPARE(textEdit()->noteText(), u"\"mre\" -- "_s);
        openContextMenu(1, u"Check Spelling"_s);
        QTRY_COMPARE(marked(), QStringList{u"mre"_s});
    }

    void dictionary_isTheLocales_orItsLanguages_orEnglish_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("dictionary");
        QTest::newRow("The locale's own")
            << QLocale(QLocale::German, QLocale::Luxembourg) << u"de_LU"_s;
        QTest::newRow("Its language's, in the language's own country first")
            << QLocale(QLocale::German, QLocale::Italy) << u"de_DE"_s;
        QTest::newRow("English") << QLocale(QLocale::Hawaiian, QLocale::UnitedStates) << u"en_US"_s;
    }

    void dictionary_isTheLocales_orItsLanguages_orEnglish()
    {
        QFETCH(QLocale, locale);
        QFETCH(QString, dictionary);
        QLocale::setDefault(locale);
        NoteTextEdit edit;
        QVERIFY(edit.spellChecker()->hasDictionary());
        QCOMPARE(edit.spellChecker()->language(), dictionary);
    }

    void withoutADictionary_theMenuSaysSo()
    {
        textEdit()->setSpellingLanguages({u"zz_ZZ"_s});
        QTest::keyClicks(textEdit(), u"Ths is wrng "_s);
        QVERIFY(!textEdit()->spellChecker()->hasDictionary());
        const QStringList menu = openContextMenu(0);
        QVERIFY(menu.contains(u"(No spelling dictionary installed)"_s));
        QVERIFY(!menu.contains(u"Check Spelling"_s) && !menu.contains(u"Ignore"_s));
        QCOMPARE(marked(), QStringList());
    }

    // Only the paragraphs on screen and a screen around them are looked at, and each piece
    // of a long paragraph on its own, never half a word. Marking is no change of the note.
    void longNote_isCheckedWhereItIsShown()
    {
        QString text = u"wrng "_s.repeated(1000);
        for (int line = 0; line < 3000; ++line)
            text += u"\nline %1 of the lng note"_s.arg(line);
        const QDate yesterday = QDate::currentDate().addDays(-1);
        m_store->write(yesterday, text);
        m_window->selection()->setSelectedDate(yesterday.startOfDay());
        QTRY_VERIFY(!marked(document()->begin()).isEmpty());
        QCOMPARE(marked(document()->lastBlock()), QStringList());
        QTest::keyClick(textEdit(), Qt::Key_End, Qt::ControlModifier);
        QTRY_COMPARE(marked(document()->lastBlock()), QStringList{u"lng"_s});
        QCOMPARE(marked(document()->findBlockByNumber(1500)), QStringList());
        QCOMPARE(document()->availableUndoSteps(), 0);
        QVERIFY(!editor()->hasPendingSave());

        // Backspace at a piece's start joins two words across the pieces' break.
        const QTextBlock piece = document()->findBlockByNumber(1);
        textEdit()->setTextCursor(QTextCursor(piece));
        QTRY_VERIFY(!marked(piece).isEmpty());
        const qsizetype before = marked(piece).size();
        QTest::keyClick(textEdit(), Qt::Key_Backspace);
        QTRY_COMPARE(marked(piece).size(), before - 1);
    }

    void typedQuotesAndDashes_becomeTypographic_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("afterUndo");
        const QLocale english(QLocale::English, QLocale::UnitedStates);
        QTest::newRow("Double quotes") << english << u"\"Hi,\" she said (\"x\""_s
                                       << u"“Hi,” she said (“x”"_s << u"“Hi,” she said (“x\""_s;
        QTest::newRow("Single quotes and apostrophes")
            << english << u"'x', don't'"_s << u"‘x’, don’t’"_s << u"‘x’, don’t'"_s;
        QTest::newRow("German") << QLocale(QLocale::German, QLocale::Germany)
                                << u"geht's \"Er sagt 'ja'\""_s << u"geht’s „Er sagt ‚ja‘“"_s
                                << u"geht’s „Er sagt ‚ja‘\""_s;
        QTest::newRow("C locale, English marks")
            << QLocale::c() << u"\"x\""_s << u"“x”"_s << u"“x\""_s;
        QTest::newRow("Dashes") << english << u"a -- b 1--"_s << u"a – b 1–"_s << u"a – b 1--"_s;
    }

    void typedQuotesAndDashes_becomeTypographic()
    {
        QFETCH(QLocale, locale);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(QString, afterUndo);
        QLocale::setDefault(locale);
        QTest::keyClicks(textEdit(), typed);
        QCOMPARE(textEdit()->noteText(), shown);
        QTest::keyClick(textEdit(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(textEdit()->noteText(), afterUndo);

        // Pasted text is never changed.
        QTest::keyClick(textEdit(), Qt::Key_A, Qt::ControlModifier);
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

    // Opens the context menu over the character at position and clicks the entry named
    // choose, or closes it; gives its entries, the disabled ones in brackets.
    QStringList openContextMenu(int position, const QString &choose = {})
    {
        QStringList entries;
        const QObject whileOpen;
        QTimer::singleShot(0, &whileOpen, [&] {
            auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            QVERIFY(menu);
            QAction *chosen = nullptr;
            for (QAction *action : menu->actions()) {
                const QString text = action->text().remove(u'&');
                entries.append(action->isEnabled() ? text : u'(' + text + u')');
                if (text == choose)
                    chosen = action;
            }
            if (chosen)
                QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(chosen).center());
            else
                menu->close();
        });
        QTextCursor cursor(document());
        cursor.setPosition(position);
        const QPoint point = textEdit()->cursorRect(cursor).center() + QPoint(2, 0);
        QContextMenuEvent event(QContextMenuEvent::Mouse, point,
                                textEdit()->viewport()->mapToGlobal(point));
        QApplication::sendEvent(textEdit()->viewport(), &event);
        return entries;
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

    std::unique_ptr<lqtest::TemporaryJournal> m_store;
    std::unique_ptr<MainWindow> m_window;
};

QTEST_MAIN(SpellingTest)
#include "tst_spelling.moc"
