// The Monday-first month grid, checked against a day counter of its own.

#include "TestEnvironment.h"

#include "core/MonthGrid.h"

#include <QTest>

namespace {

// Days since 1 March of year 0 in the proleptic Gregorian calendar, worked out without QDate.
qint64 dayNumber(int year, int month, int day)
{
    const int y = month <= 2 ? year - 1 : year;
    const int m = month <= 2 ? month + 9 : month - 3;
    return 365LL * y + y / 4 - y / 100 + y / 400 + (153 * m + 2) / 5 + day - 1;
}

} // namespace

class MonthGridTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { lqtest::pinEnvironment(); }

    void everyMonthFrom1900To2100_startsOnMondayInFiveOrSixWeeks_andNoneIsCutShort()
    {
        const qint64 monday = dayNumber(1900, 1, 1); // a Monday
        for (int year = 1900; year <= 2100; ++year) {
            for (int month = 1; month <= 12; ++month) {
                const qint64 first = dayNumber(year, month, 1);
                const qint64 length =
                    dayNumber(month == 12 ? year + 1 : year, month % 12 + 1, 1) - first;
                const qint64 leading = (first - monday) % 7;
                const QDate selected(year, month, 1 + (year + month) % 28);
                const QList<MonthGridDay> days = monthGridDays(QDate(year, month, 15), selected);
                QCOMPARE(days.size(), leading + length <= 35 ? 35 : 42);
                for (qsizetype i = 0; i < days.size(); ++i) {
                    const qint64 expected = first - leading + i;
                    const QDate date = days[i].date;
                    QCOMPARE(dayNumber(date.year(), date.month(), date.day()), expected);
                    QCOMPARE(days[i].inMonth, expected >= first && expected < first + length);
                    QCOMPARE(days[i].isSelected, days[i].date == selected);
                }
            }
        }
        QVERIFY(monthGridDays(QDate(), QDate()).isEmpty());
        // QDate's range ends about two billion years away; a grid there is whole or empty.
        for (const qint64 julianDay : {Q_INT64_C(-784350574879), Q_INT64_C(784354017364)}) {
            const QDate edge = QDate::fromJulianDay(julianDay);
            QVERIFY(edge.isValid());
            QVERIFY(!edge.addDays(julianDay < 0 ? -1 : 1).isValid());
            const qsizetype size = monthGridDays(edge, edge).size();
            QVERIFY2(size == 0 || size == 35 || size == 42, qPrintable(QString::number(size)));
        }
    }
};

QTEST_GUILESS_MAIN(MonthGridTest)
#include "tst_monthgrid.moc"
