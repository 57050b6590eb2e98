// The window from the keyboard and through a screen reader: its keys, the calendar's days as one
// stop of the Tab order, each pane's Tab order and names, and the list of keys under Help.

#include "TestEnvironment.h"

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

using namespace Qt::StringLiterals;

namespace {

const QDate march10(2026, 3, 10);

// Every control under iface that a screen reader presents, by its role, without a name.
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
        QApplication::setQuitOnLastWindowClosed(false);
    }
    void init()
    {
        m_window.reset();
        m_store = std::make_unique<lqtest::TemporaryJournal>();
        m_store->write(march10.addDays(-1),
                       u"  Walk by the river\nCold, #outside\n\nHome late\n"_s);
        m_window = std::make_unique<MainWindow>(m_store->journal());
        m_window->show();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        // March shown, as the keys would show it.
        calendar()->selectDay(march10.addDays(-1));
        calendar()->stepDay(1);
        QTRY_COMPARE(QApplication::focusWidget(), text());
    }

    // Each row's name is its keys.
    void windowKeys_workFromTheText_data()
    {
        QTest::addColumn<int>("days");      // from March 10 to the day picked afterwards
        QTest::addColumn<int>("months");    // from the picked day's month to the month shown
        QTest::addColumn<QString>("focus"); // none: the window has closed
        for (const char *key : {"Ctrl+PgUp", "Alt+Left"})
            QTest::newRow(key) << -1 << 0 << u"noteText"_s;
        for (const char *key : {"Ctrl+PgDown", "Alt+Right"})
            QTest::newRow(key) << 1 << 0 << u"noteText"_s;
        QTest::newRow("Ctrl+T") << int(march10.daysTo(QDate::currentDate())) << 0 << u"noteText"_s;
        for (const char *key : {"Alt+Up", "Ctrl+Shift+PgUp"})
            QTest::newRow(key) << 0 << -1 << u"noteText"_s;
        for (const char *key : {"Alt+Down", "Ctrl+Shift+PgDown"})
            QTest::newRow(key) << 0 << 1 << u"noteText"_s;
        QTest::newRow("Ctrl+Shift+F") << 0 << 0 << u"searchField"_s;
        QTest::newRow("Ctrl+W") << 0 << 0 << QString();
        QTest::newRow("Ctrl+Q") << 0 << 0 << QString();
    }

    void windowKeys_workFromTheText()
    {
        QFETCH(int, days);
        QFETCH(int, months);
        QFETCH(QString, focus);
        QTest::keySequence(text(),
                           QKeySequence::fromString(QLatin1String(QTest::currentDataTag())));
        if (focus.isEmpty()) {
            QTRY_VERIFY(!m_window->isVisible());
            return;
        }
        const QDate picked = march10.addDays(days);
        QCOMPARE(m_window->selection()->selectedDate().date(), picked);
        QCOMPARE(calendar()->displayMonth(),
                 QDate(picked.year(), picked.month(), 1).addMonths(months));
        QTRY_COMPARE(QApplication::focusWidget()->objectName(), focus);
    }

    // Each row's name is the keys pressed on the picked day, March 10.
    void calendarDays_takeTheKeyboardAsOne_data()
    {
        QTest::addColumn<QDate>("focused");
        QTest::addColumn<bool>("opened");
        QTest::newRow("Right") << QDate(2026, 3, 11) << false;
        QTest::newRow("Left") << QDate(2026, 3, 9) << false;
        QTest::newRow("Down") << QDate(2026, 3, 17) << false;
        QTest::newRow("Up, Up") << QDate(2026, 2, 24) << false;
        QTest::newRow("PgDown") << QDate(2026, 4, 10) << false;
        // February shows its 10th in the cell that showed March's.
        QTest::newRow("PgUp") << QDate(2026, 2, 10) << false;
        QTest::newRow("Right, Return") << QDate(2026, 3, 11) << true;
        QTest::newRow("Down, Space") << QDate(2026, 3, 17) << true;
    }

    void calendarDays_takeTheKeyboardAsOne()
    {
        QFETCH(QDate, focused);
        QFETCH(bool, opened);
        calendar()->findChild<QWidget *>(u"nextMonthButton"_s)->setFocus(Qt::TabFocusReason);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), calendar()->dayCell(march10));
        const QKeySequence keys = QKeySequence::fromString(QLatin1String(QTest::currentDataTag()));
        for (int i = 0; i < keys.count(); ++i)
            QTest::keyClick(QApplication::focusWidget(), keys[i].key());
        QCOMPARE(calendar()->displayMonth(), QDate(focused.year(), focused.month(), 1));
        QCOMPARE(m_window->selection()->selectedDate().date(), opened ? focused : march10);
        if (opened) {
            // As after a click, the keyboard goes on to the text.
            QTRY_COMPARE(QApplication::focusWidget(), text());
            return;
        }
        // The one stop of the Tab order, what a screen reader is told has the focus, and
        // ringed in the accent colour.
        DayCell *cell = calendar()->dayCell(focused);
        QCOMPARE(QApplication::focusWidget(), cell);
        const QList<DayCell *> cells = calendar()->findChildren<DayCell *>();
        QCOMPARE(std::count_if(cells.cbegin(), cells.cend(),
                               [](DayCell *day) { return day->focusPolicy() != Qt::NoFocus; }),
                 1);
        QVERIFY(QAccessible::queryAccessibleInterface(cell)
                    ->text(QAccessible::Name)
                    .startsWith(focused.toString(u"MMMM d, yyyy"_s)));
        QCOMPARE(cell->grab().toImage().pixelColor(1, cell->height() / 2),
                 cell->palette().color(QPalette::Highlight));
    }

    void everyPane_isReachedByTab_andNamed_data()
    {
        QTest::addColumn<QString>("pane");
        QTest::newRow("The editor") << u"noteText"_s;
        QTest::newRow("A tag's notes") << u"noteCardGrid"_s;
        QTest::newRow("The note search") << u"noteSearchField searchResults"_s;
    }

    void everyPane_isReachedByTab_andNamed()
    {
        QFETCH(QString, pane);
        if (pane == u"noteCardGrid")
            m_window->selection()->setSelectedTag(m_store->journal()->tags().value().first());
        else if (pane.startsWith(u"noteSearchField"))
            m_window->openSearch();
        const QStringList order = QString(u"monthTitle previousMonthButton todayButton "
                                          u"nextMonthButton dayCell sortButton searchButton "
                                          u"tagList "_s +
                                          pane + u" noteSearchButton monthTitle"_s)
                                      .split(u' ');
        calendar()->findChild<QWidget *>(u"monthTitle"_s)->setFocus(Qt::TabFocusReason);
        QStringList visited;
        while (visited.size() < order.size()) {
            QWidget *focused = QApplication::focusWidget();
            visited.append(focused->objectName());
            // Tab writes a tab into the text; Ctrl+Tab goes on from there.
            QTest::keyClick(focused, Qt::Key_Tab,
                            focused == text() ? Qt::ControlModifier : Qt::NoModifier);
        }
        QCOMPARE(visited, order);

        QAccessibleInterface *root = QAccessible::queryAccessibleInterface(m_window.get());
        QCOMPARE(root->text(QAccessible::Name), u"journal"_s);
        QStringList unnamed;
        findUnnamed(root, unnamed);
        QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(u", "_s)));
        if (auto *grid = m_window->findChild<NoteCardGrid *>()) {
            // A card is heard as its first line, then the rest of the text and its day.
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
             {u"Search Notes = Ctrl+F"_s, u"Find Tag = Ctrl+Shift+F"_s,
              u"Previous Day = Ctrl+PgUp, Alt+Left"_s, u"Later & Sooner = Ctrl+Alt+L"_s,
              u"Month before / after = PgUp / PgDown"_s, u"Open the day = Enter / Space"_s})
            QVERIFY2(rows.contains(row), qPrintable(row + u" not in:\n"_s + rows.join(u'\n')));
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
