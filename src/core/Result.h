#pragma once

#include <QCoreApplication>
#include <QString>

#include <optional>
#include <utility>

// Why an operation on the journal failed, in the words SQLite or the file system gave.
struct Failure
{
    QString error;
};

// The outcome of an operation on the journal: its value, or the failure that prevented it.
// Every read and write that can fail answers with one of these, so a failed read is never
// mistaken for an empty note or an empty list.
template<typename T>
class [[nodiscard]] Result
{
public:
    Result(T value) : m_value(std::move(value)) {}
    Result(Failure failure) : m_error(std::move(failure.error))
    {
        if (m_error.isEmpty())
            m_error = QCoreApplication::translate("Result", "unknown error");
    }

    bool ok() const { return m_value.has_value(); }
    explicit operator bool() const { return ok(); }
    const QString &error() const { return m_error; }
    Failure failure() const { return {m_error}; }

    const T &value() const & { return *m_value; }
    // By value, so that a loop over journal->tags().value() keeps its list alive.
    T value() && { return std::move(*m_value); }
    const T &operator*() const & { return *m_value; }
    T operator*() && { return std::move(*m_value); }
    const T *operator->() const { return &*m_value; }

private:
    std::optional<T> m_value;
    QString m_error;
};

template<>
class [[nodiscard]] Result<void>
{
public:
    Result() = default;
    Result(Failure failure) : m_error(std::move(failure.error))
    {
        if (m_error.isEmpty())
            m_error = QCoreApplication::translate("Result", "unknown error");
    }

    bool ok() const { return m_error.isEmpty(); }
    explicit operator bool() const { return ok(); }
    const QString &error() const { return m_error; }
    Failure failure() const { return {m_error}; }

private:
    QString m_error;
};
