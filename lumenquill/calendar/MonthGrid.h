#pragma once

#include <QDate>
#include <QDateTime>
#include <QList>

#include <cstddef>
#include <optional>

// One cell of the Monday-first month grid. The date is a calendar day; when an instant is
// needed it is the day's local start, QDate::startOfDay().
struct DayInfo
{
    // Absent only for a placeholder cell, which generateDays() never makes.
    std::optional<QDate> date;
    bool belongsToMonth = false;
    bool isSelected = false;

    friend bool operator==(const DayInfo &, const DayInfo &) = default;
};

size_t qHash(const DayInfo &day, size_t seed = 0);

// The cells shown for the month of displayMonth (any day of it), row by row from Monday to
// Sunday: 35 cells when the month fits in five weeks, otherwise 42. A cell is selected when
// it is the local calendar day of selectedDate, whatever its time of day. The week starts
// on Monday whatever the locale says. Empty when displayMonth is not a valid date.
QList<DayInfo> generateDays(QDate displayMonth, const QDateTime &selectedDate);
