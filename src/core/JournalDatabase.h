#pragma once

#include "core/JournalLock.h"
#include "core/Result.h"
#include "core/RowId.h"
#include "core/Transaction.h"

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>

#include <memory>
#include <optional>

struct NoteRow
{
    RowId id = 0;
    QDate day;
    QString text;
};

struct TagRow
{
    RowId id = 0;
    QString name;
    QDateTime createdAt;
};

// The journal file, opened: its schema, the lock that keeps it to one process, and every
// SQL statement the program runs on it, each with its values bound.
//
// Opening never changes a file it cannot use: a file that is not a journal, a damaged or
// truncated one, or one written by a newer version is reported and left as it was. A new
// journal, and the folder made for it, can be read by the user alone.
class JournalDatabase
{
public:
    // The file format's version, 1.0.0, kept in the file's user_version.
    static constexpr int schemaVersion = 10000;

    // Opens the journal at path, creating it (and its folder) when missing.
    static Result<std::unique_ptr<JournalDatabase>> open(const QString &path);
    // The journal in the user's data folder.
    static QString defaultPath();

    ~JournalDatabase();
    JournalDatabase(const JournalDatabase &) = delete;
    JournalDatabase &operator=(const JournalDatabase &) = delete;

    const QString &path() const { return m_path; }
    // Fails when the file at the path is no longer the one opened.
    Result<void> checkStillInPlace() const { return m_lock->checkStillInPlace(); }

    // The day's note with its text, if the day has one.
    Result<std::optional<NoteRow>> noteOnDay(QDate day);
    Result<QString> noteText(RowId note);
    // Newest day first, without their texts.
    Result<QList<NoteRow>> notesOfTag(RowId tag);
    // The days between first and last (inclusive) that have a note.
    Result<QSet<QDate>> noteDaysBetween(QDate first, QDate last);
    // In the order they were made.
    Result<QList<TagRow>> tags();
    Result<QList<TagRow>> tagsOfNote(RowId note);
    // The day of each tag's latest note; tags without notes are left out.
    Result<QHash<RowId, QDate>> latestNoteDays();
    // Invalid when the tag has no notes.
    Result<QDate> latestNoteDay(RowId tag);
    // How many notes carry each tag, counted on the links' index alone; tags without notes
    // are left out.
    Result<QHash<RowId, int>> noteCounts();

    // Writes belong inside a transaction, so that a save is written whole or not at all.
    Transaction transaction() { return Transaction(m_connection); }
    Result<RowId> insertNote(QDate day, const QString &text);
    Result<void> setNoteText(RowId note, const QString &text);
    // The tag of that name, made now when the journal has none; created says which.
    Result<TagRow> tagNamed(const QString &name, const QDateTime &createdAt, bool *created);
    // Its links go with it; the notes stay as they are.
    Result<void> deleteTag(RowId tag);
    Result<void> link(RowId note, RowId tag);
    Result<void> unlink(RowId note, RowId tag);

private:
    JournalDatabase(const QString &path, const QString &connectionName,
                    std::unique_ptr<JournalLock> lock);

    // The statement for sql that run() prepared, kept for the connection's lifetime.
    QSqlQuery &statement(const char *sql);
    Result<void> run(const char *sql, const QVariantList &values);

    std::unique_ptr<JournalLock> m_lock;
    QString m_path;
    QString m_connectionName;
    QSqlDatabase m_connection;
    QHash<const char *, QSqlQuery> m_statements;
    // The last instant written, with its text: a save gives all its new tags the same one.
    QDateTime m_lastInstant;
    QString m_lastInstantKey;
};
