// The note search and the Journal menu in the window, driven through the real widgets.

#include "TestEnvironment.h"

#include "app/JournalMenu.h"
#include "app/MainWindow.h"
#include "app/SelectionState.h"
#include "app/editor/NoteEditor.h"
#include "app/editor/NoteTextEdit.h"

#include <QAccessible>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QListView>
#include <QMenuBar>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QToolButton>

using namespace Qt::StringLiterals;

static const QDate march1(2026, 3, 1), march2(2026, 3, 2);

class SearchTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { lqtest::pinEnvironment(); }
    void init()
    {
        m_store = std::make_unique<lqtest::TemporaryJournal>();
        m_store->write(march1, u"Rain in Köln, #travel"_s);
        m_store->write(march2,
                       u"A long day.\r\n"_s + QString(60, u'\n') + u"Back from koln by train"_s);
        m_window = std::make_unique<MainWindow>(m_store->journal());
        m_window->show();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    }
    void cleanup()
    {
        m_window.reset();
        m_store.reset();
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
        QTRY_VERIFY(m_window->editor());
        QCOMPARE(m_window->selection()->highlightedDate(), std::optional(march2.startOfDay()));
        const qsizetype back = 12 + 60;
        QCOMPARE(m_window->editor()->highlightedMatches(),
                 (QList<TextRange>{{back + 10, 4}, {back + 18, 5}}));
        // The first match is where the cursor is, in view.
        NoteTextEdit *text = m_window->editor()->textEdit();
        QCOMPARE(text->textCursor().position(), back + 10);
        QTRY_COMPARE(QApplication::focusWidget(), text);
        QVERIFY(text->viewport()->rect().contains(text->cursorRect()));
        // Typing and its save keep them.
        text->moveCursor(QTextCursor::End);
        QTest::keyClicks(text, u" more"_s);
        m_window->saveNow();
        QCOMPARE(m_window->editor()->highlightedMatches().size(), 2);
        // The marks go with the note.
        m_window->selection()->setSelectedDate(march1.startOfDay());
        QCOMPARE(m_window->editor()->highlightedMatches(), QList<TextRange>());
    }

    // Typed text is searchable, Escape goes back to its note, and the menu's import merges into it.
    void escape_leavesTheSearch_andImportFromTheMenu_keepTheOpenNoteInStep()
    {
        m_window->selection()->setSelectedDate(march1.startOfDay());
        QTest::keyClicks(m_window->editor()->textEdit(), u"Mine. "_s);
        m_window->openSearch();
        QTest::keyClicks(field(), u"mine"_s);
        QCOMPARE(m_window->searchPage()->results()->model()->rowCount(), 1);
        QTest::keyClick(field(), Qt::Key_Escape);
        QTRY_VERIFY(m_window->editor());
        QCOMPARE(m_window->editor()->note()->day, march1);
        QTRY_COMPARE(QApplication::focusWidget(), m_window->editor()->textEdit());

        QTemporaryDir folder;
        chooseFolder(m_window->journalMenu()->exportAction(), folder.path());
        QSignalSpy exported(m_window->journalMenu(), &JournalMenu::exportFinished);
        QTRY_COMPARE(exported.count(), 1);
        QCOMPARE(exported.first().first().toString(), QString());
        QVERIFY(QFile::exists(folder.filePath(u"2026/03/2026-03-01.md"_s)));
        QTest::keyClicks(m_window->editor()->textEdit(), u"More. "_s);
        chooseFolder(m_window->journalMenu()->importAction(), folder.path());
        const QString merged =
            u"More. Mine. Rain in Köln, #travel\n\n---\n\nMine. Rain in Köln, #travel"_s;
        QCOMPARE(lqtest::storedText(m_store->path(), u"2026-03-01"_s), merged);
        QCOMPARE(m_window->editor()->textEdit()->noteText(), merged);
        QVERIFY2(m_window->statusBar()->currentMessage().contains(u"1 merged"_s),
                 qPrintable(m_window->statusBar()->currentMessage()));
    }

private:
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

    std::unique_ptr<lqtest::TemporaryJournal> m_store;
    std::unique_ptr<MainWindow> m_window;
};

QTEST_MAIN(SearchTest)
#include "tst_search.moc"
