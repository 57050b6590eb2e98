#include "TestEnvironment.h"

#include <QFile>
#include <QLocale>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTest>

#include <ctime>

namespace lqtest {

const QString queryConnection = QStringLiteral("lqtest-query");
const QString lockConnection = QStringLiteral("lqtest-lock");

void setTimeZone(const QByteArray &ianaName)
{
    qputenv("TZ", ianaName);
    tzset();
}

void pinEnvironment()
{
    setTimeZone("Europe/Berlin");
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QStandardPaths::setTestModeEnabled(true);
    // The settings and the personal word lists (Enchant's, and Aspell's when Enchant checks
    // with it) go to a folder of the test's own.
    static QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    qunsetenv("ENCHANT_CONFIG_DIR");
    qputenv("ASPELL_CONF", "home-dir " + config.path().toLocal8Bit());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config.path());
}

QVariantList queryFile(const QString &path, const QString &sql)
{
    QVariantList values;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), queryConnection);
        db.setDatabaseName(path);
        QSqlQuery query(db);
        if (!db.open() || !query.exec(sql))
            qWarning("%s: %s", qPrintable(sql),
                     qPrintable((db.isOpen() ? query.lastError() : db.lastError()).text()));
        while (query.next())
            values.append(query.value(0));
    }
    QSqlDatabase::removeDatabase(queryConnection);
    return values;
}

QStringList column(const QString &path, const QString &sql)
{
    QStringList values;
    for (const QVariant &value : queryFile(path, sql))
        values.append(value.toString());
    return values;
}

QString storedText(const QString &path, const QString &day)
{
    return column(path, QStringLiteral("SELECT content FROM notes WHERE day = '%1'").arg(day))
        .value(0);
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArrayLiteral("unreadable");
}

WriteLock::WriteLock(const QString &path)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), lockConnection);
    db.setDatabaseName(path);
    QSqlQuery query(db);
    if (!db.open() || !query.exec(QStringLiteral("BEGIN IMMEDIATE")))
        qFatal("cannot lock %s", qPrintable(path));
}

WriteLock::~WriteLock()
{
    QSqlDatabase::database(lockConnection).close(); // which rolls the transaction back
    QSqlDatabase::removeDatabase(lockConnection);
}

TemporaryJournal::TemporaryJournal()
{
    QVERIFY2(m_dir.isValid(), "no temporary folder");
    reopen();
}

void TemporaryJournal::reopen()
{
    m_journal.reset();
    auto opened = Journal::open(path());
    QVERIFY2(opened, qPrintable(opened.error()));
    m_journal = std::move(opened).value();
}

} // namespace lqtest
