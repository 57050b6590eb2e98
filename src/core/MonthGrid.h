#pragma once

#include <QDate>
#include <QList>

// One cell of the Monday-first month grid.
struct MonthGridDay
{
    QDate date;
    bool inMonth = false;
    bool isSelected = false;

    friend bool operator==(const MonthGridDay &, const MonthGridDay &) = default;
};

// The cells shown for the month of month (any day of it), row by row from Monday to Sunday:
// 35 cells when the month fits in five weeks, otherwise 42. The week starts on Monday
// whatever the locale says. Empty when month is not a valid date, or when its grid would
// run past the first or last day QDate can hold.
QList<MonthGridDay> monthGridDays(QDate month, QDate selectedDay);
