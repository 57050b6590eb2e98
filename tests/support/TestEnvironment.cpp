#include "TestEnvironment.h"

#include "core/Journal.h"

#include <QLocale>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTest>

#include <ctime>

namespace lqtest {

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
    const QString connection = QStringLiteral("lqtest-query");
    QVariantList values;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(path);
        if (!db.open())
            qWarning("cannot open %s: %s", qPrintable(path), qPrintable(db.lastError().text()));
        QSqlQuery query(db);
        if (!query.exec(sql))
            qWarning("%s: %s", qPrintable(sql), qPrintable(query.lastError().text()));
        while (query.next())
            values.append(query.value(0));
    }
    QSqlDatabase::removeDatabase(connection);
    return values;
}

QString storedText(const QString &path, const QString &day)
{
    return queryFile(path, QStringLiteral("SELECT content FROM notes WHERE day = '%1'").arg(day))
        .value(0)
        .toString();
}

WriteLock::WriteLock(const QString &path) : m_connection(QStringLiteral("lqtest-lock"))
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    db.setDatabaseName(path);
    QSqlQuery query(db);
    if (!db.open() || !query.exec(QStringLiteral("BEGIN IMMEDIATE")))
        qFatal("cannot lock %s", qPrintable(path));
}

WriteLock::~WriteLock()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_connection);
        QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
        db.close();
    }
    QSqlDatabase::removeDatabase(m_connection);
}

TemporaryJournal::TemporaryJournal()
{
    QVERIFY2(m_dir.isValid(), "no temporary folder");
    reopen();
}

TemporaryJournal::~TemporaryJournal() = default;

QString TemporaryJournal::path() const
{
    return m_dir.filePath(QStringLiteral("journal.sqlite"));
}

void TemporaryJournal::close()
{
    m_journal.reset();
}

void TemporaryJournal::reopen()
{
    m_journal.reset();
    auto opened = Journal::open(path());
    QVERIFY2(opened, qPrintable(opened.error()));
    m_journal = std::move(opened).value();
}

} // namespace lqtest
