// The window from the keyboard and through a screen reader: the window-wide keys pressed
// with the keyboard in the text, the calendar's days as one stop of the Tab order, the Tab
// order and the accessible names of each pane, and the list of keys under Help.

#include "TestEnvironment.h"

#include "app/JournalMenu.h"
#include "app/MainWindow.h"
#include "app/SelectionState.h"
#include "app/ShortcutsDialog.h"
#include "app/calendar/DayCell.h"
#include "app/calendar/MonthCalendar.h"
#include "app/editor/NoteTextEdit.h"
#include "app/sidebar/Sidebar.h"
#include "app/tagbrowser/NoteCardGrid.h"
#include "core/Journal.h"

#include <QAccessible>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTreeWidget>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const QDate march9(2026, 3, 9);
const QDate march10(2026, 3, 10);

// Every control below iface that a screen reader presents, by role, without a name.
void findUnnamed(QAccessibleInterface *iface, QStringList &unnamed)
{
    static const QList<QAccessible::Role> named = {
        QAccessible::Button,       QAccessible::PushButton, QAccessible::ButtonMenu,
        QAccessible::EditableText, QAccessible::List,       QAccessible::ListItem,
        QAccessible::Cell,         QAccessible::ComboBox,   QAccessible::CheckBox};
    if (iface->state().invisible)
        return;
    if (named.contains(iface->role()) && iface->text(QAccessible::Name).trimmed().isEmpty())
        unnamed.append(iface->object() ? iface->object()->objectName() : u"item"_s);
    for (int i = 0; i < iface->childCount(); ++i)
        findUnnamed(iface->child(i), unnamed);
}

} // namespace

class AccessTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        lqtest::pinEnvironment();
        // Closing the window is tested; the test goes on after it.
        QApplication::setQuitOnLastWindowClosed(false);
    }
    void init()
    {
        m_store = std::make_unique<lqtest::TemporaryJournal>();
        Journal *journal = m_store->journal();
        journal->setText(journal->noteForDay(march9).value(),
                         u"  Walk by the river\nCold, #outside\n\nHome late\n"_s);
        m_window = std::make_unique<MainWindow>(journal);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        // March shown, as the keys would show it.
        calendar()->selectDay(march9);
        calendar()->stepDay(1);
        QTRY_COMPARE(QApplication::focusWidget(), text());
    }
    void cleanup()
    {
        m_window.reset();
        m_store.reset();
    }

    void windowKeys_workFromTheText_data()
    {
        QTest::addColumn<QKeySequence>("keys");
        QTest::addColumn<QDate>("picked");
        QTest::addColumn<QDate>("month");
        QTest::addColumn<QString>("focus"); // empty: the window has closed
        const QDate march(2026, 3, 1);
        const QDate today = QDate::currentDate();
        const auto row = [](const char *name, QKeyCombination key) -> QTestData & {
            return QTest::newRow(name) << QKeySequence(key);
        };
        row("Ctrl+PgUp", Qt::CTRL | Qt::Key_PageUp) << march9 << march << u"noteText"_s;
        row("Alt+Left", Qt::ALT | Qt::Key_Left) << march9 << march << u"noteText"_s;
        row("Ctrl+PgDown", Qt::CTRL | Qt::Key_PageDown)
            << march10.addDays(1) << march << u"noteText"_s;
        row("Alt+Right", Qt::ALT | Qt::Key_Right) << march10.addDays(1) << march << u"noteText"_s;
        row("Ctrl+T", Qt::CTRL | Qt::Key_T)
            << today << QDate(today.year(), today.month(), 1) << u"noteText"_s;
        row("Alt+Up", Qt::ALT | Qt::Key_Up) << march10 << march.addMonths(-1) << u"noteText"_s;
        row("Ctrl+Shift+PgUp", Qt::CTRL | Qt::SHIFT | Qt::Key_PageUp)
            << march10 << march.addMonths(-1) << u"noteText"_s;
        row("Alt+Down", Qt::ALT | Qt::Key_Down) << march10 << march.addMonths(1) << u"noteText"_s;
        row("Ctrl+Shift+PgDown", Qt::CTRL | Qt::SHIFT | Qt::Key_PageDown)
            << march10 << march.addMonths(1) << u"noteText"_s;
        row("Ctrl+Shift+F", Qt::CTRL | Qt::SHIFT | Qt::Key_F)
            << march10 << march << u"searchField"_s;
        row("Ctrl+W", Qt::CTRL | Qt::Key_W) << march10 << march << QString();
        row("Ctrl+Q", Qt::CTRL | Qt::Key_Q) << march10 << march << QString();
    }

    void windowKeys_workFromTheText()
    {
        QFETCH(QKeySequence, keys);
        QFETCH(QDate, picked);
        QFETCH(QDate, month);
        QFETCH(QString, focus);
        QTest::keyClicks(text(), u"Typed"_s);
        QTest::keySequence(text(), keys);
        if (focus.isEmpty()) {
            QTRY_VERIFY(!m_window->isVisible());
            // Saved on the way out, not half a second later.
            QCOMPARE(lqtest::storedText(m_store->path(), u"2026-03-10"_s), u"Typed"_s);
            return;
        }
        QCOMPARE(m_window->selection()->selectedDate().date(), picked);
        QCOMPARE(calendar()->displayMonth(), month);
        QTRY_COMPARE(QApplication::focusWidget()->objectName(), focus);
    }

    void calendarDays_takeTheKeyboardAsOne_data()
    {
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<QDate>("focused");
        QTest::addColumn<QDate>("picked");
        QTest::newRow("Right") << QList<int>{Qt::Key_Right} << QDate(2026, 3, 11) << march10;
        QTest::newRow("Left") << QList<int>{Qt::Key_Left} << march9 << march10;
        QTest::newRow("Down") << QList<int>{Qt::Key_Down} << QDate(2026, 3, 17) << march10;
        QTest::newRow("Up twice, into February")
            << QList<int>{Qt::Key_Up, Qt::Key_Up} << QDate(2026, 2, 24) << march10;
        QTest::newRow("Page Down") << QList<int>{Qt::Key_PageDown} << QDate(2026, 4, 10) << march10;
        // February shows the 10th in the cell that showed March's.
        QTest::newRow("Page Up") << QList<int>{Qt::Key_PageUp} << QDate(2026, 2, 10) << march10;
        QTest::newRow("Right, Enter") << QList<int>{Qt::Key_Right, Qt::Key_Return}
                                      << QDate(2026, 3, 11) << QDate(2026, 3, 11);
        QTest::newRow("Down, Space")
            << QList<int>{Qt::Key_Down, Qt::Key_Space} << QDate(2026, 3, 17) << QDate(2026, 3, 17);
    }

    void calendarDays_takeTheKeyboardAsOne()
    {
        QFETCH(QList<int>, keys);
        QFETCH(QDate, focused);
        QFETCH(QDate, picked);
        auto *next = calendar()->findChild<QWidget *>(u"nextMonthButton"_s);
        next->setFocus(Qt::TabFocusReason);
        QTest::keyClick(next, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), calendar()->dayCell(march10));
        for (const int key : keys)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
        QCOMPARE(calendar()->focusDay(), focused);
        QCOMPARE(calendar()->displayMonth(), QDate(focused.year(), focused.month(), 1));
        QCOMPARE(m_window->selection()->selectedDate().date(), picked);
        if (picked != march10) {
            // Opened like a click: the keyboard goes on to the text.
            QTRY_COMPARE(QApplication::focusWidget(), text());
            return;
        }
        DayCell *cell = calendar()->dayCell(focused);
        // What a screen reader is told has the focus.
        QCOMPARE(QApplication::focusWidget(), cell);
        QVERIFY(QAccessible::queryAccessibleInterface(cell)
                    ->text(QAccessible::Name)
                    .startsWith(focused.toString(u"MMMM d, yyyy"_s)));
        const QList<DayCell *> cells = calendar()->findChildren<DayCell *>();
        QCOMPARE(std::count_if(cells.cbegin(), cells.cend(),
                               [](DayCell *day) { return day->focusPolicy() != Qt::NoFocus; }),
                 1);
        QCOMPARE(cell->grab().toImage().pixelColor(1, cell->height() / 2),
                 cell->palette().color(QPalette::Highlight));
    }

    void everyPane_isReachedByTab_andNamed_data()
    {
        QTest::addColumn<QString>("pane");
        QTest::addColumn<QStringList>("order");
        const QStringList sidebar = {
            u"monthTitle"_s, u"previousMonthButton"_s, u"todayButton"_s,  u"nextMonthButton"_s,
            u"dayCell"_s,    u"sortButton"_s,          u"searchButton"_s, u"tagList"_s};
        QTest::newRow("The editor")
            << u"editor"_s << sidebar + QStringList{u"noteText"_s, u"noteSearchButton"_s};
        QTest::newRow("A tag's notes")
            << u"tag"_s << sidebar + QStringList{u"noteCardGrid"_s, u"noteSearchButton"_s};
        QTest::newRow("The note search")
            << u"search"_s
            << sidebar +
                   QStringList{u"noteSearchField"_s, u"searchResults"_s, u"noteSearchButton"_s};
    }

    void everyPane_isReachedByTab_andNamed()
    {
        QFETCH(QString, pane);
        QFETCH(QStringList, order);
        if (pane == u"tag")
            m_window->selection()->setSelectedTag(m_store->journal()->tags().value().first());
        else if (pane == u"search")
            m_window->openSearch();
        QWidget *title = calendar()->findChild<QWidget *>(u"monthTitle"_s);
        title->setFocus(Qt::TabFocusReason);
        QStringList visited;
        while (visited.size() <= order.size()) {
            QWidget *focused = QApplication::focusWidget();
            visited.append(focused->objectName());
            // Tab writes a tab into the text; Ctrl+Tab goes on from there.
            QTest::keyClick(focused, Qt::Key_Tab,
                            focused == text() ? Qt::ControlModifier : Qt::NoModifier);
        }
        QCOMPARE(visited, order + QStringList{u"monthTitle"_s});

        QAccessibleInterface *root = QAccessible::queryAccessibleInterface(m_window.get());
        QCOMPARE(root->role(), QAccessible::Window);
        QCOMPARE(root->text(QAccessible::Name), u"journal"_s);
        QStringList unnamed;
        findUnnamed(root, unnamed);
        QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(u", "_s)));
        if (pane == u"tag") {
            // A card is heard as its first line, then the rest of the text and its day.
            auto *grid = m_window->findChild<NoteCardGrid *>();
            QAccessibleInterface *card = QAccessible::queryAccessibleInterface(grid)->child(0);
            QCOMPARE(card->text(QAccessible::Name), u"Walk by the river"_s);
            QCOMPARE(card->text(QAccessible::Description),
                     u"Cold, #outside\n\nHome late\nMarch 9, 2026"_s);
        }
    }

    void shortcutsDialog_listsTheWindowsKeys()
    {
        // Added after the window was built, as any later command would be.
        auto *later = new QAction(u"&Later && Sooner"_s, m_window.get());
        later->setShortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_L));
        m_window->addAction(later);
        m_window->menuBar()->findChild<QMenu *>(u"helpMenu"_s)->actions().first()->trigger();
        ShortcutsDialog *dialog = nullptr;
        QTRY_VERIFY((dialog = m_window->findChild<ShortcutsDialog *>()) && dialog->isVisible());
        QStringList rows;
        for (QTreeWidgetItemIterator row(dialog->list()); *row; ++row)
            rows.append((*row)->text(0) + u" = "_s + (*row)->text(1));
        for (const QString &row :
             {u"Search Notes = Ctrl+F"_s, u"Quit = Ctrl+Q"_s, u"Today = Ctrl+T"_s,
              u"Previous Day = Ctrl+PgUp, Alt+Left"_s, u"Next Day = Ctrl+PgDown, Alt+Right"_s,
              u"Previous Month = Alt+Up, Ctrl+Shift+PgUp"_s,
              u"Next Month = Alt+Down, Ctrl+Shift+PgDown"_s, u"Find Tag = Ctrl+Shift+F"_s,
              u"Later & Sooner = Ctrl+Alt+L"_s, u"Day before / after = Left / Right"_s,
              u"Week before / after = Up / Down"_s, u"Month before / after = PgUp / PgDown"_s,
              u"Open the day = Enter / Space"_s})
            QVERIFY2(rows.contains(row), qPrintable(row + u" not in:\n"_s + rows.join(u'\n')));
        QVERIFY(rows.filter(u"Close Window = "_s).value(0).contains(u"Ctrl+W"_s));
    }

private:
    MonthCalendar *calendar() const { return m_window->sidebar()->calendar(); }
    NoteTextEdit *text() const
    {
        return m_window->editor() ? m_window->editor()->textEdit() : nullptr;
    }

    std::unique_ptr<lqtest::TemporaryJournal> m_store;
    std::unique_ptr<MainWindow> m_window;
};

QTEST_MAIN(AccessTest)
#include "tst_access.moc"
