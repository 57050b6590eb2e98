#include "core/DateText.h"

#include <QLocale>
#include <QRegularExpression>

namespace DateText {

QString header(QDate day)
{
    return QLocale().toString(day, QStringLiteral("MMMM d, yyyy, ddd"));
}

QString monthTitle(QDate month)
{
    return QLocale().toString(month, QStringLiteral("MMMM yyyy"));
}

QString dayNumber(QDate day)
{
    return QLocale().toString(day, QStringLiteral("d"));
}

QString fullDay(QDate day)
{
    return QLocale().toString(day, QStringLiteral("MMMM d, yyyy"));
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
