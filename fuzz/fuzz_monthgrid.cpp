// The month grid for any day QDate can hold, near our own time and at both ends of its
// range: whole Monday-first weeks, consecutive days, the month complete and marked, and the
// selected day marked wherever it is.

#include "FuzzSupport.h"

#include "core/MonthGrid.h"

#include <fuzzer/FuzzedDataProvider.h>

namespace {

// The Julian day of QDate's first (direction -1) or last (+1) day, by bisection, since Qt
// keeps its bounds to itself.
qint64 lastValidJulianDay(qint64 direction)
{
    qint64 valid = 0;
    qint64 invalid = direction << 62;
    while (invalid - valid > 1 || valid - invalid > 1) {
        const qint64 middle = valid + (invalid - valid) / 2;
        (QDate::fromJulianDay(middle).isValid() ? valid : invalid) = middle;
    }
    return valid;
}

// QDate's range ends about two billion years from now either way, beyond what fuzzing could
// reach from the present, so days are picked near an anchor: today's era or either end.
QDate pickDay(FuzzedDataProvider &input, QDate near)
{
    static const qint64 firstJulianDay = lastValidJulianDay(-1);
    static const qint64 lastJulianDay = lastValidJulianDay(1);
    switch (input.ConsumeIntegralInRange(0, 4)) {
    case 0:
        return QDate(input.ConsumeIntegral<int>(), input.ConsumeIntegral<int>(),
                     input.ConsumeIntegral<int>());
    case 1:
        return QDate::fromJulianDay(firstJulianDay + input.ConsumeIntegral<qint16>());
    case 2:
        return QDate::fromJulianDay(lastJulianDay + input.ConsumeIntegral<qint16>());
    case 3:
        return near.addDays(input.ConsumeIntegral<qint8>());
    default:
        return QDate(2000, 1, 1).addDays(input.ConsumeIntegral<qint32>());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const QDate month = pickDay(input, QDate(2000, 1, 1));
    const QDate selected = pickDay(input, month);
    const QList<MonthGridDay> days = monthGridDays(month, selected);
    if (!month.isValid()) {
        LQ_FUZZ_CHECK(days.isEmpty());
        return 0;
    }

    const QDate first(month.year(), month.month(), 1);
    const QDate last(month.year(), month.month(), month.daysInMonth());
    if (days.isEmpty()) {
        // Only a grid that would leave QDate's range may be missing.
        LQ_FUZZ_CHECK(!first.addDays(-6).isValid() || !first.addDays(41).isValid());
        return 0;
    }

    LQ_FUZZ_CHECK(days.size() == 35 || days.size() == 42);
    const QDate start = days.first().date;
    LQ_FUZZ_CHECK(start.dayOfWeek() == Qt::Monday);
    qsizetype selectedCount = 0;
    for (qsizetype i = 0; i < days.size(); ++i) {
        const MonthGridDay &day = days.at(i);
        LQ_FUZZ_CHECK(day.date == start.addDays(i));
        LQ_FUZZ_CHECK(day.inMonth == (day.date >= first && day.date <= last));
        LQ_FUZZ_CHECK(day.isSelected == (day.date == selected));
        selectedCount += day.isSelected;
    }
    LQ_FUZZ_CHECK(selectedCount <= 1);
    // The month starts in the first week, ends in the grid, and a sixth week is there only
    // when five do not hold it.
    const qint64 firstIndex = start.daysTo(first);
    const qint64 lastIndex = start.daysTo(last);
    LQ_FUZZ_CHECK(firstIndex >= 0 && firstIndex < 7);
    LQ_FUZZ_CHECK(lastIndex < days.size());
    LQ_FUZZ_CHECK(days.size() == 35 || lastIndex >= 35);
    return 0;
}
