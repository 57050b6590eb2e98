#include "calendar/MonthGrid.h"

#include "TestEnvironment.h"

#include <QLocale>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// A day counter of its own (days since 1 March of year 0, proleptic Gregorian), so that the
// grid is checked against arithmetic other than QDate's.
qint64 dayNumber(int year, int month, int day)
{
    if (month < 3) {
        --year;
        month += 12;
    }
    return 365LL * year + year / 4 - year / 100 + year / 400 + (153 * (month - 3) + 2) / 5 + day;
}

qint64 dayNumber(QDate date)
{
    return dayNumber(date.year(), date.month(), date.day());
}

// Empty when the grid matches the counter, else what differs first.
QString gridMismatch(int year, int month, QDate selectedDay, const QList<DayInfo> &days)
{
    const qint64 first = dayNumber(year, month, 1);
    const qint64 length = dayNumber(month == 12 ? year + 1 : year, month % 12 + 1, 1) - first;
    const qint64 leading = (first - dayNumber(1900, 1, 1)) % 7; // 1 January 1900 was a Monday
    const qsizetype expectedCount = leading + length <= 35 ? 35 : 42;
    const QString where = QString::number(year) + u'-' + QString::number(month);
    if (days.size() != expectedCount)
        return where + u": "_s + QString::number(days.size()) + u" cells"_s;

    int selectedCount = 0;
    for (qsizetype i = 0; i < days.size(); ++i) {
        const qint64 expected = first - leading + i;
        const DayInfo &cell = days[i];
        const QString at = where + u" cell "_s + QString::number(i);
        if (!cell.date || dayNumber(*cell.date) != expected)
            return at + u": "_s + cell.date.value_or(QDate()).toString(Qt::ISODate);
        if (cell.belongsToMonth != (expected >= first && expected < first + length))
            return at + u": wrong belongsToMonth"_s;
        if (cell.isSelected != (expected == dayNumber(selectedDay)))
            return at + u": wrong isSelected"_s;
        selectedCount += cell.isSelected;
    }
    if (selectedCount != 1)
        return where + u": "_s + QString::number(selectedCount) + u" selected cells"_s;
    return {};
}

} // namespace

class TestMonthGrid : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { lqtest::pinEnvironment(); }
    void cleanup() { lqtest::pinEnvironment(); }

    void generateDays_workedExamples_data();
    void generateDays_workedExamples();
    void generateDays_everyMonth1900To2100_matchesIndependentCalendar_data();
    void generateDays_everyMonth1900To2100_matchesIndependentCalendar();
    void generateDays_selection_data();
    void generateDays_selection();
    void generateDays_anyDayOfMonthOrNone();
};

void TestMonthGrid::generateDays_workedExamples_data()
{
    QTest::addColumn<QDate>("month");
    QTest::addColumn<int>("leadingCount");
    QTest::addColumn<int>("cellCount");
    QTest::addColumn<QDate>("firstCell");
    QTest::addColumn<QDate>("lastCell");

    QTest::newRow("March 2025, starts Saturday, 36 days in view")
        << QDate(2025, 3, 1) << 5 << 42 << QDate(2025, 2, 24) << QDate(2025, 4, 6);
    QTest::newRow("November 2025, exactly five weeks")
        << QDate(2025, 11, 1) << 5 << 35 << QDate(2025, 10, 27) << QDate(2025, 11, 30);
    QTest::newRow("February 2026, starts Sunday")
        << QDate(2026, 2, 1) << 6 << 35 << QDate(2026, 1, 26) << QDate(2026, 3, 1);
    QTest::newRow("June 2025, starts Sunday, six rows")
        << QDate(2025, 6, 1) << 6 << 42 << QDate(2025, 5, 26) << QDate(2025, 7, 6);
    QTest::newRow("February 2027, starts Monday, fifth row all March")
        << QDate(2027, 2, 1) << 0 << 35 << QDate(2027, 2, 1) << QDate(2027, 3, 7);
}

void TestMonthGrid::generateDays_workedExamples()
{
    QFETCH(QDate, month);
    QFETCH(int, leadingCount);
    QFETCH(int, cellCount);
    QFETCH(QDate, firstCell);
    QFETCH(QDate, lastCell);

    const QList<DayInfo> days = generateDays(month, QDateTime(month, QTime(12, 0)));

    QCOMPARE(days.size(), cellCount);
    QCOMPARE(*days.first().date, firstCell);
    QCOMPARE(*days.last().date, lastCell);
    QCOMPARE(days.first().date->dayOfWeek(), Qt::Monday);
    QCOMPARE(*days[leadingCount].date, month);
    for (int i = 0; i < days.size(); ++i) {
        const bool inMonth = days[i].date->month() == month.month();
        QCOMPARE(days[i].belongsToMonth, inMonth);
        QCOMPARE(inMonth, i >= leadingCount && i < leadingCount + month.daysInMonth());
    }
}

