#pragma once

#include "core/Journal.h"

#include <QTemporaryDir>
#include <QVariantList>

#include <memory>

namespace lqtest {

// Pins what the results depend on: the time zone (Europe/Berlin, which has daylight
// saving), an English locale, a temporary data folder instead of the user's journal, and a
// temporary configuration folder for the settings and the personal word list.
// Call it first in initTestCase().
void pinEnvironment();

// Switches the process's local time zone (an IANA name such as "America/New_York").
void setTimeZone(const QByteArray &ianaName);

// Runs SQL on a journal file through a connection of its own; gives each row's first column.
QVariantList queryFile(const QString &path, const QString &sql);
// The same, each value as text.
QStringList column(const QString &path, const QString &sql);

// The text stored for day, read as another program would.
QString storedText(const QString &path, const QString &day);

// A file's bytes, or "unreadable".
QByteArray fileBytes(const QString &path);

// Holds the journal's write lock from another connection while it lives: saves then fail.
class WriteLock
{
public:
    explicit WriteLock(const QString &path);
    ~WriteLock();
    WriteLock(const WriteLock &) = delete;
    WriteLock &operator=(const WriteLock &) = delete;
};

// A journal in its own temporary folder, opened and reopened at will.
class TemporaryJournal
{
public:
    TemporaryJournal();

    QString path() const { return m_dir.filePath(QStringLiteral("journal.sqlite")); }
    Journal *journal() const { return m_journal.get(); }
    // Sets the text of day's note.
    void write(QDate day, const QString &text)
    {
        m_journal->setText(m_journal->noteForDay(day).value(), text);
    }
    // Closes the journal, which writes what is pending, and opens the same file again.
    void reopen();
    void close() { m_journal.reset(); }

private:
    QTemporaryDir m_dir;
    std::unique_ptr<Journal> m_journal;
};

} // namespace lqtest
