#include "model/ModelContainer.h"

#include "model/ModelContext.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QVariant>
#include <QtEndian>

namespace {

// "LQJ1": marks a SQLite file as a LumenQuill journal.
constexpr int applicationId = 0x4C514A31;
constexpr int sqliteHeaderSize = 100;

QString versionText(int version)
{
    return QStringLiteral("%1.%2.%3")
        .arg(version / 10000)
        .arg(version / 100 % 100)
        .arg(version % 100);
}

// What the file's own header says. While a write-ahead log holds pages, the header may be
// older than the journal, and only SQLite can tell.
struct Header
{
    bool hasLog = false;
    bool isEmpty = false;
    int applicationId = 0;
    int userVersion = 0;
};

// Reads the file's header without SQLite, which would otherwise treat a truncated or empty
// file as an empty database and start writing into it.
bool checkFile(const QString &path, Header *result, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return false;
    }
    const QByteArray header = file.read(sqliteHeaderSize);
    if (header.size() < sqliteHeaderSize ||
        !header.startsWith(QByteArrayView("SQLite format 3\0", 16))) {
        *error = header.isEmpty()
                     ? QStringLiteral("%1 is empty, not a journal").arg(path)
                     : QStringLiteral("%1 is not a journal (not an SQLite database)").arg(path);
        return false;
    }
    const auto *bytes = reinterpret_cast<const uchar *>(header.constData());
    const quint32 rawPageSize = qFromBigEndian<quint16>(bytes + 16);
    const qint64 pageSize = rawPageSize == 1 ? 65536 : rawPageSize;
    const quint32 changeCounter = qFromBigEndian<quint32>(bytes + 24);
    const quint32 pageCount = qFromBigEndian<quint32>(bytes + 28);
    const quint32 schemaCookie = qFromBigEndian<quint32>(bytes + 40);
    const quint32 validFor = qFromBigEndian<quint32>(bytes + 92);
    result->hasLog = QFileInfo(path + QStringLiteral("-wal")).size() > 0;
    result->isEmpty = schemaCookie == 0;
    result->userVersion = qFromBigEndian<qint32>(bytes + 60);
    result->applicationId = qFromBigEndian<qint32>(bytes + 68);
    if (changeCounter == validFor && !result->hasLog && file.size() < pageSize * pageCount) {
        *error = QStringLiteral("%1 is truncated: %2 of %3 bytes are there")
                     .arg(path)
                     .arg(file.size())
                     .arg(pageSize * pageCount);
        return false;
    }
    return true;
}

bool checkVersions(const QString &path, const Header &header, QString *error)
{
    if (header.isEmpty)
        return true;
    if (header.applicationId != applicationId) {
        *error = QStringLiteral("%1 is an SQLite database but not a journal").arg(path);
        return false;
    }
    if (header.userVersion > ModelContainer::schemaVersion) {
        *error = QStringLiteral("%1 was written by a newer version of LumenQuill (store version "
                                "%2; this version reads %3 and older)")
                     .arg(path, versionText(header.userVersion),
                          versionText(ModelContainer::schemaVersion));
        return false;
    }
    return true;
}

