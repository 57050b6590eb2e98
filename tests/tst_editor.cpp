// The editor in its window, driven through the real widgets: the day's note, the header and
// the counts, the column the text keeps to, the save half a second after typing, and every
// way out that must keep the text. Several windows on one journal in one process: New Window,
// each window's own selection, the program ending with the last window, and two windows on
// the same note never losing what was typed in either.

#include "TestEnvironment.h"

#include "app/Application.h"
#include "app/MainWindow.h"
#include "app/SelectionState.h"
#include "app/editor/EditorStatusBar.h"
#include "app/editor/NoteEditor.h"
#include "app/editor/NoteTextEdit.h"
#include "core/Journal.h"
#include "core/TextCounts.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QMimeData>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>

using namespace Qt::StringLiterals;

namespace {

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
        m_store = std::make_unique<lqtest::TemporaryJournal>();
        m_window = std::make_unique<MainWindow>(m_store->journal());
        m_window->show();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    }

    void cleanup()
    {
        m_window.reset();
        m_store.reset();
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
        selection->setSelectedDate(QDateTime(QDate(2026, 3, 1), QTime(23, 59)));
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
            QTextCursor cursor(textEdit()->document());
            const int end = textEdit()->document()->characterCount() - 1;
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
            const QTextBlock piece = textEdit()->document()->findBlockByNumber(2);
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
        QCOMPARE(lqtest::storedText(path, today().toString(Qt::ISODate)),
                 u"from the second last words #kept"_s);
        QCOMPARE(lqtest::storedText(path, today().addDays(-1).toString(Qt::ISODate)),
                 u"#yesterday"_s);
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
            const QTextDocument *document = textEdit()->document();
            for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
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

private:
    NoteEditor *editor() const { return m_window->editor(); }
    NoteTextEdit *textEdit() const { return textOf(m_window.get()); }
    QString stored(QDate day) const { return lqtest::storedText(m_store->path(), key(day)); }

    std::unique_ptr<lqtest::TemporaryJournal> m_store;
    std::unique_ptr<MainWindow> m_window;
};

QTEST_MAIN(EditorTest)
#include "tst_editor.moc"
