// The sidebar's tags in the window: the search, the sort menu, the counts, the empty list's
// hint, picking a tag, and removing one after a confirmation.

#include "TestEnvironment.h"

#include "app/MainWindow.h"
#include "app/SelectionState.h"
#include "app/editor/NoteEditor.h"
#include "app/editor/NoteTextEdit.h"
#include "app/sidebar/Sidebar.h"
#include "core/Journal.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

class SidebarTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { lqtest::pinEnvironment(); }
    // One note per tag, so that Most Recent has a clear order: beta, alps, also, alpha.
    void init()
    {
        m_window.reset();
        m_store = std::make_unique<lqtest::TemporaryJournal>();
        for (const auto &[name, day] :
             {std::pair{u"alpha"_s, 1}, {u"alps"_s, 9}, {u"also"_s, 5}, {u"beta"_s, 10}})
            m_store->write(QDate(2026, 1, day), u"#"_s + name);
        openWindow();
    }

    // Each row's name is what is typed in the tag search; the first tag written, or the first
    // to match, takes the place of the hint, and cancelling brings every tag back.
    void search_narrowsAtEachKey_orSaysWhyTheListIsEmpty_data()
    {
        QTest::addColumn<QString>("listed");
        QTest::addColumn<QString>("hint");
        QTest::newRow("") << QString() << u"Type #word in a note to make a tag"_s;
        QTest::newRow("AL") << u"alpha alps also"_s << QString();
        QTest::newRow("ALP") << u"alpha alps"_s << QString();
        QTest::newRow("xyz") << QString() << u"No matching tags"_s;
    }

    void search_narrowsAtEachKey_orSaysWhyTheListIsEmpty()
    {
        QFETCH(QString, listed);
        QFETCH(QString, hint);
        const QString search = QString::fromLatin1(QTest::currentDataTag());
        if (search.isEmpty()) {
            m_window.reset();
            m_store = std::make_unique<lqtest::TemporaryJournal>();
            openWindow();
        }
        click(u"searchButton"_s);
        auto *field = control<QLineEdit>(u"searchField"_s);
        QTRY_COMPARE(QApplication::focusWidget(), field);
        QTest::keyClicks(field, search);
        QCOMPARE(this->listed(), listed);
        auto *shown = control<QLabel>(u"tagsHint"_s);
        QCOMPARE(shown->isVisible() ? shown->text() : QString(), hint);

        QTest::keyClicks(m_window->editor()->textEdit(), u"#alpxyz"_s);
        m_window->saveNow();
        QVERIFY(!shown->isVisible());
        QVERIFY(this->listed().split(u' ').contains(u"alpxyz"_s));
        click(u"cancelSearchButton"_s);
        QVERIFY(!field->isVisible());
        QCOMPARE(this->listed().split(u' ').size(), search.isEmpty() ? 1 : 5);
    }

    // Counted once the window is up, then followed as notes are saved (the looks test sees them
    // dimmed at the row's end).
    void rows_countTheirNotes_andSayThemAfterTheName()
    {
        QCOMPARE(spoken(u"alpha"_s), u"alpha, 1 note"_s);
        QSignalSpy changed(list()->model(), &QAbstractItemModel::dataChanged);
        QTest::keyClicks(m_window->editor()->textEdit(), u"#alpha and #fresh"_s);
        m_window->saveNow();
        QCOMPARE(spoken(u"alpha"_s), u"alpha, 2 notes"_s);
        QCOMPARE(spoken(u"fresh"_s), u"fresh, 1 note"_s);
        // The rows on screen learn that their counts changed, and repaint.
        QVERIFY(!changed.isEmpty());
        QTest::keySequence(m_window->editor()->textEdit(), QKeySequence::SelectAll);
        QTest::keyClick(m_window->editor()->textEdit(), Qt::Key_Delete);
        m_window->saveNow();
        QCOMPARE(spoken(u"fresh"_s), u"fresh, 0 notes"_s);
    }

    // The picked tag's row stays marked in every order, until a day is picked.
    void sortMenu_putsTheListInTheChosenOrder_andThePickedRowFollows()
    {
        m_window->selection()->setSelectedTag(m_store->journal()->tags().value().at(1));
        click(u"sortButton"_s);
        choose(u"Most Recent"_s);
        QCOMPARE(listed(), u"beta alps also alpha"_s);
        click(u"sortButton"_s);
        choose(u"Z \u2192 A"_s);
        QCOMPARE(listed(), u"beta also alps alpha"_s);
        QCOMPARE(list()->selectionModel()->selectedIndexes().value(0).data().toString(), u"alps"_s);
        m_window->selection()->setSelectedDate(QDate(2026, 1, 3).startOfDay());
        QVERIFY(list()->selectionModel()->selectedIndexes().isEmpty());
    }

    void removingATag_asksFirst_andKeepsItsNotes_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("answer");
        QTest::newRow("Cancel keeps the tag")
            << u"alps"_s << u"Delete Tag \"alps\""_s << u"Cancel"_s;
        QTest::newRow("Delete removes it")
            << u"alps"_s << u"Delete Tag \"alps\""_s << u"Delete \"alps\""_s;
        QTest::newRow("A long name stretches neither the window nor the alert")
            << QString(100000, u'x') << u"Delete Tag \"%1\u2026\""_s.arg(QString(60, u'x'))
            << u"Cancel"_s;
    }

    void removingATag_asksFirst_andKeepsItsNotes()
    {
        QFETCH(QString, name);
        QFETCH(QString, entry);
        QFETCH(QString, answer);
        m_store->write(QDate(2026, 2, 1), u"#"_s + name);
        const QSize size = m_window->size();
        clickRow(name);
        QCOMPARE(m_window->selection()->selectedTag()->name, name);
        QCOMPARE(m_window->selection()->highlightedDate(), std::nullopt);
        QVERIFY(m_window->tagNotesPage());
        QApplication::processEvents();
        QCOMPARE(m_window->size(), size);
        clickRow(name, Qt::RightButton);
        choose(entry);
        QVERIFY(QApplication::activeModalWidget()->width() < size.width());
        choose(answer);
        QCOMPARE(listed().split(u' ').contains(name), answer == u"Cancel");
        QCOMPARE(lqtest::storedText(m_store->path(), u"2026-02-01"_s), u"#"_s + name);
        // A removed tag's notes are no longer shown: the editor comes back.
        QCOMPARE(m_window->editor() != nullptr, answer != u"Cancel");
    }

