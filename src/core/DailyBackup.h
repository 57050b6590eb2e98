#pragma once

#include "core/Result.h"

#include <QDate>
#include <QList>
#include <QObject>
#include <QString>

class QThread;

// Keeps dated copies of the journal in a folder "backups" beside it, so that a person's
// writing never depends on one file. The first save of each day starts that day's copy,
// which SQLite writes (VACUUM INTO) through a connection of its own on a thread of its own:
// typing never waits for it. Each copy is a complete journal that LumenQuill opens as it is.
// The folder and the copies can be read by the user alone.
class DailyBackup : public QObject
{
    Q_OBJECT

public:
    explicit DailyBackup(const QString &journalPath, QObject *parent = nullptr);
    // Waits for a copy under way.
    ~DailyBackup() override;

    static QString folder(const QString &journalPath);
    // "journal-2026-03-01.sqlite".
    static QString fileName(QDate day);

    // Starts today's copy unless it exists, is under way or has already failed today.
    void backUpIfDue();
    bool isRunning() const { return m_thread != nullptr; }

Q_SIGNALS:
    // path is the new copy; a failed one gives its error instead.
    void finished(const QString &path, const QString &error);

private:
    QString m_journalPath;
    QThread *m_thread = nullptr;
    QDate m_triedDay;
};

// Writes the copy of day into the backups folder beside the journal and removes the copies
// no longer kept (expiredBackups()). Runs on any thread; the journal must be open in this
// process. Gives the new copy's path.
Result<QString> backUpJournal(const QString &journalPath, QDate day);

// Of the copies made on the given days, those to remove: the seven newest days are kept,
// and before them the newest copy of each of four calendar weeks (Monday to Sunday).
QList<QDate> expiredBackups(QList<QDate> days);
