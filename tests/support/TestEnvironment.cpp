#include "TestEnvironment.h"

#include "model/ModelContainer.h"

#include <QLocale>
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

TemporaryStore::TemporaryStore()
{
    QVERIFY2(m_dir.isValid(), "no temporary folder");
    reopen();
}

TemporaryStore::~TemporaryStore() = default;

QString TemporaryStore::path() const
{
    return m_dir.filePath(QStringLiteral("journal.sqlite"));
}

ModelContext *TemporaryStore::context() const
{
    return m_container ? m_container->mainContext() : nullptr;
}

void TemporaryStore::close()
{
    m_container.reset();
}

void TemporaryStore::reopen()
{
    m_container.reset();
    QString error;
    m_container = ModelContainer::open(path(), &error);
    QVERIFY2(m_container, qPrintable(error));
}

} // namespace lqtest
