#include "core/JournalDatabase.h"

#include "core/JournalHeader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSqlError>
#include <QStandardPaths>
#include <QVariant>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

QString dayKey(QDate day)
{
    return day.toString(Qt::ISODate);
}

// Only a day written exactly as the program writes it: a hand-edited "2026-12-06T10:00"
// reads as no day at all rather than as 6 December, whose note it would then stand for.
QDate dayFromKey(const QVariant &key)
{
    const QString text = key.toString();
    const QDate day = QDate::fromString(text, Qt::ISODate);
    return day.isValid() && day.toString(Qt::ISODate) == text ? day : QDate();
}

QString instantKey(const QDateTime &instant)
{
    return instant.toUTC().toString(Qt::ISODateWithMs);
}

QDateTime instantFromKey(const QVariant &key)
{
    return QDateTime::fromString(key.toString(), Qt::ISODateWithMs).toUTC();
}

// SQLite keeps a null QString as NULL; a note's text is never NULL, at most empty.
QString textValue(const QString &text)
{
    return text.isNull() ? QStringLiteral("") : text;
}

// Reads the file's header without SQLite, which would otherwise treat a truncated or empty
// file as an empty database and start writing into it.
Result<JournalHeader> readHeader(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Failure{QCoreApplication::translate("JournalDatabase", "cannot read %1: %2")
                           .arg(path, file.errorString())};
    return parseJournalHeader(file.read(JournalHeader::size), file.size(),
                              QFileInfo(path + QStringLiteral("-wal")).size() > 0, path);
}

Result<QVariant> exec(const QSqlDatabase &db, const QString &sql)
{
    QSqlQuery query(db);
    if (!query.exec(sql))
        return Failure{query.lastError().text()};
    return query.next() ? query.value(0) : QVariant();
}

