#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <memory>

class ModelContainer;
class ModelContext;

namespace lqtest {

// Pins what the results depend on: the time zone (Europe/Berlin, which has daylight
// saving), an English locale, and a temporary data folder instead of the user's journal.
// Call it first in initTestCase().
void pinEnvironment();

// Switches the process's local time zone (an IANA name such as "America/New_York").
void setTimeZone(const QByteArray &ianaName);

// A journal store in its own temporary folder, opened and reopened at will.
class TemporaryStore
{
public:
    TemporaryStore();
    ~TemporaryStore();

    QString path() const;
    ModelContext *context() const;
    // Closes the container (saving nothing) and opens the same file again.
    void reopen();
    void close();

private:
    QTemporaryDir m_dir;
    std::unique_ptr<ModelContainer> m_container;
};

} // namespace lqtest
