#include "sidebar/SidebarView.h"

#include "ContentView.h"
#include "SelectionState.h"
#include "calendar/CustomCalendarView.h"
#include "editor/NoteEditorView.h"
#include "model/ModelContext.h"
#include "model/Note.h"
#include "model/Tag.h"
#include "tags/TagSync.h"

#include "TestEnvironment.h"

#include <QAbstractButton>
#include <QAbstractItemModelTester>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QString ascending = u"A \u2192 Z"_s;
const QString descending = u"Z \u2192 A"_s;
const QString recent = u"Most Recent"_s;
const QString deleteAlps = u"Delete \"alps\""_s;

// One note per tag, dated that many days from today, so "Most Recent" has a clear order.
const QList<std::pair<QString, int>> journal = {
    {u"alpha"_s, -9}, {u"alps"_s, -1}, {u"also"_s, -5}, {u"beta"_s, 0}};
const QString allTags = u"alpha alps also beta"_s;

QMessageBox *alert()
{
    return qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
}

} // namespace

// The sidebar as the user meets it: in the window, beside the editor or the tag browser.
class TestSidebarView : public QObject
{
    Q_OBJECT

    template<typename T = QAbstractButton>
    T *control(const QString &objectName) const
    {
        return m_window->sidebar()->findChild<T *>(objectName);
    }
    QListView *list() const { return control<QListView>(u"tagList"_s); }
    SelectionState *selection() const { return m_window->selection(); }
    void click(const QString &button) { QTest::mouseClick(control(button), Qt::LeftButton); }

    // The names on the list, in its order, separated by spaces.
    QString listed() const
    {
        QStringList names;
        for (int row = 0; row < list()->model()->rowCount(); ++row)
            names.append(list()->model()->index(row, 0).data().toString());
        return names.join(u' ');
    }

    // Through the window, as the desktop delivers it, so a context menu follows the press.
    void clickRow(const QString &name, Qt::MouseButton button = Qt::LeftButton)
    {
        const qsizetype row = listed().split(u' ').indexOf(name);
        QVERIFY2(row >= 0, qPrintable(name + u" is not listed"_s));
        const QRect rect = list()->visualRect(list()->model()->index(int(row), 0));
        QTest::mouseClick(m_window->windowHandle(), button, {},
                          list()->viewport()->mapTo(m_window.get(), rect.center()));
    }

    void typeSearch(const QString &text)
    {
        click(u"searchButton"_s);
        QTest::keyClicks(control<QLineEdit>(u"searchField"_s), text);
    }

    // Clicks what reads text in the open menu or alert, and waits for that to close.
    void choose(const QString &text)
    {
        QTRY_VERIFY(QApplication::activePopupWidget() || alert());
        QPointer<QWidget> open = QApplication::activePopupWidget();
        if (!open)
            open = alert();
        const auto *menu = qobject_cast<QMenu *>(open.data());
        for (QAction *action : menu ? menu->actions() : QList<QAction *>()) {
            if (action->text() == text)
                QTest::mouseClick(open, Qt::LeftButton, {}, menu->actionGeometry(action).center());
        }
        for (QAbstractButton *button : open->findChildren<QAbstractButton *>()) {
            if (button->text() == text)
                QTest::mouseClick(button, Qt::LeftButton);
        }
        QTRY_VERIFY2(!open || !open->isVisible(), qPrintable(text + u" was not there to choose"_s));
    }

    std::unique_ptr<lqtest::TemporaryStore> m_store;
    std::unique_ptr<ContentView> m_window;

private Q_SLOTS:
    void initTestCase() { lqtest::pinEnvironment(); }

    void init()
    {
        m_store = std::make_unique<lqtest::TemporaryStore>();
        ModelContext *context = m_store->context();
        for (const auto &[name, day] : journal) {
            const QString text = u"A day with #"_s + name + u" in it."_s;
            auto *note = new Note(QDate::currentDate().addDays(day).startOfDay(), text);
            context->insert(note);
            updateTags(context, note, text);
        }
        m_window = std::make_unique<ContentView>(context);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        new QAbstractItemModelTester(list()->model(),
                                     QAbstractItemModelTester::FailureReportingMode::QtTest,
                                     list()->model());
    }

    void cleanup()
    {
        m_window.reset();
        m_store.reset();
    }

