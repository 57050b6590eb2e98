// The month calendar, clicked as a user would: picking days, stepping months, picking a month
// and year, TODAY, and the markers of the days that have notes.

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

    void cleanup()
    {
        m_calendar.reset();
        m_selection.reset();
        m_store.reset();
    }

    void clickingADay_selectsAndHighlightsItsStart()
    {
        QCOMPARE(title(), u"March 2026"_s);
        click(QDate(2026, 3, 29));
        QCOMPARE(m_selection->selectedDate(), QDate(2026, 3, 29).startOfDay());
        QCOMPARE(m_selection->highlightedDate(), std::optional(QDate(2026, 3, 29).startOfDay()));
        // A grey day of the next month is picked without leaving the month shown.
        click(QDate(2026, 4, 2));
        QCOMPARE(m_selection->selectedDate(), QDate(2026, 4, 2).startOfDay());
        QCOMPARE(title(), u"March 2026"_s);
        // An accent that its highlighted text can be read on is drawn as it is.
        QPalette readable = m_calendar->palette();
        readable.setColor(QPalette::Highlight, QColor(0x1c, 0x5f, 0xa8));
        m_calendar->setPalette(readable);
        const QImage cell = m_calendar->dayCell(QDate(2026, 4, 2))->grab().toImage();
        QCOMPARE(cell.pixelColor(2, cell.height() / 2),
                 m_calendar->palette().color(QPalette::Highlight));
    }

    void chevronsAndToday_changeTheMonthShown()
    {
        click(u"nextMonthButton"_s);
        QCOMPARE(title(), u"April 2026"_s);
        click(u"previousMonthButton"_s);
        click(u"previousMonthButton"_s);
        QCOMPARE(title(), u"February 2026"_s);
        QCOMPARE(m_selection->selectedDate().date(), QDate(2026, 3, 10));

        // Stepping by day from the keyboard leaves the month when the day does.
        QTest::keyClick(m_calendar.get(), Qt::Key_PageDown, Qt::ControlModifier);
        QCOMPARE(m_selection->selectedDate(), QDate(2026, 3, 11).startOfDay());
        m_selection->setSelectedDate(QDate(2026, 3, 1).startOfDay());
        QTest::keyClick(m_calendar.get(), Qt::Key_PageUp, Qt::ControlModifier);
        QCOMPARE(m_selection->highlightedDate(), std::optional(QDate(2026, 2, 28).startOfDay()));
        QCOMPARE(title(), u"February 2026"_s);

        const QDateTime before = QDateTime::currentDateTime();
        click(u"todayButton"_s);
        QCOMPARE(m_calendar->displayMonth(), QDate(before.date().year(), before.date().month(), 1));
        QVERIFY(m_selection->selectedDate() >= before);
        QCOMPARE(m_selection->highlightedDate(), std::optional(m_selection->selectedDate()));
    }

    void monthTitle_opensAPickerOfYearsAndMonths_data()
    {
        QTest::addColumn<bool>("byKeys");
        QTest::addColumn<bool>("cancelled");
        QTest::addColumn<QDate>("month");
        QTest::addColumn<QString>("shown");
        QTest::newRow("A click on the title, a year and a month shows that month")
            << false << false << QDate(2016, 7, 1) << u"July 2016"_s;
        QTest::newRow("Enter on the title and keys alone show the month picked")
            << true << false << QDate(2016, 9, 1) << u"September 2016"_s;
        QTest::newRow("Escape closes the picker and leaves the month as it was")
            << false << true << QDate(2026, 3, 1) << u"March 2026"_s;
    }

    void monthTitle_opensAPickerOfYearsAndMonths()
    {
        QFETCH(bool, byKeys);
        QFETCH(bool, cancelled);
        QFETCH(QDate, month);
        QFETCH(QString, shown);
        auto *titleButton = m_calendar->findChild<QAbstractButton *>(u"monthTitle"_s);
        if (byKeys)
            QTest::keyClick(titleButton, Qt::Key_Return);
        else
            QTest::mouseClick(titleButton, Qt::LeftButton);
        QTRY_VERIFY(QApplication::activePopupWidget());
        const QPointer<QWidget> picker = QApplication::activePopupWidget();
        auto *years = picker->findChild<QListWidget *>(u"yearList"_s);
        auto *months = picker->findChild<QTableWidget *>(u"monthGrid"_s);
        QVERIFY(years && months);
        if (byKeys) {
            // Ten years up from 2026, Enter on to the months, and two rows down from March.
            for (int year = 0; year < 10; ++year)
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
            for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Down, Qt::Key_Down, Qt::Key_Return})
                QTest::keyClick(QApplication::focusWidget(), key);
        } else {
            QListWidgetItem *year = years->findItems(u"2016"_s, Qt::MatchExactly).value(0);
            QVERIFY(year);
            years->scrollToItem(year);
            QTest::mouseClick(years->viewport(), Qt::LeftButton, {},
                              years->visualItemRect(year).center());
            if (cancelled) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
            } else {
                QTableWidgetItem *july = months->findItems(u"Jul"_s, Qt::MatchExactly).value(0);
                QTest::mouseClick(months->viewport(), Qt::LeftButton, {},
                                  months->visualItemRect(july).center());
            }
        }
        QTRY_VERIFY(!picker || !picker->isVisible());
        QCOMPARE(title(), shown);
        QCOMPARE(m_calendar->displayMonth(), month);
        QVERIFY(m_calendar->dayCell(month.addDays(month.daysInMonth() - 1)));
        // Like the chevrons, it only changes the month on screen.
        QCOMPARE(m_selection->selectedDate(), QDateTime(QDate(2026, 3, 10), QTime(15, 0)));
    }

    void markers_showTheDaysWithNotes_onEveryCellShown()
    {
        // March 2026 is shown from Monday 23 February to Sunday 5 April.
        for (const QDate day : {QDate(2026, 2, 23), QDate(2026, 3, 15), QDate(2026, 4, 5)}) {
            QVERIFY2(showsMarker(day), qPrintable(day.toString(Qt::ISODate)));
            QVERIFY(m_calendar->dayCell(day)->accessibleName().endsWith(u", has a note"_s));
        }
        QVERIFY(!showsMarker(QDate(2026, 3, 16)));
        QCOMPARE(m_calendar->dayCell(QDate(2026, 4, 6)), nullptr);

        // A day opened for the first time gains its marker at once.
        QVERIFY(m_store->journal()->noteForDay(QDate(2026, 3, 16)));
        QVERIFY(showsMarker(QDate(2026, 3, 16)));
        click(u"nextMonthButton"_s);
        QVERIFY(showsMarker(QDate(2026, 4, 6)));
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
    // Whether the cell shows a dot of the accent colour under its number.
    bool showsMarker(QDate day) const;

    std::unique_ptr<lqtest::TemporaryJournal> m_store;
    std::unique_ptr<SelectionState> m_selection;
    std::unique_ptr<MonthCalendar> m_calendar;
};

bool CalendarTest::showsMarker(QDate day) const
{
    DayCell *cell = m_calendar->dayCell(day);
    const QImage image = cell->grab().toImage();
    const QColor accent = cell->palette().color(QPalette::Highlight);
    for (int y = image.height() / 2; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) == accent)
                return true;
        }
    }
    return false;
}

QTEST_MAIN(CalendarTest)
#include "tst_calendar.moc"
