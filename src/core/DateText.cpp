#include "core/DateText.h"

#include <QCoreApplication>
#include <QLocale>
#include <QRegularExpression>

namespace DateText {

QString header(QDate day)
{
    //: The day over the open note, as a QLocale date format: d the day, MMMM the month's
    //: name, yyyy the year, ddd the weekday's short name; text in single quotes is kept as
    //: it is. English: "December 6, 2026, Sun".
    return QLocale().toString(day, QCoreApplication::translate("DateText", "MMMM d, yyyy, ddd"));
}

QString monthTitle(QDate month)
{
    // The name standing alone, which some languages inflect otherwise than inside a date.
    const QLocale locale;
    //: The calendar's title: %1 the month's name, %2 the year. English: "December 2026".
    return QCoreApplication::translate("DateText", "%1 %2")
        .arg(locale.standaloneMonthName(month.month()),
             locale.toString(month, QStringLiteral("yyyy")));
}

QString dayNumber(QDate day)
{
    return QLocale().toString(day, QStringLiteral("d"));
}

QString fullDay(QDate day)
{
    //: A day in full, as a QLocale date format (see the header's), for screen readers and
    //: messages. English: "December 6, 2026".
    return QLocale().toString(day, QCoreApplication::translate("DateText", "MMMM d, yyyy"));
}

QString longDay(QDate day)
{
    static const QRegularExpression weekday(QStringLiteral("dddd[,.]?\\s*|,?\\s*dddd"));
    const QLocale locale;
    QString format = locale.dateFormat(QLocale::LongFormat);
    format.remove(weekday);
    return locale.toString(day, format.trimmed());
}

} // namespace DateText
