#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <QVariantList>

#include <memory>

class Journal;

namespace lqtest {

// Pins what the results depend on: the time zone (Europe/Berlin, which has daylight
// saving), an English locale, a temporary data folder instead of the user's journal, and a
// temporary configuration folder for the settings and the personal word list.
// Call it first in initTestCase().
void pinEnvironment();

// Switches the process's local time zone (an IANA name such as "America/New_York").
void setTimeZone(const QByteArray &ianaName);

// Runs SQL on a journal file through a connection of the test's own, as another program
// would, and gives the first column of every row.
QVariantList queryFile(const QString &path, const QString &sql);

// The text stored for day, read as another program would.
QString storedText(const QString &path, const QString &day);

// Holds the journal's write lock from another connection for as long as it lives, so that
// the journal's saves fail as on a busy or stuck disk.
class WriteLock
{
public:
    explicit WriteLock(const QString &path);
    ~WriteLock();
    WriteLock(const WriteLock &) = delete;
    WriteLock &operator=(const WriteLock &) = delete;

private:
    QString m_connection;
};

// A journal in its own temporary folder, opened and reopened at will.
class TemporaryJournal
{
public:
    TemporaryJournal();
    ~TemporaryJournal();

    QString path() const;
    Journal *journal() const { return m_journal.get(); }
    // Closes the journal, which writes what is pending, and opens the same file again.
    void reopen();
    void close();

private:
    QTemporaryDir m_dir;
    std::unique_ptr<Journal> m_journal;
};

} // namespace lqtest