void TestMonthGrid::generateDays_everyMonth1900To2100_matchesIndependentCalendar_data()
{
    QTest::addColumn<QByteArray>("timeZone");
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<Qt::DayOfWeek>("localeFirstDay");

    QTest::newRow("Berlin, weeks start Sunday")
        << QByteArray("Europe/Berlin") << QLocale(QLocale::English, QLocale::UnitedStates)
        << Qt::Sunday;
    QTest::newRow("New York, weeks start Sunday")
        << QByteArray("America/New_York") << QLocale(QLocale::English, QLocale::UnitedStates)
        << Qt::Sunday;
    QTest::newRow("Sao Paulo, weeks start Saturday")
        << QByteArray("America/Sao_Paulo") << QLocale(QLocale::Arabic, QLocale::Egypt)
        << Qt::Saturday;
    QTest::newRow("Lord Howe half-hour shift, weeks start Monday")
        << QByteArray("Australia/Lord_Howe") << QLocale(QLocale::German, QLocale::Germany)
        << Qt::Monday;
}

void TestMonthGrid::generateDays_everyMonth1900To2100_matchesIndependentCalendar()
{
    QFETCH(QByteArray, timeZone);
    QFETCH(QLocale, locale);
    QFETCH(Qt::DayOfWeek, localeFirstDay);
    lqtest::setTimeZone(timeZone);
    QLocale::setDefault(locale);
    QCOMPARE(QLocale().firstDayOfWeek(), localeFirstDay);

    for (int year = 1900; year <= 2100; ++year) {
        for (int month = 1; month <= 12; ++month) {
            // Walk the selection through the month so that daylight saving days are met,
            // alternating the first and the last minute of the day.
            const int serial = year * 12 + month;
            const QDate selectedDay(year, month, serial % QDate(year, month, 1).daysInMonth() + 1);
            // (Some zones skipped midnight itself; startOfDay() finds the real first minute.)
            const QDateTime selected =
                serial % 2 ? QDateTime(selectedDay, QTime(23, 59)) : selectedDay.startOfDay();
            const QList<DayInfo> days = generateDays(QDate(year, month, 1), selected);
            const QString mismatch = gridMismatch(year, month, selectedDay, days);
            QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
        }
    }
}

void TestMonthGrid::generateDays_selection_data()
{
    QTest::addColumn<QByteArray>("timeZone");
    QTest::addColumn<QDate>("month");
    QTest::addColumn<QDateTime>("selectedDate");
    QTest::addColumn<QDate>("expectedCell"); // invalid: no cell is selected

    const QByteArray berlin("Europe/Berlin");
    const QDate march(2025, 3, 1);
    QTest::newRow("last minute of a day")
        << berlin << march << QDateTime(QDate(2025, 3, 12), QTime(23, 59, 59))
        << QDate(2025, 3, 12);
    QTest::newRow("first minute of a day")
        << berlin << march << QDateTime(QDate(2025, 3, 12), QTime(0, 0)) << QDate(2025, 3, 12);
    QTest::newRow("leading cell of the previous month")
        << berlin << march << QDateTime(QDate(2025, 2, 24), QTime(0, 0)) << QDate(2025, 2, 24);
    QTest::newRow("trailing cell of the next month")
        << berlin << march << QDateTime(QDate(2025, 4, 6), QTime(23, 59)) << QDate(2025, 4, 6);
    QTest::newRow("day before the grid")
        << berlin << march << QDateTime(QDate(2025, 2, 23), QTime(23, 59)) << QDate();
    QTest::newRow("day after the grid")
        << berlin << march << QDateTime(QDate(2025, 4, 7), QTime(0, 0)) << QDate();
    QTest::newRow("day 36 of a five-row month is off the grid")
        << berlin << QDate(2025, 11, 1) << QDateTime(QDate(2025, 12, 1), QTime(12, 0)) << QDate();
    QTest::newRow("same day a year earlier")
        << berlin << march << QDateTime(QDate(2024, 3, 12), QTime(12, 0)) << QDate();
    QTest::newRow("clocks go forward that night")
        << berlin << march << QDateTime(QDate(2025, 3, 30), QTime(3, 30)) << QDate(2025, 3, 30);
    QTest::newRow("no selected date") << berlin << march << QDateTime() << QDate();

    // An instant given in UTC counts on the local calendar day it falls on.
    const QDateTime lateUtc(QDate(2025, 3, 30), QTime(22, 30), Qt::UTC);
    QTest::newRow("UTC evening is the next day in Berlin")
        << berlin << march << lateUtc << QDate(2025, 3, 31);
    QTest::newRow("UTC evening is the same day in New York")
        << QByteArray("America/New_York") << march << lateUtc << QDate(2025, 3, 30);
}

void TestMonthGrid::generateDays_selection()
{
    QFETCH(QByteArray, timeZone);
    QFETCH(QDate, month);
    QFETCH(QDateTime, selectedDate);
    QFETCH(QDate, expectedCell);
    lqtest::setTimeZone(timeZone);

    QList<QDate> selected;
    for (const DayInfo &day : generateDays(month, selectedDate)) {
        if (day.isSelected)
            selected.append(*day.date);
    }

    QCOMPARE(selected, expectedCell.isValid() ? QList<QDate>{expectedCell} : QList<QDate>{});
}

void TestMonthGrid::generateDays_anyDayOfMonthOrNone()
{
    const QDateTime selected(QDate(2025, 3, 12), QTime(8, 0));
    QCOMPARE(generateDays(QDate(2025, 3, 31), selected), generateDays(QDate(2025, 3, 1), selected));
    QVERIFY(generateDays(QDate(), selected).isEmpty());
}

QTEST_GUILESS_MAIN(TestMonthGrid)
#include "tst_monthgrid.moc"