private:
    void openWindow()
    {
        m_window.reset();
        m_window = std::make_unique<MainWindow>(m_store->journal());
        m_window->show();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    }
    template<typename T = QAbstractButton>
    T *control(const QString &name) const
    {
        return m_window->sidebar()->findChild<T *>(name);
    }
    QListView *list() const { return control<QListView>(u"tagList"_s); }
    void click(const QString &button) { QTest::mouseClick(control(button), Qt::LeftButton); }
    QString listed() const
    {
        QStringList names;
        for (int row = 0; row < list()->model()->rowCount(); ++row)
            names.append(list()->model()->index(row, 0).data().toString());
        return names.join(u' ');
    }
    // What a screen reader says for the tag's row.
    QString spoken(const QString &name) const
    {
        const int row = int(listed().split(u' ').indexOf(name));
        return list()->model()->index(row, 0).data(Qt::AccessibleTextRole).toString();
    }
    // Through the window, as the desktop delivers it, so a context menu follows the press.
    void clickRow(const QString &name, Qt::MouseButton button = Qt::LeftButton)
    {
        const qsizetype row = listed().split(u' ').indexOf(name);
        QVERIFY2(row >= 0, qPrintable(name + u" is not listed"_s));
        const QRect rect = list()->visualRect(list()->model()->index(int(row), 0));
        const QPoint point(rect.left() + 10, rect.center().y());
        QTest::mouseClick(m_window->windowHandle(), button, {},
                          list()->viewport()->mapTo(m_window.get(), point));
    }
    // Clicks what reads text in the open menu or alert, and waits for it to close.
    void choose(const QString &text)
    {
        QTRY_VERIFY(QApplication::activePopupWidget() || QApplication::activeModalWidget());
        const QPointer<QWidget> open = QApplication::activePopupWidget()
                                           ? QApplication::activePopupWidget()
                                           : QApplication::activeModalWidget();
        if (const auto *menu = qobject_cast<QMenu *>(open.data())) {
            for (QAction *action : menu->actions()) {
                if (action->text() == text)
                    QTest::mouseClick(open, Qt::LeftButton, {},
                                      menu->actionGeometry(action).center());
            }
        }
        for (QAbstractButton *button : open->findChildren<QAbstractButton *>()) {
            if (button->text() == text)
                QTest::mouseClick(button, Qt::LeftButton);
        }
        QTRY_VERIFY2(!open || !open->isVisible(), qPrintable(text + u" was not there to choose"_s));
    }

    std::unique_ptr<lqtest::TemporaryJournal> m_store;
    std::unique_ptr<MainWindow> m_window;
};

QTEST_MAIN(SidebarTest)
#include "tst_sidebar.moc"