    void search_narrowsAtEachKey_untilEnded_data()
    {
        QTest::addColumn<QString>("ending");
        QTest::addColumn<bool>("staysOpen");

        QTest::newRow("Backspace down to nothing leaves the field open") << QString() << true;
        QTest::newRow("Clear empties the field and leaves it open")
            << u"clearSearchButton"_s << true;
        QTest::newRow("Cancel empties and closes the field") << u"cancelSearchButton"_s << false;
    }

    void search_narrowsAtEachKey_untilEnded()
    {
        QFETCH(QString, ending);
        QFETCH(bool, staysOpen);
        // The heading over the sort and search buttons, over the list, all inside the sidebar.
        const auto *heading = control<QLabel>(u"tagsHeading"_s);
        QAbstractButton *sort = control(u"sortButton"_s);
        QAbstractButton *search = control(u"searchButton"_s);
        QCOMPARE(heading->text(), u"Tags"_s);
        for (const QWidget *shown : QList<const QWidget *>{heading, sort, search, list()})
            QVERIFY(shown->isVisible() && m_window->sidebar()->rect().contains(shown->geometry()));
        QVERIFY(heading->geometry().bottom() < sort->geometry().top());
        QVERIFY(sort->geometry().bottom() < list()->geometry().top());
        QVERIFY(sort->geometry().right() < search->geometry().left());

        click(u"searchButton"_s);
        auto *field = control<QLineEdit>(u"searchField"_s);
        QAbstractButton *clear = control(u"clearSearchButton"_s);
        QAbstractButton *cancel = control(u"cancelSearchButton"_s);
        QTRY_VERIFY(field->hasFocus());
        QCOMPARE(field->placeholderText(), u"Search Tags"_s);
        QVERIFY(cancel->isVisible() && m_window->sidebar()->rect().contains(cancel->geometry()));

        // Case does not matter; each key narrows the list at once.
        const QString keys = u"AlPsx"_s;
        const QStringList found = {allTags, u"alpha alps also"_s, u"alpha alps"_s, u"alps"_s, {}};
        for (qsizetype i = 0; i < keys.size(); ++i) {
            QTest::keyClick(field, keys.at(i).toLatin1());
            QCOMPARE(listed(), found.at(i));
            QVERIFY(clear->isVisible());
        }
        if (ending.isEmpty()) {
            for (qsizetype left = keys.size(); left > 0; --left)
                QTest::keyClick(field, Qt::Key_Backspace);
        } else {
            click(ending);
        }

        QCOMPARE(listed(), allTags);
        QVERIFY(field->text().isEmpty());
        QVERIFY(!clear->isVisible());
        QCOMPARE(field->isVisible(), staysOpen);
        QCOMPARE(cancel->isVisible(), staysOpen);
        QCOMPARE(search->isVisible(), !staysOpen);
    }

    void order_followsSortMenuAndStoreAtOnce_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("expected");

