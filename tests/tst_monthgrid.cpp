#include "calendar/MonthGrid.h"

#include "TestEnvironment.h"

#include <QLocale>
#include <QSet>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// An independent model of the Gregorian calendar, written without QDate arithmetic, so
// that the grid is checked against something other than itself.
bool isLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int monthLength(int year, int month)
{
    static constexpr int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : lengths[month - 1];
}

// Zeller's congruence, turned into 0 = Monday ... 6 = Sunday.
int mondayBasedWeekday(int year, int month, int day)
{
    if (month < 3) {
        month += 12;
        --year;
    }
    const int k = year % 100;
    const int j = year / 100;
    const int h = (day + 13 * (month + 1) / 5 + k + k / 4 + j / 4 + 5 * j) % 7; // 0 = Saturday
    return (h + 5) % 7;
}

struct Civil
{
    int year;
    int month;
    int day;

    void stepBack()
    {
        if (--day > 0)
            return;
        if (--month == 0) {
            month = 12;
            --year;
        }
        day = monthLength(year, month);
    }
    void stepForward()
    {
        if (++day <= monthLength(year, month))
            return;
        day = 1;
        if (++month == 13) {
            month = 1;
            ++year;
        }
    }
    QDate toDate() const { return QDate(year, month, day); }
};

// Empty when the grid matches the model, else what differs first.
QString gridMismatch(int year, int month, QDate selectedDay, const QList<DayInfo> &days)
{
    const int leading = mondayBasedWeekday(year, month, 1);
    const qsizetype expectedCount = leading + monthLength(year, month) <= 35 ? 35 : 42;
    const QString where = QString::number(year) + u'-' + QString::number(month);
    if (days.size() != expectedCount)
        return where + u": "_s + QString::number(days.size()) + u" cells"_s;

    Civil cursor{year, month, 1};
    for (int i = 0; i < leading; ++i)
        cursor.stepBack();
    int selectedCount = 0;
    for (qsizetype i = 0; i < days.size(); ++i, cursor.stepForward()) {
        const DayInfo &cell = days[i];
        const QString at = where + u" cell "_s + QString::number(i);
        if (cell.date != cursor.toDate())
            return at + u": "_s + cell.date.value_or(QDate()).toString(Qt::ISODate);
        if (cell.belongsToMonth != (cursor.year == year && cursor.month == month))
            return at + u": wrong belongsToMonth"_s;
        if (cell.isSelected != (cursor.toDate() == selectedDay))
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
    void generateDays_anyDayOfMonth_givesSameGrid();
    void generateDays_invalidMonth_givesEmptyList();
    void dayInfo_identity_data();
    void dayInfo_identity();
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
            const QDate selectedDay(year, month, serial % monthLength(year, month) + 1);
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

void TestMonthGrid::generateDays_anyDayOfMonth_givesSameGrid()
{
    const QDateTime selected(QDate(2025, 3, 12), QTime(8, 0));
    QCOMPARE(generateDays(QDate(2025, 3, 31), selected), generateDays(QDate(2025, 3, 1), selected));
}

void TestMonthGrid::generateDays_invalidMonth_givesEmptyList()
{
    QVERIFY(generateDays(QDate(), QDateTime::currentDateTime()).isEmpty());
}

void TestMonthGrid::dayInfo_identity_data()
{
    QTest::addColumn<DayInfo>("a");
    QTest::addColumn<DayInfo>("b");
    QTest::addColumn<bool>("equal");

    const DayInfo base{QDate(2025, 3, 12), true, false};
    QTest::newRow("same fields") << base << DayInfo{QDate(2025, 3, 12), true, false} << true;
    QTest::newRow("other day") << base << DayInfo{QDate(2025, 3, 13), true, false} << false;
    QTest::newRow("outside the month")
        << base << DayInfo{QDate(2025, 3, 12), false, false} << false;
    QTest::newRow("now selected") << base << DayInfo{QDate(2025, 3, 12), true, true} << false;
    QTest::newRow("placeholder") << base << DayInfo{std::nullopt, true, false} << false;
    QTest::newRow("two placeholders")
        << DayInfo{std::nullopt, false, false} << DayInfo{std::nullopt, false, false} << true;
}

void TestMonthGrid::dayInfo_identity()
{
    QFETCH(DayInfo, a);
    QFETCH(DayInfo, b);
    QFETCH(bool, equal);

    QCOMPARE(a == b, equal);
    const QSet<DayInfo> set{a, b};
    QCOMPARE(set.size(), equal ? 1 : 2);
    if (equal)
        QCOMPARE(qHash(a, 7), qHash(b, 7));
}

QTEST_GUILESS_MAIN(TestMonthGrid)
#include "tst_monthgrid.moc"
