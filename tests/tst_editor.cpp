// The editor in its window, driven through the real widgets: the day's note, the header and
// the counts, the column the text keeps to, the save half a second after typing, and every
// way out that must keep the text.

#include "TestEnvironment.h"

#include "app/Application.h"
#include "app/MainWindow.h"
#include "app/SelectionState.h"
#include "app/editor/EditorStatusBar.h"
#include "app/editor/NoteEditor.h"
#include "app/editor/NoteTextEdit.h"
#include "app/sidebar/Sidebar.h"
#include "core/Journal.h"
#include "core/TextCounts.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QMimeData>
#include <QRandomGenerator>
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
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }

    void window_opensOnTodaysNote_withTheKeyboardInTheText()
    {
        SelectionState *selection = m_window->selection();
        QCOMPARE(selection->openNote()->day, today());
        QCOMPARE(selection->highlightedDate(), std::optional(today().startOfDay()));
        QCOMPARE(lqtest::queryFile(m_store->path(), u"SELECT day FROM notes"_s),
                 QVariantList{key(today())});
        QTRY_COMPARE(QApplication::focusWidget(), textEdit());
        QCOMPARE(m_window->sidebar()->width(), 250);

        selection->setSelectedDate(today().addDays(-3).startOfDay());
        QCOMPARE(editor()->note()->day, today().addDays(-3));
        QTRY_COMPARE(QApplication::focusWidget(), textEdit());
    }

    void header_followsTheLocale_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("header");
        QTest::newRow("English") << QLocale(QLocale::English, QLocale::UnitedStates)
                                 << u"March 1, 2026, Sun"_s;
        QTest::newRow("German") << QLocale(QLocale::German, QLocale::Germany)
                                << u"März 1, 2026, So."_s;
    }

    void header_followsTheLocale()
    {
        QFETCH(QLocale, locale);
        QFETCH(QString, header);
        QLocale::setDefault(locale);
        m_window->selection()->setSelectedDate(QDateTime(QDate(2026, 3, 1), QTime(23, 59)));
        QCOMPARE(editor()->headerText(), header);
    }

    // Narrow, the text takes the pane's width; wide, a centred column of readable width, with
    // the header and the counts moving in with it.
    void text_keepsToACentredColumn_withTheHeaderAndCountsAlongIt()
    {
        QTest::keyClicks(textEdit(), u"Words to read #tag"_s);
        const QString counts = editor()->statusBar()->countsText();
        const int widest = 75 * textEdit()->fontMetrics().averageCharWidth();
        auto *header = editor()->findChild<QLabel *>(u"noteHeader"_s);
        auto *countsLabel = editor()->findChild<QLabel *>(u"countsLabel"_s);
        struct Edges
        {
            int pane = 0;
            QRect column;
            int header = 0;
            int counts = 0;
        };
        const auto edgesAt = [&](int windowWidth) {
            m_window->resize(windowWidth, 760);
            QApplication::processEvents();
            QWidget *viewport = textEdit()->viewport();
            return Edges{editor()->width(),
                         QRect(viewport->mapTo(editor(), QPoint()), viewport->size()),
                         header->mapTo(editor(), header->contentsRect().topLeft()).x(),
                         countsLabel->mapTo(editor(), countsLabel->rect().topRight()).x()};
        };

        const Edges narrow = edgesAt(700);
        const Edges wide = edgesAt(2400);
        QVERIFY(narrow.column.width() < widest);
        QCOMPARE(wide.column.width(), widest);
        for (const Edges &edges : {narrow, wide}) {
            QVERIFY(std::abs(edges.column.left() - (edges.pane - 1 - edges.column.right())) <= 1);
            QCOMPARE(edges.header, edges.column.left());
        }
        QCOMPARE(wide.column.right() - wide.counts, narrow.column.right() - narrow.counts);
        QCOMPARE(textEdit()->noteText(), u"Words to read #tag"_s);
        QCOMPARE(editor()->statusBar()->countsText(), counts);

        // A note that outgrows the pane brings the scroll bar without moving the text.
        QApplication::clipboard()->setText(u"line\n"_s.repeated(100));
        textEdit()->paste();
        QVERIFY(textEdit()->verticalScrollBar()->isVisible());
        QCOMPARE(edgesAt(2400).column, wide.column);
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

    // Qt lays out a paragraph whole, so a long one is shown in pieces that the note never sees.
    void longParagraph_isShownInPieces_andKeptWhole_data()
    {
        QTest::addColumn<QString>("paragraph");
        QTest::newRow("Words, pasted in place") << u"word "_s.repeated(2000);
        QTest::newRow("One run without spaces, pasted as a new document")
            << QString(40000, u'x') + u"\u0301 #end"_s;
    }

    void longParagraph_isShownInPieces_andKeptWhole()
    {
        QFETCH(QString, paragraph);
        const QString text = u"first line\n"_s + paragraph + u"\nlast line"_s;
        QApplication::clipboard()->setText(text);
        QTest::keySequence(textEdit(), QKeySequence::Paste);
        QVERIFY(textEdit()->document()->blockCount() > 4);
        QCOMPARE(textEdit()->noteText(), text);
        QCOMPARE(editor()->statusBar()->countsText(),
                 countsText(wordCount(text), characterCount(text)));

        // Backspace at the start of a piece takes the character before the break away.
        const QTextBlock piece = textEdit()->document()->findBlockByNumber(2);
        QVERIFY(NoteTextEdit::continuesParagraph(piece));
        QTextCursor cursor(piece);
        textEdit()->setTextCursor(cursor);
        // The piece's own break, just before it, is the only one that is not in the note.
        const int offset = piece.position() - 1;
        QTest::keyClick(textEdit(), Qt::Key_Backspace);
        const QString edited = text.left(offset - 1) + text.mid(offset);
        QCOMPARE(textEdit()->noteText(), edited);
        QCOMPARE(editor()->statusBar()->countsText(),
                 countsText(wordCount(edited), characterCount(edited)));
        textEdit()->selectAll();
        textEdit()->copy();
        QCOMPARE(QApplication::clipboard()->text(), edited);
        QTRY_COMPARE_WITH_TIMEOUT(stored(today()), edited, 2000);
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
        QCOMPARE(m_store->journal()->tags().value().size(), 1);
    }

    // Hostile pastes: each is shown, counted and saved exactly, with its tags.
    void hostilePaste_isSavedExactly_data()
    {
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<int>("tags");
        QString hashtags;
        for (int i = 0; i < 100000; ++i)
            hashtags += u"#t"_s + QString::number(i) + u' ';
        QTest::newRow("10 MB in 250,000 lines")
            << u"0123456789 abcdefghijklmnopqrstuvwxyz #ten\n"_s.repeated(250000) << 1;
        QTest::newRow("NUL characters") << u"a\u0000b #n\u0000ul"_s << 1;
        QTest::newRow("Right-to-left and combining text")
            << u"\u05E9\u05DC\u05D5\u05DD \u0627\u0644\u0633\u0644\u0627\u0645 e\u0301\u0302 #rtl"_s
            << 1;
        QTest::newRow("100,000 hashtags") << hashtags << 100000;
        QTest::newRow("One hashtag of 100,000 characters") << u'#' + QString(100000, u'h') << 1;
    }

    void hostilePaste_isSavedExactly()
    {
        QFETCH(QString, pasted);
        QFETCH(int, tags);
        QApplication::clipboard()->setText(pasted);
        QTest::keySequence(textEdit(), QKeySequence::Paste);
        QCOMPARE(textEdit()->noteText(), pasted);
        QCOMPARE(editor()->statusBar()->countsText(),
                 countsText(wordCount(pasted), characterCount(pasted)));
        QTRY_COMPARE_WITH_TIMEOUT(stored(today()), pasted, 30000);
        QCOMPARE(m_store->journal()->tags().value().size(), tags);
    }

    void pendingText_isSavedOnTheWayOut_data()
    {
        QTest::addColumn<QString>("way");
        QTest::newRow("Picking another day") << u"day"_s;
        QTest::newRow("Stepping a day back with the keyboard") << u"key"_s;
        QTest::newRow("Picking a tag") << u"tag"_s;
        QTest::newRow("Closing the window") << u"close"_s;
    }

    void pendingText_isSavedOnTheWayOut()
    {
        QFETCH(QString, way);
        m_store->journal()->setText(m_store->journal()->noteForDay(QDate(2026, 1, 1)).value(),
                                    u"#elsewhere"_s);
        QTest::keyClicks(textEdit(), u"late words #late"_s);
        QVERIFY(editor()->hasPendingSave());
        if (way == u"day")
            m_window->selection()->setSelectedDate(today().addDays(-1).startOfDay());
        else if (way == u"key")
            QTest::keyClick(textEdit(), Qt::Key_Left, Qt::AltModifier);
        else if (way == u"tag")
            m_window->selection()->setSelectedTag(m_store->journal()->tags().value().first());
        else
            QVERIFY(m_window->close());
        QCOMPARE(stored(today()), u"late words #late"_s);
        QCOMPARE(m_store->journal()->tags().value().size(), 2);
        if (way == u"day" || way == u"key") {
            QCOMPARE(editor()->note()->day, today().addDays(-1));
            QCOMPARE(textEdit()->noteText(), QString());
            QTest::qWait(NoteEditor::saveDelay + 100);
            QCOMPARE(stored(today().addDays(-1)), QString());
        }
    }

    void quitting_savesPendingText_orKeepsItBesideTheJournal_data()
    {
        QTest::addColumn<bool>("locked");
        QTest::newRow("The text is saved") << false;
        QTest::newRow("A journal that stays locked gets the text beside it") << true;
    }

    void quitting_savesPendingText_orKeepsItBesideTheJournal()
    {
        QFETCH(bool, locked);
        m_window.reset();
        QTemporaryDir dir;
        const QString path = dir.filePath(u"journal.sqlite"_s);
        {
            Application app(path);
            std::unique_ptr<lqtest::WriteLock> lock;
            QTimer::singleShot(0, [&] {
                // A second window, on the day before, has text pending too.
                MainWindow *first = app.windows().first();
                MainWindow *second = app.openWindow();
                second->selection()->setSelectedDate(today().addDays(-1).startOfDay());
                if (locked)
                    lock = std::make_unique<lqtest::WriteLock>(path);
                QTest::keyClicks(first->editor()->textEdit(), u"quit #fast"_s);
                QTest::keyClicks(second->editor()->textEdit(), u"other #day"_s);
                QTimer::singleShot(0, qApp, &QCoreApplication::quit);
            });
            QCOMPARE(app.exec(), 0);
        }
        const QStringList kept = QDir(dir.path()).entryList({u"unsaved-*.txt"_s});
        if (!locked) {
            QCOMPARE(lqtest::storedText(path, key(today())), u"quit #fast"_s);
            QCOMPARE(lqtest::storedText(path, key(today().addDays(-1))), u"other #day"_s);
            QCOMPARE(lqtest::queryFile(path, u"SELECT count(*) FROM note_tags"_s).value(0), 2);
            QVERIFY(kept.isEmpty());
            return;
        }
        QCOMPARE(kept.size(), 1);
        QFile file(dir.filePath(kept.first()));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(file.readAll()),
                 u"# %1\nother #day\n\n# %2\nquit #fast\n\n"_s.arg(key(today().addDays(-1)),
                                                                   key(today())));
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
        editor()->saveNow();
        QCOMPARE(stored(today().addDays(-1)), QString());
        QVERIFY(m_store->journal()->tags().value().isEmpty());
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

        m_store->journal()->setText(m_store->journal()->noteForDay(QDate(2026, 1, 1)).value(),
                                    u"loaded\n\nlines"_s);
        m_window->selection()->setSelectedDate(QDate(2026, 1, 1).startOfDay());
        QCOMPARE(textEdit()->noteText(), u"loaded\n\nlines"_s);
        verifyOneStyle();
    }

private:
    NoteEditor *editor() const { return m_window->editor(); }
    NoteTextEdit *textEdit() const { return editor()->textEdit(); }
    QString stored(QDate day) const { return lqtest::storedText(m_store->path(), key(day)); }

    std::unique_ptr<lqtest::TemporaryJournal> m_store;
    std::unique_ptr<MainWindow> m_window;
};

QTEST_MAIN(EditorTest)
#include "tst_editor.moc"