        QTest::newRow("Z to A lists the names backwards")
            << descending << QString() << u"beta also alps alpha"_s;
        QTest::newRow("Most Recent lists the tag of the newest note first")
            << recent << QString() << u"beta alps also alpha"_s;
        QTest::newRow("Most Recent orders what a search finds")
            << recent << u"search"_s << u"alps also alpha"_s;
        QTest::newRow("A to Z comes back from another order") << ascending << QString() << allTags;
        QTest::newRow("An inserted tag takes its place in the order")
            << ascending << u"insert"_s << u"aardvark alpha alps also beta"_s;
        QTest::newRow("A renamed tag moves to its new place")
            << ascending << u"rename"_s << u"alpha also beta zulu"_s;
        QTest::newRow("A tag linked to today's note moves up the most recent order")
            << recent << u"link"_s << u"alpha beta alps also"_s;
        QTest::newRow("A tag deleted elsewhere leaves the list")
            << descending << u"delete"_s << u"beta also alpha"_s;
    }

    void order_followsSortMenuAndStoreAtOnce()
    {
        QFETCH(QString, option);
        QFETCH(QString, change);
        QFETCH(QString, expected);
        // Start from another order, so that each row really changes it.
        click(u"sortButton"_s);
        choose(option == ascending ? recent : ascending);
        click(u"sortButton"_s);
        choose(option);
        // The menu shows the order chosen, and only that one, checked the next time it opens.
        QStringList checked;
        for (const QAction *action : control<QMenu>(u"sortMenu"_s)->actions()) {
            if (action->isChecked())
                checked.append(action->text());
        }
        QCOMPARE(checked, QStringList{option});

        ModelContext *context = m_store->context();
        if (change == u"search")
            typeSearch(u"al"_s);
        else if (change == u"insert")
            context->insert(new Tag(u"aardvark"_s, QDateTime::currentDateTime()));
        else if (change == u"rename")
            context->fetchTag(u"alps"_s).record->setName(u"zulu"_s);
        else if (change == u"link")
            context->fetchNote(QDate::currentDate())
                .record->addTag(context->fetchTag(u"alpha"_s).record);
        else if (change == u"delete")
            context->deleteTag(context->fetchTag(u"alps"_s).record);
        // Not waited for: the list follows within the same turn of the event loop.
        QCOMPARE(listed(), expected);
    }

    void deleteAlert_answerDecidesFateOfTag_data()
    {
        QTest::addColumn<bool>("selectedFirst");
        QTest::addColumn<QString>("answer");

        QTest::newRow("Cancel keeps the tag and its link") << false << u"Cancel"_s;
        QTest::newRow("Delete removes the tag but not the text") << false << deleteAlps;
        QTest::newRow("Deleting the selected tag brings back the editor") << true << deleteAlps;
    }

    void deleteAlert_answerDecidesFateOfTag()
    {
        QFETCH(bool, selectedFirst);
        QFETCH(QString, answer);
        const bool deleted = answer == deleteAlps;
        if (selectedFirst)
            clickRow(u"alps"_s);
        Tag *before = selection()->selectedTag();
        QCOMPARE(before != nullptr, selectedFirst);

        clickRow(u"alps"_s, Qt::RightButton);
        choose(u"Delete Tag \"alps\""_s);
        // A secondary click opens the menu without picking the row.
        QCOMPARE(selection()->selectedTag(), before);
        QTRY_VERIFY(alert());
        QCOMPARE(alert()->text(),
                 u"Are you sure you want to delete the tag \"alps\"? This cannot be undone."_s);
        // Return and Escape both answer Cancel.
        const QAbstractButton *byDefault = alert()->defaultButton();
        QVERIFY(byDefault && byDefault->text() == u"Cancel"_s);
        QCOMPARE(alert()->escapeButton(), byDefault);
        choose(answer);

        QCOMPARE(listed(), deleted ? u"alpha also beta"_s : allTags);
        if (selectedFirst) {
            QCOMPARE(selection()->selectedTag(), nullptr);
            QVERIFY(list()->selectionModel()->selectedIndexes().isEmpty());
            QTRY_VERIFY(m_window->editor() && m_window->editor()->isVisible());
        }

        m_window.reset();
        m_store->reopen();
        ModelContext *context = m_store->context();
        QCOMPARE(context->fetchTag(u"alps"_s).record == nullptr, deleted);
        const Note *note = context->fetchNote(QDate::currentDate().addDays(-1)).record;
        QVERIFY(note && note->content().contains(u"#alps"_s));
        QCOMPARE(note->tags().isEmpty(), deleted);
    }

    void rowSelection_followsSelectedTag()
    {
        QVERIFY(selection()->highlightedDate());
        clickRow(u"beta"_s);
        Tag *beta = selection()->selectedTag();
        QVERIFY(beta && beta->name() == u"beta"_s);
        QCOMPARE(selection()->highlightedDate(), std::nullopt);
        QSignalSpy picks(selection(), &SelectionState::selectedTagChanged);
        clickRow(u"beta"_s);

        // A search that hides the selected row keeps the tag, and marks its row on return.
        typeSearch(u"al"_s);
        QVERIFY(!listed().contains(u"beta"_s));
        click(u"cancelSearchButton"_s);
        QCOMPARE(picks.count(), 0);
        QCOMPARE(selection()->selectedTag(), beta);
        const QModelIndexList selected = list()->selectionModel()->selectedIndexes();
        QCOMPARE(selected.size(), 1);
        QCOMPARE(selected.first().data().toString(), u"beta"_s);

        // Picking a day in the calendar ends the tag's selection.
        const QDate today = QDate::currentDate();
        const QDate other(today.year(), today.month(), today.day() == 15 ? 16 : 15);
        CustomCalendarView *calendar = m_window->sidebar()->calendar();
        const QPoint cell = calendar->dayCellRect(other).center();
        QWidget *target = calendar->childAt(cell);
        QVERIFY(target);
        QTest::mouseClick(target, Qt::LeftButton, {}, target->mapFrom(calendar, cell));
        QTRY_COMPARE(selection()->selectedTag(), nullptr);
        QVERIFY(list()->selectionModel()->selectedIndexes().isEmpty());
    }
};

QTEST_MAIN(TestSidebarView)
#include "tst_sidebarview.moc"
