#pragma once

#include <QDate>
#include <QString>

// How the program writes days, all in the user's locale.
namespace DateText {

// The editor's header: "December 6, 2026, Sun".
QString header(QDate day);
// The calendar's title: "December 2026".
QString monthTitle(QDate month);
// A calendar cell: "6".
QString dayNumber(QDate day);
// A day in full, as screen readers speak a calendar cell: "December 6, 2026".
QString fullDay(QDate day);
// A note card's day: the locale's long date without the weekday ("May 9, 2026",
// "9. Mai 2026").
QString longDay(QDate day);

} // namespace DateText
