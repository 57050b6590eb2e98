// The editor in its window, driven through the real widgets: the day's note, the header and
// the counts, the column the text keeps to, the save half a second after typing, and every
// way out that must keep the text. Several windows on one journal in one process: New Window,
// each window's own selection, the program ending with the last window, and two windows on
// the same note never losing what was typed in either. The note search and the Journal menu,
// which open a note with its matches marked. Spelling and the typing aids: which words get
// the red wave, what the context menu offers and does, and what typed quotes and hyphens
// become; the note keeps the text as shown, marks or no marks.

#include "TestEnvironment.h"

#include "app/Application.h"
#include "app/JournalMenu.h"
#include "app/MainWindow.h"
#include "app/SelectionState.h"
#include "app/editor/EditorStatusBar.h"
#include "app/editor/NoteEditor.h"
#include "app/editor/NoteTextEdit.h"
#include "app/editor/SpellChecker.h"
#include "core/Journal.h"
#include "core/TextCounts.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QScrollBar>
#include <QSettings>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {

const QDate march1(2026, 3, 1), march2(2026, 3, 2);

QString key(QDate day)
{
    return day.toString(Qt::ISODate);
}

QDate today()
{
    return QDate::currentDate();
}

NoteTextEdit *textOf(const MainWindow *window)
{
    return window->editor()->textEdit();
}

} // namespace

