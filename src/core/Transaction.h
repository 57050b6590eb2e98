#pragma once

#include "core/Result.h"

#include <QSqlDatabase>

// One write transaction on the journal's connection: begun when made, rolled back when it
// goes out of scope without commit(). BEGIN IMMEDIATE takes the write lock at once, so a
// busy journal makes the transaction fail before anything has been written.
class Transaction
{
public:
    explicit Transaction(const QSqlDatabase &connection);
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

    // Whether BEGIN succeeded; error() says why not.
    bool isActive() const { return m_active; }
    const QString &error() const { return m_error; }

    Result<void> commit();

private:
    QSqlDatabase m_connection;
    bool m_active = false;
    QString m_error;
};