bool exec(QSqlDatabase &db, const QString &sql, QString *error, QVariant *result = nullptr)
{
    QSqlQuery query(db);
    if (!query.exec(sql)) {
        *error = query.lastError().text();
        return false;
    }
    if (result)
        *result = query.next() ? query.value(0) : QVariant();
    return true;
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

// Reads the header values through SQLite, which folds in the write-ahead log, on a
// read-only connection so that nothing is written to a file that turns out to be unusable.
bool readThroughLog(const QString &path, const QString &connectionName, Header *header,
                    QString *error)
{
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        QVariant appId, version, tableCount;
        if (!db.open()) {
            *error = db.lastError().text();
        } else if (exec(db, QStringLiteral("PRAGMA application_id"), error, &appId) &&
                   exec(db, QStringLiteral("PRAGMA user_version"), error, &version) &&
                   exec(db, QStringLiteral("SELECT count(*) FROM sqlite_schema"), error,
                        &tableCount)) {
            header->applicationId = appId.toInt();
            header->userVersion = version.toInt();
            header->isEmpty = tableCount.toInt() == 0;
            ok = true;
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(connectionName);
    return ok;
}

bool createSchema(QSqlDatabase &db, QString *error)
{
    if (!db.transaction()) {
        *error = db.lastError().text();
        return false;
    }
    for (const char *statement : schemaStatements) {
        if (!exec(db, QString::fromLatin1(statement), error)) {
            db.rollback();
            return false;
        }
    }
    if (!exec(db, QStringLiteral("PRAGMA application_id = %1").arg(applicationId), error) ||
        !exec(db, QStringLiteral("PRAGMA user_version = %1").arg(ModelContainer::schemaVersion),
              error)) {
        db.rollback();
        return false;
    }
    if (!db.commit()) {
        *error = db.lastError().text();
        return false;
    }
    return true;
}

} // namespace

ModelContainer::ModelContainer(const QString &path, const QString &connectionName,
                               std::unique_ptr<QLockFile> lock)
    : m_lock(std::move(lock)), m_path(path), m_connectionName(connectionName),
      m_context(std::make_unique<ModelContext>(connectionName))
{}

ModelContainer::~ModelContainer()
{
    m_context.reset();
    {
        QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_connectionName);
}

QString ModelContainer::defaultStorePath()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
        .filePath(QStringLiteral("journal.sqlite"));
}

std::unique_ptr<ModelContainer> ModelContainer::open(const QString &path, QString *error)
{
    static int serial = 0;
    const QString connectionName = QStringLiteral("lumenquill-%1").arg(++serial);

    const QFileInfo info(path);
    bool isNew = !info.exists();
    if (info.isDir()) {
        *error = QStringLiteral("%1 is a folder, not a journal file").arg(path);
        return nullptr;
    }
    if (!QDir().mkpath(info.absolutePath())) {
        *error = QStringLiteral("cannot create the folder %1").arg(info.absolutePath());
        return nullptr;
    }
    // One process at a time: each keeps its own picture of the journal and would overwrite
    // what another one saved. A lock left by a process that has died is taken over.
    auto lock = std::make_unique<QLockFile>(path + QStringLiteral(".lock"));
    lock->setStaleLockTime(0);
    if (!lock->tryLock()) {
        qint64 pid = 0;
        QString host, application;
        lock->getLockInfo(&pid, &host, &application);
        *error = lock->error() == QLockFile::LockFailedError
                     ? QStringLiteral("%1 is already open in another LumenQuill (process %2)")
                           .arg(path)
                           .arg(pid)
                     : QStringLiteral("cannot create the lock file %1.lock").arg(path);
        return nullptr;
    }
    if (!isNew) {
        Header header;
        if (!checkFile(path, &header, error) ||
            (header.hasLog && !readThroughLog(path, connectionName, &header, error)) ||
            !checkVersions(path, header, error))
            return nullptr;
        isNew = header.isEmpty;
    }

    std::unique_ptr<ModelContainer> container(
        new ModelContainer(path, connectionName, std::move(lock)));
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
    db.setDatabaseName(path);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=500"));
    QVariant journalMode;
    if (!db.open()) {
        *error = db.lastError().text();
        return nullptr;
    }
    // A full sync at each commit: a saved word survives a power cut, not just a crash.
    if (!exec(db, QStringLiteral("PRAGMA foreign_keys = ON"), error) ||
        !exec(db, QStringLiteral("PRAGMA journal_mode = WAL"), error, &journalMode) ||
        !exec(db, QStringLiteral("PRAGMA synchronous = FULL"), error))
        return nullptr;
    if (journalMode.toString().compare(QStringLiteral("wal"), Qt::CaseInsensitive) != 0) {
        *error = QStringLiteral("%1 cannot keep a write-ahead log").arg(path);
        return nullptr;
    }
    if (isNew && !createSchema(db, error))
        return nullptr;
    if (!container->m_context->prepareIdentifiers(error))
        return nullptr;
    return container;
}