// Reads the header values through SQLite, which folds in the write-ahead log, on a
// read-only connection so that nothing is written to a file that turns out to be unusable.
Result<JournalHeader> readHeaderThroughLog(const QString &path, const QString &connectionName)
{
    Result<JournalHeader> result = Failure{};
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (!db.open()) {
            result = Failure{db.lastError().text()};
        } else {
            const auto appId = exec(db, QStringLiteral("PRAGMA application_id"));
            const auto version = exec(db, QStringLiteral("PRAGMA user_version"));
            const auto tables = exec(db, QStringLiteral("SELECT count(*) FROM sqlite_schema"));
            if (!appId || !version || !tables) {
                result = Failure{!appId     ? appId.error()
                                 : !version ? version.error()
                                            : tables.error()};
            } else {
                JournalHeader header;
                header.hasLog = true;
                header.journalId = appId->toInt();
                header.version = version->toInt();
                header.isEmpty = tables->toInt() == 0;
                result = header;
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(connectionName);
    return result;
}

const char *const schemaStatements[] = {
    "CREATE TABLE notes ("
    " id INTEGER PRIMARY KEY AUTOINCREMENT,"
    " day TEXT NOT NULL UNIQUE,"
    " content TEXT NOT NULL DEFAULT '')",
    "CREATE TABLE tags ("
    " id INTEGER PRIMARY KEY AUTOINCREMENT,"
    " name TEXT NOT NULL UNIQUE,"
    " created_at TEXT NOT NULL)",
    "CREATE TABLE note_tags ("
    " note_id INTEGER NOT NULL REFERENCES notes(id) ON DELETE CASCADE,"
    " tag_id INTEGER NOT NULL REFERENCES tags(id) ON DELETE CASCADE,"
    " UNIQUE (note_id, tag_id))",
    "CREATE INDEX note_tags_by_tag ON note_tags(tag_id)",
};

// The search index and the triggers that keep it in step with the notes. Prefixes of one
// and two letters get an index of their own: a search starts at the first key, when a
// one-letter prefix stands for thousands of words. '#' is part of a word, so that "#work"
// finds the hashtag rather than every "work".
const char *const searchStatements[] = {
    "CREATE VIRTUAL TABLE notes_search USING fts5("
    " content, content='notes', content_rowid='id',"
    " tokenize=\"unicode61 remove_diacritics 2 tokenchars '#'\", prefix='1 2')",
    "CREATE TRIGGER notes_search_insert AFTER INSERT ON notes BEGIN"
    " INSERT INTO notes_search (rowid, content) VALUES (new.id, new.content); END",
    "CREATE TRIGGER notes_search_delete AFTER DELETE ON notes BEGIN"
    " INSERT INTO notes_search (notes_search, rowid, content)"
    " VALUES ('delete', old.id, old.content); END",
    "CREATE TRIGGER notes_search_update AFTER UPDATE ON notes BEGIN"
    " INSERT INTO notes_search (notes_search, rowid, content)"
    " VALUES ('delete', old.id, old.content);"
    " INSERT INTO notes_search (rowid, content) VALUES (new.id, new.content); END",
};

Result<void> execAll(const QSqlDatabase &db, const QList<const char *> &statements)
{
    for (const char *statement : statements) {
        if (const auto done = exec(db, QString::fromLatin1(statement)); !done)
            return done.failure();
    }
    return {};
}

Result<void> createSchema(const QSqlDatabase &db)
{
    Transaction transaction(db);
    if (!transaction.isActive())
        return Failure{transaction.error()};
    for (const auto &statements :
         {QList<const char *>(std::begin(schemaStatements), std::end(schemaStatements)),
          QList<const char *>(std::begin(searchStatements), std::end(searchStatements))}) {
        if (const auto done = execAll(db, statements); !done)
            return done;
    }
    for (const QString &pragma :
         {QStringLiteral("PRAGMA application_id = %1").arg(JournalHeader::applicationId),
          QStringLiteral("PRAGMA user_version = %1").arg(JournalDatabase::schemaVersion)}) {
        if (const auto done = exec(db, pragma); !done)
            return done.failure();
    }
    return transaction.commit();
}

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

// A new journal is written under a temporary name and moved into place with its schema: an
// empty file is refused as a journal, and a process killed while creating one must not
// leave such a file behind (at most the temporary one). A file that another process put
// there meanwhile is kept.
Result<void> createJournalFile(const QString &path, const QString &connectionName)
{
    QByteArray temporary = QFile::encodeName(path) + ".new-XXXXXX";
    const int descriptor = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (descriptor < 0)
        return Failure{QCoreApplication::translate("JournalDatabase", "cannot create %1: %2")
                           .arg(path, systemError())};
    ::close(descriptor);
    const QString temporaryPath = QFile::decodeName(temporary);
    Result<void> created;
    {
        const QString name = connectionName + QStringLiteral("-new");
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            db.setDatabaseName(temporaryPath);
            created = db.open() ? createSchema(db) : Result<void>(Failure{db.lastError().text()});
            db.close();
        }
        QSqlDatabase::removeDatabase(name);
    }
    const QByteArray target = QFile::encodeName(path);
    if (created && ::renameat2(AT_FDCWD, temporary.constData(), AT_FDCWD, target.constData(),
                               RENAME_NOREPLACE) != 0) {
        // File systems without an exclusive rename have hard links, which never replace either.
        if ((errno == EINVAL || errno == ENOSYS) &&
            ::link(temporary.constData(), target.constData()) == 0) {
            ::unlink(temporary.constData());
        } else if (errno != EEXIST) {
            created = Failure{QCoreApplication::translate("JournalDatabase", "cannot create %1: %2")
                                  .arg(path, systemError())};
        }
    }
    if (QFile::exists(temporaryPath))
        QFile::remove(temporaryPath);
    if (!created)
        return created;
    // The new name itself reaches the disk, not only the file's contents.
    const int folder = ::open(QFile::encodeName(QFileInfo(path).absolutePath()).constData(),
                              O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return {};
}

// A 1.0.0 journal gets its search index, filled from the notes, and the new version in one
// transaction: a crash or a failure on the way leaves the file a 1.0.0 journal.
Result<void> upgradeSchema(const QSqlDatabase &db)
{
    Transaction transaction(db);
    if (!transaction.isActive())
        return Failure{transaction.error()};
    // A journal whose version was set back by hand has an index already: it is made anew.
    if (const auto done = execAll(db, {"DROP TRIGGER IF EXISTS notes_search_insert",
                                       "DROP TRIGGER IF EXISTS notes_search_delete",
                                       "DROP TRIGGER IF EXISTS notes_search_update",
                                       "DROP TABLE IF EXISTS notes_search"});
        !done)
        return done;
    if (const auto done = execAll(
            db, QList<const char *>(std::begin(searchStatements), std::end(searchStatements)));
        !done)
        return done;
    for (const QString &statement :
         {QStringLiteral("INSERT INTO notes_search (notes_search) VALUES ('rebuild')"),
          QStringLiteral("PRAGMA user_version = %1").arg(JournalDatabase::schemaVersion)}) {
        if (const auto done = exec(db, statement); !done)
            return done.failure();
    }
    return transaction.commit();
}

} // namespace

JournalDatabase::JournalDatabase(const QString &path, const QString &connectionName,
                                 std::unique_ptr<JournalLock> lock)
    : m_lock(std::move(lock)), m_path(path), m_connectionName(connectionName)
{}

JournalDatabase::~JournalDatabase()
{
    m_statements.clear();
    m_connection.close();
    m_connection = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_connectionName);
}

