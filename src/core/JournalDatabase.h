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

#include <functional>
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
// journal, and the folder made for it, can be read by the user alone. A journal of an older
// version is brought up to this one in a single transaction, so it is either upgraded whole
// or left as it was.
//
// The search index (notes_search, SQLite's FTS5) holds no text of its own: it reads the
// notes table, and triggers on that table keep it in step inside whatever transaction
// writes a note, whoever writes it.
class JournalDatabase
{
public:
    // The file format's version, 1.1.0, kept in the file's user_version.
    static constexpr int schemaVersion = 10100;
    // 1.0.0, the first version: the same tables without the search index.
    static constexpr int firstSchemaVersion = 10000;

    // Opens the journal at path, creating it (and its folder) when missing.
    static Result<std::unique_ptr<JournalDatabase>> open(const QString &path);
    // A second, read-only connection to a journal this process holds open, for a job on
    // another thread: it takes no lock and must be made, used and destroyed on that thread.
    static Result<std::unique_ptr<JournalDatabase>> openReader(const QString &path);
    // The journal in the user's data folder.
    static QString defaultPath();

    ~JournalDatabase();
    JournalDatabase(const JournalDatabase &) = delete;
    JournalDatabase &operator=(const JournalDatabase &) = delete;

    const QString &path() const { return m_path; }
    // Fails when the file at the path is no longer the one opened.
    Result<void> checkStillInPlace() const;

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

    // The notes that match a full-text query (see fullTextQuery()), newest day first,
    // with their texts; a row whose day is not a day comes with an invalid one.
    Result<QList<NoteRow>> searchNotes(const QString &query, int offset, int limit);

    // Every note in day order, read in one snapshot; visit() gets the number of notes first
    // and may stop the walk by returning false.
    Result<void> forEachNote(const std::function<void(qsizetype count)> &counted,
                             const std::function<bool(const NoteRow &note)> &visit);
    // Writes a complete copy of the journal to target, an empty file that must exist.
    Result<void> copyTo(const QString &target);

    // Writes belong inside a transaction, so that a save is written whole or not at all.
    Transaction transaction() { return Transaction(m_connection); }
    Result<RowId> insertNote(QDate day, const QString &text);
    Result<void> setNoteText(RowId note, const QString &text);
    // The tags of those names, in their order, each made with createdAt when the journal has
    // none; the ones made are added to created too.
    Result<QList<TagRow>> tagsNamed(const QStringList &names, const QDateTime &createdAt,
                                    QList<TagRow> *created);
    // Its links go with it; the notes stay as they are.
    Result<void> deleteTag(RowId tag);
    Result<void> link(RowId note, const QList<TagRow> &tags);
    Result<void> unlink(RowId note, const QList<TagRow> &tags);

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