class EditorTest : public QObject
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

    // Today's note, written as the window opens, the keyboard in its text; a picked day's
    // note under its header.
    void window_opensOnTodaysNote_withTheKeyboardInTheText()
    {
        SelectionState *selection = m_window->selection();
        QCOMPARE(selection->openNote()->day, today());
        QCOMPARE(selection->highlightedDate(), std::optional(today().startOfDay()));
        QCOMPARE(lqtest::queryFile(m_store->path(), u"SELECT day FROM notes"_s),
                 QVariantList{key(today())});
        QTRY_COMPARE(QApplication::focusWidget(), textEdit());
        selection->setSelectedDate(QDateTime(march1, QTime(23, 59)));
        QCOMPARE(editor()->headerText(), u"March 1, 2026, Sun"_s);
    }

    // Narrow, the text takes the pane's width; wide, a centred column of readable width, with
    // the header and the counts moving in with it. Last, a note that outgrows the pane brings
    // the scroll bar without moving the text.
    void text_keepsToACentredColumn_withTheHeaderAndCountsAlongIt()
    {
        auto *header = editor()->findChild<QLabel *>(u"noteHeader"_s);
        auto *counts = editor()->findChild<QLabel *>(u"countsLabel"_s);
        QList<QRect> columns;
        QList<int> countsInsets;
        for (const int windowWidth : {700, 2400, 2400}) {
            if (columns.size() == 2) {
                QApplication::clipboard()->setText(u"line\n"_s.repeated(100));
                textEdit()->paste();
            }
            m_window->resize(windowWidth, 760);
            QApplication::processEvents();
            QWidget *viewport = textEdit()->viewport();
            const QRect column(viewport->mapTo(editor(), QPoint()), viewport->size());
            QVERIFY(std::abs(column.left() - (editor()->width() - 1 - column.right())) <= 1);
            QCOMPARE(header->mapTo(editor(), header->contentsRect().topLeft()).x(), column.left());
            columns.append(column);
            countsInsets.append(column.right() -
                                counts->mapTo(editor(), counts->rect().topRight()).x());
        }
        QVERIFY(columns[0].width() < 75 * textEdit()->fontMetrics().averageCharWidth());
        QCOMPARE(columns[1].width(), 75 * textEdit()->fontMetrics().averageCharWidth());
        QVERIFY(textEdit()->verticalScrollBar()->isVisible());
        QCOMPARE(columns[2], columns[1]);
        QCOMPARE(countsInsets, QList<int>(3, countsInsets[0]));
    }

    // Typing, pasting, deleting across paragraphs, undo and redo, in a fixed random order.
    void counts_followEveryEdit_asAFullRecountWould()
    {
        const QStringList pieces = {u"word "_s,   u"\n"_s,  u"#tag"_s,
                                    u"e\u0301"_s, u"🇩🇪 "_s, u"two\nlines\n\n"_s,
                                    u"\u00A0"_s,  u" "_s};
        QRandomGenerator random(2026);
        for (int step = 0; step < 300; ++step) {
            QTextCursor cursor(document());
            const int end = document()->characterCount() - 1;
            cursor.setPosition(int(random.bounded(end + 1)));
            switch (random.bounded(5)) {
            case 0:
                cursor.setPosition(int(random.bounded(end + 1)), QTextCursor::KeepAnchor);
                textEdit()->setTextCursor(cursor);
                QTest::keyClick(textEdit(), Qt::Key_Delete);
                break;
            case 1:
                textEdit()->undo();
                break;
            case 2:
                textEdit()->redo();
                break;
            default:
                textEdit()->setTextCursor(cursor);
                QApplication::clipboard()->setText(pieces.at(random.bounded(pieces.size())));
                textEdit()->paste();
            }
            const QString text = textEdit()->noteText();
            QCOMPARE(editor()->statusBar()->countsText(),
                     countsText(wordCount(text), characterCount(text)));
        }
    }

    // Each paste is shown, counted, copied and saved exactly, with its tags. Qt lays out a
    // paragraph whole, so a long one is shown in pieces that the note never sees.
    void paste_isShownCountedAndSavedExactly_data()
    {
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<int>("tags");
        QTest::addColumn<bool>("inPieces"); // the third paragraph shown is a piece
        QString hashtags;
        for (int i = 0; i < 100000; ++i)
            hashtags += u"#t"_s + QString::number(i) + u' ';
        QTest::newRow("A long paragraph of words, pasted in place")
            << u"first line\n"_s + u"word "_s.repeated(2000) + u"\nlast line"_s << 0 << true;
        QTest::newRow("A long hashtag without spaces, pasted as a new document")
            << u"first line\n#"_s + QString(40000, u'x') + u" e\u0301 #end\nlast line"_s << 2
            << true;
        QTest::newRow("10 MB in 250,000 lines")
            << u"0123456789 abcdefghijklmnopqrstuvwxyz #ten\n"_s.repeated(250000) << 1 << false;
        QTest::newRow("NUL characters") << u"a\u0000b #n\u0000ul"_s << 1 << false;
        QTest::newRow("100,000 hashtags") << hashtags << 100000 << false;
    }

    void paste_isShownCountedAndSavedExactly()
    {
        QFETCH(QString, pasted);
        QFETCH(int, tags);
        QFETCH(bool, inPieces);
        QApplication::clipboard()->setText(pasted);
        QTest::keySequence(textEdit(), QKeySequence::Paste);
        // A key typed at once goes after the paste, even before Qt has laid all of it out.
        QTest::keyClick(textEdit(), Qt::Key_Exclam);
        QString text = pasted + u'!';
        if (inPieces) {
            // Backspace at the start of a piece takes the character before the break away: the
            // piece's own break, just before it, is the only one that is not in the note.
            const QTextBlock piece = document()->findBlockByNumber(2);
            QVERIFY(NoteTextEdit::continuesParagraph(piece));
            text.remove(piece.position() - 2, 1);
            textEdit()->setTextCursor(QTextCursor(piece));
            QTest::keyClick(textEdit(), Qt::Key_Backspace);
        }
        QCOMPARE(textEdit()->noteText(), text);
        QCOMPARE(editor()->statusBar()->countsText(),
                 countsText(wordCount(text), characterCount(text)));
        textEdit()->selectAll();
        textEdit()->copy();
        QCOMPARE(QApplication::clipboard()->text(), text);
        QTRY_COMPARE_WITH_TIMEOUT(stored(today()), text, 30000);
        QCOMPARE(m_store->journal()->tags().value().size(), tags);
    }

    void typing_isSavedHalfASecondAfterTheLastKey()
    {
        QElapsedTimer sinceLastKey;
        QTest::keyClicks(textEdit(), u"abc"_s);
        QTest::qWait(300);
        QTest::keyClicks(textEdit(), u" #tag"_s);
        sinceLastKey.start();
        QTRY_COMPARE_WITH_TIMEOUT(stored(today()), u"abc #tag"_s, 1500);
        QVERIFY2(sinceLastKey.elapsed() >= 450, "saved before the half second was up");
    }

    void pendingText_isSavedOnTheWayOut_data()
    {
        QTest::addColumn<QString>("way");
        QTest::newRow("Picking another day") << u"day"_s;
        QTest::newRow("Picking a tag") << u"tag"_s;
        QTest::newRow("Closing the window") << u"close"_s;
    }

    void pendingText_isSavedOnTheWayOut()
    {
        QFETCH(QString, way);
        m_store->write(QDate(2026, 1, 1), u"#elsewhere"_s);
        QTest::keyClicks(textEdit(), u"late words #late"_s);
        QVERIFY(editor()->hasPendingSave());
        if (way == u"day")
            m_window->selection()->setSelectedDate(today().addDays(-1).startOfDay());
        else if (way == u"tag")
            m_window->selection()->setSelectedTag(m_store->journal()->tags().value().first());
        else
            QVERIFY(m_window->close());
        QCOMPARE(stored(today()), u"late words #late"_s);
        if (way == u"day") {
            // The day's own note, and no text of the other lands in it later.
            QCOMPARE(textEdit()->noteText(), QString());
            QTest::qWait(NoteEditor::saveDelay + 100);
            QCOMPARE(stored(today().addDays(-1)), QString());
        }
    }

    // The journal stays locked through the last tries: every window's pending text is kept
    // beside it, in day order.
    void quitting_keepsThePendingTextBesideALockedJournal()
    {
        m_window.reset();
        QTemporaryDir dir;
        const QString path = dir.filePath(u"journal.sqlite"_s);
        {
            Application app(path);
            std::unique_ptr<lqtest::WriteLock> lock;
            QTimer::singleShot(0, [&] {
                MainWindow *first = app.windows().first();
                MainWindow *second = app.openWindow();
                second->selection()->setSelectedDate(today().addDays(-1).startOfDay());
                lock = std::make_unique<lqtest::WriteLock>(path);
                QTest::keyClicks(first->editor()->textEdit(), u"quit #fast"_s);
                QTest::keyClicks(second->editor()->textEdit(), u"other #day"_s);
                QTimer::singleShot(0, qApp, &QCoreApplication::quit);
            });
            QCOMPARE(app.exec(), 0);
        }
        const QStringList kept = QDir(dir.path()).entryList({u"unsaved-*.txt"_s});
        QCOMPARE(kept.size(), 1);
        QCOMPARE(lqtest::fileBytes(dir.filePath(kept.first())),
                 u"# %1\nother #day\n\n# %2\nquit #fast\n\n"_s
                     .arg(key(today().addDays(-1)), key(today()))
                     .toUtf8());
    }

    void undo_neverReachesIntoTheNoteOpenBefore()
    {
        QTest::keyClicks(textEdit(), u"secret #private"_s);
        QTest::keyClick(textEdit(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(textEdit(), Qt::Key_Delete);
        // Both notes are empty now, so switching replaces no text.
        m_window->selection()->setSelectedDate(today().addDays(-1).startOfDay());
        QTest::keyClick(textEdit(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(textEdit()->noteText(), QString());
    }

    void failedSave_isShownAndRetriedUntilTheTextIsOnDisk()
    {
        m_store->journal()->setRetryInterval(100);
        EditorStatusBar *statusBar = editor()->statusBar();
        {
            lqtest::WriteLock lock(m_store->path());
            QTest::keyClicks(textEdit(), u"kept while the disk is busy"_s);
            QTRY_VERIFY_WITH_TIMEOUT(statusBar->showsSaveError(), 10000);
        }
        QTRY_VERIFY_WITH_TIMEOUT(!statusBar->showsSaveError(), 10000);
        QCOMPARE(stored(today()), u"kept while the disk is busy"_s);
    }

    void unreadableNote_isNotOpenedForEditing()
    {
        lqtest::queryFile(m_store->path(), u"ALTER TABLE notes RENAME TO gone"_s);
        m_window->selection()->setSelectedDate(QDate(2025, 7, 7).startOfDay());
        QCOMPARE(m_window->selection()->openNote(), nullptr);
        QCOMPARE(m_window->selection()->highlightedDate(), std::nullopt);
        QVERIFY(!textEdit()->isVisible());
        QVERIFY(editor()->findChild<QLabel *>(u"readError"_s)->isVisible());
    }

    void newWindow_hasItsOwnSelection_andTheLastOneClosedEndsTheProgram()
    {
        m_window.reset();
        QTemporaryDir dir;
        const QString path = dir.filePath(u"journal.sqlite"_s);
        {
            Application app(path);
            QTimer::singleShot(0, &app, [&] {
                // However the checks end, the windows close and the event loop returns.
                const auto closeAll = qScopeGuard([&] {
                    for (MainWindow *window : app.windows())
                        window->close();
                });
                MainWindow *first = app.windows().value(0);
                QVERIFY(QTest::qWaitForWindowActive(first));
                QTest::keySequence(first, QKeySequence::New);
                QCOMPARE(app.windows().size(), 2);
                MainWindow *second = app.windows().last();
                QVERIFY(QTest::qWaitForWindowActive(second));
                QCOMPARE(second->selection()->openNote()->day, today());

                // Leaving a window saves what was typed in it.
                QTest::keyClicks(textOf(second), u"from the second "_s);
                first->activateWindow();
                QVERIFY(QTest::qWaitForWindowActive(first));
                QVERIFY(!second->editor()->hasPendingSave());
                QCOMPARE(app.windows().last(), first);

                // A day stepped back and a tag picked in the first window stay there.
                QTest::keyClick(textOf(first), Qt::Key_Left, Qt::AltModifier);
                QCOMPARE(first->selection()->openNote()->day, today().addDays(-1));
                QTest::keyClicks(textOf(first), u"#yesterday"_s);
                first->saveNow();
                first->selection()->setSelectedTag(app.journal()->tags().value().first());
                QCOMPARE(second->selection()->openNote()->day, today());
                QCOMPARE(second->selection()->selectedTag(), nullptr);

                // Closing one window leaves the program running with the other.
                QVERIFY(first->close());
                QTRY_COMPARE(app.windows(), QList<MainWindow *>{second});
                // Typed just before the last window closes.
                QTest::keyClicks(textOf(second), u"last words #kept"_s);
                QVERIFY(second->editor()->hasPendingSave());
            });
            QCOMPARE(app.exec(), 0);
        }
        QCOMPARE(lqtest::storedText(path, key(today())), u"from the second last words #kept"_s);
        QCOMPARE(lqtest::storedText(path, key(today().addDays(-1))), u"#yesterday"_s);
        // All was saved: no text is kept beside the journal.
        QVERIFY(QDir(dir.path()).entryList({u"unsaved-*.txt"_s}).isEmpty());
    }

    // The fixture's window and a second one, both on today's note, which says "middle"; the
    // insertion point of the second at its end. Text goes in at the start of the first window,
    // and maybe at the end of the second within the same half second.
    void twoWindowsOnOneNote_keepWhatWasTypedInEither_data()
    {
        QTest::addColumn<QString>("typedInSecond");
        QTest::addColumn<QString>("expected");
        QTest::newRow("The second window, with nothing pending, follows the first")
            << QString() << u"Early #both middle"_s;
        QTest::newRow("Edits pending in both are merged")
            << u" late"_s << u"Early #both middle late"_s;
    }

    void twoWindowsOnOneNote_keepWhatWasTypedInEither()
    {
        QFETCH(QString, typedInSecond);
        QFETCH(QString, expected);
        MainWindow second(m_store->journal());
        second.show();
        QVERIFY(QTest::qWaitForWindowExposed(&second));
        QTest::keyClicks(textEdit(), u"middle"_s);
        QTRY_COMPARE(textOf(&second)->noteText(), u"middle"_s);
        textOf(&second)->moveCursor(QTextCursor::End);

        textEdit()->moveCursor(QTextCursor::Start);
        QTest::keyClicks(textEdit(), u"Early #both "_s);
        QTest::keyClicks(textOf(&second), typedInSecond);
        QTRY_COMPARE(stored(today()), expected);
        QTRY_COMPARE(textOf(&second)->noteText(), expected);
        QTRY_COMPARE(textEdit()->noteText(), expected);
        QVERIFY(!editor()->hasPendingSave() && !second.editor()->hasPendingSave());
        // Each insertion point stays after the text typed before it.
        QCOMPARE(textOf(&second)->textCursor().position(), expected.size());
        QCOMPARE(textEdit()->textCursor().position(), 12);
    }

    // Every paragraph 1.6 lines apart, and no character with a style of its own.
    void text_staysPlainAndInOneStyle()
    {
        const auto verifyOneStyle = [this] {
            for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
                QCOMPARE(block.blockFormat().lineHeight(), NoteTextEdit::lineHeightPercent);
                for (auto it = block.begin(); !it.atEnd(); ++it) {
                    QVERIFY(!it.fragment().charFormat().hasProperty(QTextFormat::ForegroundBrush));
                    QVERIFY(!it.fragment().charFormat().hasProperty(QTextFormat::FontPointSize));
                }
            }
        };
        auto *mime = new QMimeData;
        mime->setHtml(u"<b>Big</b> <span style=\"color:red;font-size:40pt\">red</span>"_s);
        QApplication::clipboard()->setMimeData(mime);
        QTest::keySequence(textEdit(), QKeySequence::Paste);
        QTest::keyClick(textEdit(), Qt::Key_Return);
        QTest::keyClick(textEdit(), Qt::Key_Return);
        QTest::keyClick(textEdit(), Qt::Key_Return, Qt::ShiftModifier);
        QApplication::clipboard()->setText(u"plain\nlines"_s);
        QTest::keySequence(textEdit(), QKeySequence::Paste);
        QCOMPARE(textEdit()->noteText(), u"Big red\n\n\nplain\nlines"_s);
        verifyOneStyle();
        QTest::keySequence(textEdit(), QKeySequence::Undo);
        verifyOneStyle();

        m_store->write(QDate(2026, 1, 1), u"loaded\n\nlines"_s);
        m_window->selection()->setSelectedDate(QDate(2026, 1, 1).startOfDay());
        QCOMPARE(textEdit()->noteText(), u"loaded\n\nlines"_s);
        verifyOneStyle();
    }

    void search_opensOnEveryWayIn_andOpensTheResultChosen_withItsMatchesMarked_data()
    {
        QTest::addColumn<QString>("opened");
        QTest::addColumn<QString>("chosen");
        QTest::newRow("Ctrl+F, then Enter in the field") << u"key"_s << u"enter"_s;
        QTest::newRow("The search button, then Down and Enter") << u"button"_s << u"list"_s;
        QTest::newRow("The Journal menu, then a click") << u"menu"_s << u"click"_s;
        QTest::newRow("Ctrl+F while a tag's notes are shown") << u"tag"_s << u"enter"_s;
    }

    void search_opensOnEveryWayIn_andOpensTheResultChosen_withItsMatchesMarked()
    {
        QFETCH(QString, opened);
        QFETCH(QString, chosen);
        openWindowOnNotesToSearch();
        if (opened == u"tag")
            m_window->selection()->setSelectedTag(m_store->journal()->tags().value().first());
        if (opened == u"button")
            QTest::mouseClick(m_window->menuBar()->findChild<QToolButton *>(u"noteSearchButton"_s),
                              Qt::LeftButton);
        else if (opened == u"menu")
            m_window->journalMenu()->searchAction()->trigger();
        else
            QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget()
                                                        : m_window.get(),
                            Qt::Key_F, Qt::ControlModifier);
        QVERIFY(m_window->searchPage());
        QTRY_COMPARE(QApplication::focusWidget(), field());
        QTest::keyClicks(field(), u"kol"_s);
        QListView *results = m_window->searchPage()->results();
        QCOMPARE(results->model()->rowCount(), 2);
        QCOMPARE(results->model()->index(0, 0).data().toString(),
                 u"A long day. Back from koln by train"_s);
        // Screen readers hear the day, then the snippet.
        QAccessibleInterface *list = QAccessible::queryAccessibleInterface(results);
        QCOMPARE(list->child(1)->text(QAccessible::Name),
                 u"March 1, 2026, Rain in Köln, #travel"_s);
        QTest::keyClicks(field(), u"n train"_s);
        QCOMPARE(results->model()->rowCount(), 1);

        if (chosen == u"enter") {
            QTest::keyClick(field(), Qt::Key_Return);
        } else if (chosen == u"list") {
            QTest::keyClick(field(), Qt::Key_Down);
            QTest::keyClick(results, Qt::Key_Return);
        } else {
            QTest::mouseClick(results->viewport(), Qt::LeftButton, {},
                              results->visualRect(results->model()->index(0, 0)).center());
        }
        QTRY_VERIFY(editor());
        QCOMPARE(m_window->selection()->highlightedDate(), std::optional(march2.startOfDay()));
        const qsizetype back = 12 + 60;
        QCOMPARE(editor()->highlightedMatches(),
                 (QList<TextRange>{{back + 10, 4}, {back + 18, 5}}));
        // The first match is where the cursor is, in view.
        QCOMPARE(textEdit()->textCursor().position(), back + 10);
        QTRY_COMPARE(QApplication::focusWidget(), textEdit());
        QVERIFY(textEdit()->viewport()->rect().contains(textEdit()->cursorRect()));
        // Typing and its save keep them.
        textEdit()->moveCursor(QTextCursor::End);
        QTest::keyClicks(textEdit(), u" more"_s);
        m_window->saveNow();
        QCOMPARE(editor()->highlightedMatches().size(), 2);
        // The marks go with the note.
        m_window->selection()->setSelectedDate(march1.startOfDay());
        QCOMPARE(editor()->highlightedMatches(), QList<TextRange>());
    }

    // Typed text is searchable, Escape goes back to its note, and the menu's import merges into it.
    void escape_leavesTheSearch_andImportFromTheMenu_keepTheOpenNoteInStep()
    {
        openWindowOnNotesToSearch();
        m_window->selection()->setSelectedDate(march1.startOfDay());
        QTest::keyClicks(textEdit(), u"Mine. "_s);
        m_window->openSearch();
        QTest::keyClicks(field(), u"mine"_s);
        QCOMPARE(m_window->searchPage()->results()->model()->rowCount(), 1);
        QTest::keyClick(field(), Qt::Key_Escape);
        QTRY_VERIFY(editor());
        QCOMPARE(editor()->note()->day, march1);
        QTRY_COMPARE(QApplication::focusWidget(), textEdit());

        QTemporaryDir folder;
        chooseFolder(m_window->journalMenu()->exportAction(), folder.path());
        QSignalSpy exported(m_window->journalMenu(), &JournalMenu::exportFinished);
        QTRY_COMPARE(exported.count(), 1);
        QCOMPARE(exported.first().first().toString(), QString());
        QVERIFY(QFile::exists(folder.filePath(u"2026/03/2026-03-01.md"_s)));
        QTest::keyClicks(textEdit(), u"More. "_s);
        chooseFolder(m_window->journalMenu()->importAction(), folder.path());
        const QString merged =
            u"More. Mine. Rain in Köln, #travel\n\n---\n\nMine. Rain in Köln, #travel"_s;
        QCOMPARE(stored(march1), merged);
        QCOMPARE(textEdit()->noteText(), merged);
        QVERIFY2(m_window->statusBar()->currentMessage().contains(u"1 merged"_s),
                 qPrintable(m_window->statusBar()->currentMessage()));
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
        QCOMPARE(stored(today()), typed);
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
        const QDate yesterday = today().addDays(-1);
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
    // A new journal holding notes, in a new window whose spell checker is ready.
    void openWindow(const QMap<QDate, QString> &notes = {})
    {
        m_window.reset();
        m_store = std::make_unique<lqtest::TemporaryJournal>();
        for (auto it = notes.begin(); it != notes.end(); ++it)
            m_store->write(it.key(), it.value());
        m_window = std::make_unique<MainWindow>(m_store->journal());
        m_window->show();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        QTRY_VERIFY(textEdit()->spellChecker()->isReady());
    }

    // Two notes to search, the match in the second far below its first line.
    void openWindowOnNotesToSearch()
    {
        openWindow(
            {{march1, u"Rain in Köln, #travel"_s},
             {march2, u"A long day.\r\n"_s + QString(60, u'\n') + u"Back from koln by train"_s}});
    }

    QLineEdit *field() const { return m_window->searchPage()->field(); }
    // Picks folder in the dialog the action opens.
    void chooseFolder(QAction *action, const QString &folder)
    {
        action->trigger();
        QFileDialog *dialog = nullptr;
        QTRY_VERIFY((dialog = m_window->findChild<QFileDialog *>()) && dialog->isVisible());
        dialog->selectFile(folder);
        QMetaObject::invokeMethod(dialog, "accept");
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
    NoteTextEdit *textEdit() const { return textOf(m_window.get()); }
    QTextDocument *document() const { return textEdit()->document(); }
    QString stored(QDate day) const { return lqtest::storedText(m_store->path(), key(day)); }

    std::unique_ptr<lqtest::TemporaryJournal> m_store;
    std::unique_ptr<MainWindow> m_window;
};

QTEST_MAIN(EditorTest)
#include "tst_editor.moc"
