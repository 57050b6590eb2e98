// The note search and the Journal menu in the window, driven through the real widgets:
// opening the search, results as the user types, opening a result with its matches marked,
// leaving the search, and export and import from the menu.

#include "TestEnvironment.h"

#include "app/JournalMenu.h"
#include "app/MainWindow.h"
#include "app/SelectionState.h"
#include "app/editor/NoteEditor.h"
#include "app/editor/NoteTextEdit.h"
#include "core/Journal.h"
#include "core/SearchResultsModel.h"

#include <QAccessible>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QListView>
#include <QMenuBar>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {

const QDate march1(2026, 3, 1);
const QDate march2(2026, 3, 2);

} // namespace

class SearchTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { lqtest::pinEnvironment(); }
    void init()
    {
        m_store = std::make_unique<lqtest::TemporaryJournal>();
        Journal *journal = m_store->journal();
        journal->setText(journal->noteForDay(march1).value(), u"Rain in Köln, #travel"_s);
        journal->setText(journal->noteForDay(march2).value(),
                         u"A long day.\n"_s + QString(60, u'\n') + u"Back from koln by train"_s);
        m_window = std::make_unique<MainWindow>(journal);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    }
    void cleanup()
    {
        m_window.reset();
        m_store.reset();
    }

    void search_opensOnEveryWayIn_andShowsTheNewestDayFirst_data()
    {
        QTest::addColumn<QString>("way");
        QTest::newRow("Ctrl+F") << u"key"_s;
        QTest::newRow("The search button") << u"button"_s;
        QTest::newRow("The Journal menu") << u"menu"_s;
        QTest::newRow("Ctrl+F while a tag's notes are shown") << u"tag"_s;
    }

    void search_opensOnEveryWayIn_andShowsTheNewestDayFirst()
    {
        QFETCH(QString, way);
        if (way == u"tag")
            m_window->selection()->setSelectedTag(m_store->journal()->tags().value().first());
        if (way == u"button")
            QTest::mouseClick(m_window->menuBar()->findChild<QToolButton *>(u"noteSearchButton"_s),
                              Qt::LeftButton);
        else if (way == u"menu")
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
        QCOMPARE(results->model()->index(0, 0).data(SearchResultsModel::DayRole).toDate(), march2);
        QCOMPARE(results->model()->index(0, 0).data().toString(),
                 u"A long day. Back from koln by train"_s);
        // Screen readers hear the day, then the snippet.
        QAccessibleInterface *list = QAccessible::queryAccessibleInterface(results);
        QCOMPARE(list->child(1)->text(QAccessible::Name),
                 u"March 1, 2026, Rain in Köln, #travel"_s);
        QTest::keyClicks(field(), u"n #tr"_s);
        QCOMPARE(results->model()->rowCount(), 1);
    }

    void result_opensItsDay_withTheMatchesMarked_andTheFirstInView_data()
    {
        QTest::addColumn<QString>("way");
        QTest::newRow("Enter in the field") << u"enter"_s;
        QTest::newRow("Down, then Enter in the list") << u"list"_s;
        QTest::newRow("A click") << u"click"_s;
    }

    void result_opensItsDay_withTheMatchesMarked_andTheFirstInView()
    {
        QFETCH(QString, way);
        m_window->editor()->textEdit()->resize(600, 300);
        m_window->openSearch();
        QTest::keyClicks(field(), u"koln train"_s);
        QListView *results = m_window->searchPage()->results();
        if (way == u"enter") {
            QTest::keyClick(field(), Qt::Key_Return);
        } else if (way == u"list") {
            QTest::keyClick(field(), Qt::Key_Down);
            QTest::keyClick(results, Qt::Key_Return);
        } else {
            QTest::mouseClick(results->viewport(), Qt::LeftButton, {},
                              results->visualRect(results->model()->index(0, 0)).center());
        }
        QTRY_VERIFY(m_window->editor());
        QCOMPARE(m_window->editor()->note()->day, march2);
        QCOMPARE(m_window->selection()->highlightedDate(), std::optional(march2.startOfDay()));
        const qsizetype back = 12 + 60;
        QCOMPARE(m_window->editor()->highlightedMatches(),
                 (QList<TextRange>{{back + 10, 4}, {back + 18, 5}}));
        NoteTextEdit *text = m_window->editor()->textEdit();
        QCOMPARE(text->textCursor().position(), back + 10);
        QTRY_COMPARE(QApplication::focusWidget(), text);
        QVERIFY(text->viewport()->rect().contains(text->cursorRect()));
        QVERIFY(text->verticalScrollBar()->value() > 0);
        // Typing and its save keep them.
        text->moveCursor(QTextCursor::End);
        QTest::keyClicks(text, u" more"_s);
        m_window->saveNow();
        QCOMPARE(m_window->editor()->highlightedMatches().size(), 2);
        // The marks go with the note.
        m_window->selection()->setSelectedDate(march1.startOfDay());
        QCOMPARE(m_window->editor()->highlightedMatches(), QList<TextRange>());
    }

    void escape_leavesTheSearch_forTheNoteThatWasOpen()
    {
        m_window->selection()->setSelectedDate(march1.startOfDay());
        QTest::keyClicks(m_window->editor()->textEdit(), u"typed "_s);
        m_window->openSearch();
        // The text typed just before is searchable.
        QTest::keyClicks(field(), u"typed"_s);
        QCOMPARE(m_window->searchPage()->results()->model()->rowCount(), 1);
        QTest::keyClick(field(), Qt::Key_Escape);
        QTRY_VERIFY(m_window->editor());
        QCOMPARE(m_window->editor()->note()->day, march1);
        QTRY_COMPARE(QApplication::focusWidget(), m_window->editor()->textEdit());
    }

    void exportAndImport_fromTheMenu_keepTheOpenNoteInStep()
    {
        QTemporaryDir folder;
        chooseFolder(m_window->journalMenu()->exportAction(), folder.path());
        QSignalSpy exported(m_window->journalMenu(), &JournalMenu::exportFinished);
        QTRY_COMPARE(exported.count(), 1);
        QCOMPARE(exported.first().first().toString(), QString());
        QVERIFY(QFile::exists(folder.filePath(u"2026/03/2026-03-01.md"_s)));

        // The day open in the editor gets the imported text below its own.
        m_window->selection()->setSelectedDate(march1.startOfDay());
        QTest::keyClicks(m_window->editor()->textEdit(), u"Mine. "_s);
        chooseFolder(m_window->journalMenu()->importAction(), folder.path());
        const QString merged = u"Mine. Rain in Köln, #travel\n\n---\n\nRain in Köln, #travel"_s;
        QCOMPARE(lqtest::storedText(m_store->path(), u"2026-03-01"_s), merged);
        QCOMPARE(m_window->editor()->textEdit()->noteText(), merged);
        QVERIFY2(m_window->statusBar()->currentMessage().contains(u"1 merged"_s),
                 qPrintable(m_window->statusBar()->currentMessage()));
    }

private:
    QLineEdit *field() const { return m_window->searchPage()->field(); }
    // Picks folder in the dialog the action opens.
    void chooseFolder(QAction *action, const QString &folder);

    std::unique_ptr<lqtest::TemporaryJournal> m_store;
    std::unique_ptr<MainWindow> m_window;
};

void SearchTest::chooseFolder(QAction *action, const QString &folder)
{
    action->trigger();
    QFileDialog *dialog = nullptr;
    QTRY_VERIFY((dialog = m_window->findChild<QFileDialog *>()) && dialog->isVisible());
    dialog->selectFile(folder);
    QMetaObject::invokeMethod(dialog, "accept");
}

QTEST_MAIN(SearchTest)
#include "tst_search.moc"