QString JournalDatabase::defaultPath()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
        .filePath(QStringLiteral("journal.sqlite"));
}

Result<std::unique_ptr<JournalDatabase>> JournalDatabase::open(const QString &path)
{
    static int serial = 0;
    const QString connectionName = QStringLiteral("lumenquill-%1").arg(++serial);

    const QFileInfo info(path);
    if (info.isDir())
        return Failure{
            QCoreApplication::translate("JournalDatabase", "%1 is a folder, not a journal file")
                .arg(path)};
    const QString folder = info.absolutePath();
    if (!QFileInfo::exists(folder)) {
        if (!QDir().mkpath(folder))
            return Failure{
                QCoreApplication::translate("JournalDatabase", "cannot create the folder %1")
                    .arg(folder)};
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    // SQLite keeps its write-ahead log beside the journal, so even reading needs the folder.
    if (!QFileInfo(folder).isWritable()) {
        return Failure{
            QCoreApplication::translate("JournalDatabase",
                                        "the folder %1 is not writable, and the journal needs it")
                .arg(folder)};
    }
    int version = schemaVersion;
    if (!info.exists()) {
        if (const auto created = createJournalFile(path, connectionName); !created)
            return created.failure();
    }
    // One process at a time: each keeps its own picture of the journal and would overwrite
    // what another one saved.
    auto lock = JournalLock::take(path);
    if (!lock)
        return lock.failure();
    bool isNew = false;
    {
        Result<JournalHeader> header = readHeader(path);
        if (header && header->hasLog)
            header = readHeaderThroughLog(path, connectionName);
        if (!header)
            return header.failure();
        if (const auto usable = checkJournalVersion(*header, schemaVersion, path); !usable)
            return usable.failure();
        isNew = header->isEmpty;
        version = header->version;
    }

    std::unique_ptr<JournalDatabase> database(
        new JournalDatabase(path, connectionName, std::move(lock).value()));
    QSqlDatabase &db = database->m_connection;
    db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
    db.setDatabaseName(path);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=500"));
    if (!db.open())
        return Failure{db.lastError().text()};
    // A full sync at each commit: a saved word survives a power cut, not just a crash.
    if (const auto done = exec(db, QStringLiteral("PRAGMA foreign_keys = ON")); !done)
        return done.failure();
    const auto journalMode = exec(db, QStringLiteral("PRAGMA journal_mode = WAL"));
    if (!journalMode)
        return journalMode.failure();
    if (journalMode->toString().compare(QStringLiteral("wal"), Qt::CaseInsensitive) != 0)
        return Failure{
            QCoreApplication::translate("JournalDatabase", "%1 cannot keep a write-ahead log")
                .arg(path)};
    if (const auto done = exec(db, QStringLiteral("PRAGMA synchronous = FULL")); !done)
        return done.failure();
    if (isNew) {
        if (const auto created = createSchema(db); !created)
            return created.failure();
    } else if (version < schemaVersion) {
        if (const auto upgraded = upgradeSchema(db); !upgraded)
            return Failure{QCoreApplication::translate(
                               "JournalDatabase", "%1 could not be upgraded to this version: %2")
                               .arg(path, upgraded.error())};
    }
    return database;
}

Result<std::unique_ptr<JournalDatabase>> JournalDatabase::openReader(const QString &path)
{
    static std::atomic_int serial = 0;
    const QString connectionName = QStringLiteral("lumenquill-reader-%1").arg(++serial);
    std::unique_ptr<JournalDatabase> database(new JournalDatabase(path, connectionName, nullptr));
    QSqlDatabase &db = database->m_connection;
    db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
    db.setDatabaseName(path);
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=500"));
    if (!db.open())
        return Failure{db.lastError().text()};
    return database;
}

Result<void> JournalDatabase::checkStillInPlace() const
{
    return m_lock ? m_lock->checkStillInPlace() : Result<void>();
}

QSqlQuery &JournalDatabase::statement(const char *sql)
{
    return *m_statements.find(sql);
}

Result<void> JournalDatabase::run(const char *sql, const QVariantList &values)
{
    if (!m_statements.contains(sql)) {
        QSqlQuery prepared(m_connection);
        prepared.setForwardOnly(true);
        // A statement the journal's tables do not allow (after a change by hand, say) is
        // prepared again next time rather than kept broken.
        if (!prepared.prepare(QString::fromLatin1(sql)))
            return Failure{prepared.lastError().text()};
        m_statements.insert(sql, prepared);
    }
    QSqlQuery &query = statement(sql);
    for (qsizetype i = 0; i < values.size(); ++i)
        query.bindValue(int(i), values.at(i));
    if (!query.exec()) {
        const QString error = query.lastError().text();
        query.finish();
        return Failure{error};
    }
    return {};
}

namespace {

// Reads every row of a query that has just run, then lets go of it, so that no read stays
// open on the journal.
template<typename Row, typename Read>
QList<Row> readRows(QSqlQuery &query, Read read)
{
    QList<Row> rows;
    while (query.next())
        rows.append(read(query));
    query.finish();
    return rows;
}

} // namespace

Result<std::optional<NoteRow>> JournalDatabase::noteOnDay(QDate day)
{
    const char *sql = "SELECT id, content FROM notes WHERE day = ?";
    if (const auto done = run(sql, {dayKey(day)}); !done)
        return done.failure();
    const auto rows = readRows<NoteRow>(statement(sql), [day](const QSqlQuery &q) {
        return NoteRow{q.value(0).toLongLong(), day, q.value(1).toString()};
    });
    return rows.isEmpty() ? std::optional<NoteRow>() : std::optional<NoteRow>(rows.first());
}

Result<QString> JournalDatabase::noteText(RowId note)
{
    const char *sql = "SELECT content FROM notes WHERE id = ?";
    if (const auto done = run(sql, {note}); !done)
        return done.failure();
    const auto rows =
        readRows<QString>(statement(sql), [](const QSqlQuery &q) { return q.value(0).toString(); });
    if (rows.isEmpty())
        return Failure{
            QCoreApplication::translate("JournalDatabase", "the note is no longer in the journal")};
    return rows.first();
}

Result<QList<NoteRow>> JournalDatabase::notesOfTag(RowId tag)
{
    const char *sql = "SELECT n.id, n.day FROM note_tags l JOIN notes n ON n.id = l.note_id"
                      " WHERE l.tag_id = ? ORDER BY n.day DESC";
    if (const auto done = run(sql, {tag}); !done)
        return done.failure();
    auto notes = readRows<NoteRow>(statement(sql), [](const QSqlQuery &q) {
        return NoteRow{q.value(0).toLongLong(), dayFromKey(q.value(1)), QString()};
    });
    // A row whose day is not a day is left alone: it is never opened for editing.
    notes.removeIf([](const NoteRow &note) { return !note.day.isValid(); });
    return notes;
}

Result<QSet<QDate>> JournalDatabase::noteDaysBetween(QDate first, QDate last)
{
    const char *sql = "SELECT day FROM notes WHERE day BETWEEN ? AND ?";
    if (const auto done = run(sql, {dayKey(first), dayKey(last)}); !done)
        return done.failure();
    const auto days =
        readRows<QDate>(statement(sql), [](const QSqlQuery &q) { return dayFromKey(q.value(0)); });
    QSet<QDate> valid(days.cbegin(), days.cend());
    valid.remove(QDate());
    return valid;
}

namespace {

TagRow tagRow(const QSqlQuery &query)
{
    return TagRow{query.value(0).toLongLong(), query.value(1).toString(),
                  instantFromKey(query.value(2))};
}

} // namespace

Result<QList<TagRow>> JournalDatabase::tags()
{
    const char *sql = "SELECT id, name, created_at FROM tags ORDER BY id";
    if (const auto done = run(sql, {}); !done)
        return done.failure();
    return readRows<TagRow>(statement(sql), tagRow);
}

Result<QList<TagRow>> JournalDatabase::tagsOfNote(RowId note)
{
    const char *sql = "SELECT t.id, t.name, t.created_at FROM note_tags l"
                      " JOIN tags t ON t.id = l.tag_id WHERE l.note_id = ? ORDER BY l.rowid";
    if (const auto done = run(sql, {note}); !done)
        return done.failure();
    return readRows<TagRow>(statement(sql), tagRow);
}

namespace {

// A list bound as one value, which json_each() turns back into rows: a note with thousands
// of hashtags takes a few statements, not thousands.
QString jsonList(const QJsonArray &values)
{
    return QString::fromUtf8(QJsonDocument(values).toJson(QJsonDocument::Compact));
}

} // namespace

Result<QList<TagRow>> JournalDatabase::tagsNamed(const QStringList &names,
                                                 const QDateTime &createdAt, QList<TagRow> *created)
{
    if (names.isEmpty())
        return QList<TagRow>();
    if (createdAt != m_lastInstant) {
        m_lastInstant = createdAt;
        m_lastInstantKey = instantKey(createdAt);
    }
    const QString list = jsonList(QJsonArray::fromStringList(names));
    // WHERE true tells SQLite that ON CONFLICT belongs to the INSERT, not to a join.
    const char *insertSql = "INSERT INTO tags (name, created_at)"
                            " SELECT value, ? FROM json_each(?) WHERE true"
                            " ON CONFLICT (name) DO NOTHING RETURNING id, name";
    if (const auto done = run(insertSql, {m_lastInstantKey, list}); !done)
        return done.failure();
    QHash<QString, TagRow> found;
    for (const TagRow &tag : readRows<TagRow>(statement(insertSql), [&](const QSqlQuery &q) {
             return TagRow{q.value(0).toLongLong(), q.value(1).toString(), createdAt};
         }))
        found.insert(tag.name, tag);
    const QHash<QString, TagRow> made = found;

    if (found.size() < names.size()) {
        const char *sql = "SELECT id, name, created_at FROM tags"
                          " WHERE name IN (SELECT value FROM json_each(?))";
        if (const auto done = run(sql, {list}); !done)
            return done.failure();
        for (const TagRow &tag : readRows<TagRow>(statement(sql), tagRow))
            found.insert(tag.name, tag);
    }
    QList<TagRow> tags;
    tags.reserve(names.size());
    for (const QString &name : names) {
        const auto tag = found.constFind(name);
        if (tag == found.cend())
            return Failure{QCoreApplication::translate("JournalDatabase",
                                                       "the tag %1 can be neither made nor found")
                               .arg(name)};
        tags.append(*tag);
        if (made.contains(name))
            created->append(*tag);
    }
    return tags;
}

// Walks the links from the newest note back, through the indexes alone, until every tag
// that has notes has been met: usually within the last few weeks of the journal.
Result<QHash<RowId, QDate>> JournalDatabase::latestNoteDays()
{
    const char *countSql = "SELECT COUNT(DISTINCT tag_id) FROM note_tags";
    if (const auto done = run(countSql, {}); !done)
        return done.failure();
    QSqlQuery &count = statement(countSql);
    const qsizetype linkedTags = count.next() ? count.value(0).toLongLong() : 0;
    count.finish();

    const char *sql = "SELECT l.tag_id, n.day FROM notes n JOIN note_tags l ON l.note_id = n.id"
                      " ORDER BY n.day DESC";
    if (const auto done = run(sql, {}); !done)
        return done.failure();
    QSqlQuery &links = statement(sql);
    QHash<RowId, QDate> latest;
    while (latest.size() < linkedTags && links.next()) {
        const RowId tag = links.value(0).toLongLong();
        const QDate day = dayFromKey(links.value(1));
        if (day.isValid() && !latest.contains(tag))
            latest.insert(tag, day);
    }
    links.finish();
    return latest;
}

Result<QDate> JournalDatabase::latestNoteDay(RowId tag)
{
    const char *sql =
        "SELECT MAX(n.day) FROM note_tags l JOIN notes n ON n.id = l.note_id"
        " WHERE l.tag_id = ? AND n.day GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]'";
    if (const auto done = run(sql, {tag}); !done)
        return done.failure();
    const auto days =
        readRows<QDate>(statement(sql), [](const QSqlQuery &q) { return dayFromKey(q.value(0)); });
    return days.value(0);
}

Result<QHash<RowId, int>> JournalDatabase::noteCounts()
{
    const char *sql = "SELECT tag_id, COUNT(*) FROM note_tags GROUP BY tag_id";
    if (const auto done = run(sql, {}); !done)
        return done.failure();
    QSqlQuery &rows = statement(sql);
    QHash<RowId, int> counts;
    while (rows.next())
        counts.insert(rows.value(0).toLongLong(), rows.value(1).toInt());
    rows.finish();
    return counts;
}

Result<RowId> JournalDatabase::insertNote(QDate day, const QString &text)
{
    const char *sql = "INSERT INTO notes (day, content) VALUES (?, ?)";
    if (const auto done = run(sql, {dayKey(day), textValue(text)}); !done)
        return done.failure();
    return statement(sql).lastInsertId().toLongLong();
}

Result<void> JournalDatabase::setNoteText(RowId note, const QString &text)
{
    return run("UPDATE notes SET content = ? WHERE id = ?", {textValue(text), note});
}

Result<void> JournalDatabase::deleteTag(RowId tag)
{
    return run("DELETE FROM tags WHERE id = ?", {tag});
}

namespace {

QString jsonIds(const QList<TagRow> &tags)
{
    QJsonArray ids;
    for (const TagRow &tag : tags)
        ids.append(tag.id);
    return jsonList(ids);
}

} // namespace

Result<void> JournalDatabase::link(RowId note, const QList<TagRow> &tags)
{
    if (tags.isEmpty())
        return {};
    return run("INSERT OR IGNORE INTO note_tags (note_id, tag_id)"
               " SELECT ?, value FROM json_each(?)",
               {note, jsonIds(tags)});
}

Result<void> JournalDatabase::unlink(RowId note, const QList<TagRow> &tags)
{
    if (tags.isEmpty())
        return {};
    return run("DELETE FROM note_tags WHERE note_id = ? AND tag_id IN"
               " (SELECT value FROM json_each(?))",
               {note, jsonIds(tags)});
}

Result<QList<NoteRow>> JournalDatabase::searchNotes(const QString &query, int offset, int limit)
{
    // Walks the days from the newest through their index, which holds the note ids too,
    // and stops once the page is full: a word in every note fills it within the first days,
    // a rare one costs one pass over a small index. Sorting the matches instead would read
    // every matching row of the table first.
    const char *sql = "SELECT id, day, content FROM notes INDEXED BY sqlite_autoindex_notes_1"
                      " WHERE id IN (SELECT rowid FROM notes_search WHERE notes_search MATCH ?)"
                      " ORDER BY day DESC LIMIT ? OFFSET ?";
    if (const auto done = run(sql, {query, limit, offset}); !done)
        return done.failure();
    return readRows<NoteRow>(statement(sql), [](const QSqlQuery &q) {
        return NoteRow{q.value(0).toLongLong(), dayFromKey(q.value(1)), q.value(2).toString()};
    });
}

Result<void> JournalDatabase::forEachNote(const std::function<void(qsizetype count)> &counted,
                                          const std::function<bool(const NoteRow &note)> &visit)
{
    // One read transaction: the count and the notes are of the same moment, however the
    // journal is written meanwhile.
    const char *beginSql = "BEGIN";
    const char *commitSql = "COMMIT";
    if (const auto begun = run(beginSql, {}); !begun)
        return begun;
    const auto walk = [&]() -> Result<void> {
        const char *countSql = "SELECT count(*) FROM notes";
        if (const auto done = run(countSql, {}); !done)
            return done;
        const auto counts = readRows<qsizetype>(
            statement(countSql), [](const QSqlQuery &q) { return q.value(0).toLongLong(); });
        counted(counts.value(0));
        const char *sql = "SELECT id, day, content FROM notes ORDER BY day";
        if (const auto done = run(sql, {}); !done)
            return done;
        QSqlQuery &notes = statement(sql);
        bool going = true;
        while (going && notes.next()) {
            going = visit(NoteRow{notes.value(0).toLongLong(), dayFromKey(notes.value(1)),
                                  textValue(notes.value(2).toString())});
        }
        const QString error = notes.lastError().isValid() ? notes.lastError().text() : QString();
        notes.finish();
        if (!error.isEmpty())
            return Failure{error};
        return {};
    };
    const auto walked = walk();
    const auto ended = run(commitSql, {});
    statement(commitSql).finish();
    if (!walked)
        return walked;
    return ended;
}

Result<void> JournalDatabase::copyTo(const QString &target)
{
    const char *sql = "VACUUM INTO ?";
    const auto done = run(sql, {target});
    statement(sql).finish();
    return done;
}
