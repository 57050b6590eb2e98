// The month calendar, clicked as a user would: days, chevrons, TODAY, the month picker, and the
// markers of the days that have notes.

#include "TestEnvironment.h"

#include "app/SelectionState.h"
#include "app/calendar/DayCell.h"
#include "app/calendar/MonthCalendar.h"
#include "core/Journal.h"

#include <QApplication>
#include <QListWidget>
#include <QPointer>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

using namespace Qt::StringLiterals;

class CalendarTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { lqtest::pinEnvironment(); }
    void init()
    {
        m_calendar.reset();
        m_store = std::make_unique<lqtest::TemporaryJournal>();
        for (const QDate day :
             {QDate(2026, 2, 23), QDate(2026, 3, 15), QDate(2026, 4, 5), QDate(2026, 4, 6)})
            QVERIFY(m_store->journal()->noteForDay(day));
        m_selection = std::make_unique<SelectionState>();
        m_selection->setSelectedDate(QDateTime(QDate(2026, 3, 10), QTime(15, 0)));
        m_calendar = std::make_unique<MonthCalendar>(m_store->journal(), m_selection.get());
        m_calendar->resize(250, m_calendar->sizeHint().height());
        m_calendar->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_calendar.get()));
    }

    // A click picks a day, even a grey one of the next month; the chevrons only turn the
    // month shown, a day step shows the day's month, and TODAY picks and shows today.
    void clicks_pickDays_andTurnMonths()
    {
        click(QDate(2026, 3, 29));
        QCOMPARE(m_selection->highlightedDate(), std::optional(QDate(2026, 3, 29).startOfDay()));
        click(QDate(2026, 4, 2));
        QCOMPARE(m_selection->selectedDate(), QDate(2026, 4, 2).startOfDay());
        QCOMPARE(title(), u"March 2026"_s);
        // An accent that its highlighted text can be read on is drawn as it is.
        QPalette readable = m_calendar->palette();
        readable.setColor(QPalette::Highlight, QColor(0x1c, 0x5f, 0xa8));
        m_calendar->setPalette(readable);
        const QImage cell = m_calendar->dayCell(QDate(2026, 4, 2))->grab().toImage();
        QCOMPARE(cell.pixelColor(2, cell.height() / 2), readable.color(QPalette::Highlight));

        click(u"nextMonthButton"_s);
        QCOMPARE(title(), u"April 2026"_s);
        click(u"previousMonthButton"_s);
        click(u"previousMonthButton"_s);
        QCOMPARE(title(), u"February 2026"_s);
        QCOMPARE(m_selection->selectedDate(), QDate(2026, 4, 2).startOfDay());
        QTest::keyClick(m_calendar.get(), Qt::Key_PageUp, Qt::ControlModifier);
        QCOMPARE(m_selection->highlightedDate(), std::optional(QDate(2026, 4, 1).startOfDay()));
        QCOMPARE(title(), u"April 2026"_s);

        click(u"todayButton"_s);
        const QDate today = m_selection->selectedDate().date();
        QCOMPARE(today, QDate::currentDate());
        QCOMPARE(m_selection->highlightedDate(), std::optional(m_selection->selectedDate()));
        QCOMPARE(m_calendar->displayMonth(), QDate(today.year(), today.month(), 1));
    }

    // Each row's name is how the month is picked; like the chevrons, it leaves the day picked.
    void monthPicker_showsTheMonthPicked_data()
    {
        QTest::addColumn<QDate>("month");
        QTest::newRow("clicks on 2016 and Jul") << QDate(2016, 7, 1);
        QTest::newRow("Enter, ten years up, Enter, two rows down, Enter") << QDate(2016, 9, 1);
        QTest::newRow("a click on 2016, then Escape") << QDate(2026, 3, 1);
    }

    void monthPicker_showsTheMonthPicked()
    {
        QFETCH(QDate, month);
        const QByteArray how = QTest::currentDataTag();
        auto *titleButton = m_calendar->findChild<QAbstractButton *>(u"monthTitle"_s);
        if (how.startsWith("Enter"))
            QTest::keyClick(titleButton, Qt::Key_Return);
        else
            QTest::mouseClick(titleButton, Qt::LeftButton);
        QTRY_VERIFY(QApplication::activePopupWidget());
        const QPointer<QWidget> picker = QApplication::activePopupWidget();
        if (how.startsWith("Enter")) {
            for (int year = 0; year < 10; ++year)
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
            for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Down, Qt::Key_Down, Qt::Key_Return})
                QTest::keyClick(QApplication::focusWidget(), key);
        } else {
            auto *years = picker->findChild<QListWidget *>(u"yearList"_s);
            QListWidgetItem *year = years->findItems(u"2016"_s, Qt::MatchExactly).value(0);
            years->scrollToItem(year);
            QTest::mouseClick(years->viewport(), Qt::LeftButton, {},
                              years->visualItemRect(year).center());
            auto *months = picker->findChild<QTableWidget *>(u"monthGrid"_s);
            QTableWidgetItem *july = months->findItems(u"Jul"_s, Qt::MatchExactly).value(0);
            if (how.endsWith("Escape"))
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
            else
                QTest::mouseClick(months->viewport(), Qt::LeftButton, {},
                                  months->visualItemRect(july).center());
        }
        QTRY_VERIFY(!picker || !picker->isVisible());
        QCOMPARE(m_calendar->displayMonth(), month);
        QCOMPARE(m_selection->selectedDate(), QDateTime(QDate(2026, 3, 10), QTime(15, 0)));
    }

    // As a screen reader hears them; the looks test sees that they are drawn.
    void markers_showTheDaysWithNotes_onEveryCellShown()
    {
        // March 2026 is shown from Monday 23 February to Sunday 5 April.
        for (const QDate day : {QDate(2026, 2, 23), QDate(2026, 3, 15), QDate(2026, 4, 5)})
            QVERIFY2(hasMarker(day), qPrintable(day.toString(Qt::ISODate)));
        QVERIFY(!hasMarker(QDate(2026, 3, 16)));
        QCOMPARE(m_calendar->dayCell(QDate(2026, 4, 6)), nullptr);
        // A day opened for the first time gains its marker at once.
        QVERIFY(m_store->journal()->noteForDay(QDate(2026, 3, 16)));
        QVERIFY(hasMarker(QDate(2026, 3, 16)));
        click(u"nextMonthButton"_s);
        QVERIFY(hasMarker(QDate(2026, 4, 6)));
    }

private:
    void click(QDate day) { QTest::mouseClick(m_calendar->dayCell(day), Qt::LeftButton); }
    void click(const QString &button)
    {
        QTest::mouseClick(m_calendar->findChild<QToolButton *>(button), Qt::LeftButton);
    }
    QString title() const
    {
        return m_calendar->findChild<QAbstractButton *>(u"monthTitle"_s)->text();
    }
    bool hasMarker(QDate day) const
    {
        return m_calendar->dayCell(day)->accessibleName().endsWith(u", has a note"_s);
    }

    std::unique_ptr<lqtest::TemporaryJournal> m_store;
    std::unique_ptr<SelectionState> m_selection;
    std::unique_ptr<MonthCalendar> m_calendar;
};

QTEST_MAIN(CalendarTest)
#include "tst_calendar.moc"
