#include "MonthGrid.h"

#include <QHashFunctions>

namespace {

constexpr int DaysPerWeek = 7;
constexpr int FiveWeeks = 5 * DaysPerWeek;
constexpr int SixWeeks = 6 * DaysPerWeek;

} // namespace

size_t qHash(const DayInfo &day, size_t seed)
{
    seed = qHashMulti(seed, day.date.has_value());
    if (day.date)
        seed = qHashMulti(seed, *day.date);
    return qHashMulti(seed, day.belongsToMonth, day.isSelected);
}

QList<DayInfo> generateDays(QDate displayMonth, const QDateTime &selectedDate)
{
    if (!displayMonth.isValid())
        return {};
    const QDate firstDay(displayMonth.year(), displayMonth.month(), 1);
    // Calendar-day arithmetic on QDate, never seconds, so a daylight saving change inside
    // the grid cannot skip or repeat a day.
    const int leadingCount = firstDay.dayOfWeek() - Qt::Monday;
    const QDate gridStart = firstDay.addDays(-leadingCount);
    if (!gridStart.isValid())
        return {};
    const std::optional<QDate> selectedDay =
        selectedDate.isValid() ? std::optional(selectedDate.toLocalTime().date()) : std::nullopt;

    QList<DayInfo> days;
    days.reserve(SixWeeks);
    for (int i = 0; i < SixWeeks; ++i) {
        const QDate day = gridStart.addDays(i);
        if (!day.isValid())
            continue;
        days.append(DayInfo{day, day.year() == firstDay.year() && day.month() == firstDay.month(),
                            day == selectedDay});
    }
    if (leadingCount + firstDay.daysInMonth() <= FiveWeeks && days.size() > FiveWeeks)
        days.resize(FiveWeeks);
    return days;
}
