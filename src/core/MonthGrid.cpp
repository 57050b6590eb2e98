#include "core/MonthGrid.h"

namespace {

constexpr int daysPerWeek = 7;
constexpr int fiveWeeks = 5 * daysPerWeek;
constexpr int sixWeeks = 6 * daysPerWeek;

} // namespace

QList<MonthGridDay> monthGridDays(QDate month, QDate selectedDay)
{
    if (!month.isValid())
        return {};
    const QDate firstDay(month.year(), month.month(), 1);
    // Calendar-day arithmetic on QDate, never seconds, so a daylight saving change inside
    // the grid cannot skip or repeat a day.
    const int leadingCount = firstDay.dayOfWeek() - Qt::Monday;
    const QDate gridStart = firstDay.addDays(-leadingCount);
    const int count = leadingCount + firstDay.daysInMonth() <= fiveWeeks ? fiveWeeks : sixWeeks;
    // At either end of QDate's range a grid would be cut short; none at all is what callers
    // already handle.
    if (!gridStart.isValid() || !gridStart.addDays(count - 1).isValid())
        return {};

    QList<MonthGridDay> days;
    days.reserve(count);
    for (int i = 0; i < count; ++i) {
        const QDate day = gridStart.addDays(i);
        days.append({day, day.year() == firstDay.year() && day.month() == firstDay.month(),
                     day == selectedDay});
    }
    return days;
}
