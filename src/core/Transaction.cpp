#include "core/Transaction.h"

#include <QSqlError>
#include <QSqlQuery>

Transaction::Transaction(const QSqlDatabase &connection) : m_connection(connection)
{
    QSqlQuery begin(m_connection);
    m_active = begin.exec(QStringLiteral("BEGIN IMMEDIATE"));
    if (!m_active)
        m_error = begin.lastError().text();
}

Transaction::~Transaction()
{
    if (m_active)
        QSqlQuery(m_connection).exec(QStringLiteral("ROLLBACK"));
}

Result<void> Transaction::commit()
{
    if (!m_active)
        return Failure{m_error};
    QSqlQuery commit(m_connection);
    if (!commit.exec(QStringLiteral("COMMIT")))
        return Failure{commit.lastError().text()};
    m_active = false;
    return {};
}
