#include "model/ModelContext.h"

#include "model/Note.h"
#include "model/Tag.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>

namespace {

QString dayKey(QDate day)
{
    return day.toString(Qt::ISODate);
}

// SQLite keeps a null QString as NULL; a note's text is never NULL, at most empty.
QString textValue(const QString &text)
{
    return text.isNull() ? QStringLiteral("") : text;
}

QString instantKey(const QDateTime &instant)
{
    return instant.toUTC().toString(Qt::ISODateWithMs);
}

QDateTime instantFromKey(const QString &key)
{
    return QDateTime::fromString(key, Qt::ISODateWithMs).toLocalTime();
}

// Runs a statement with its values bound in order; the error, if any, goes to *error.
bool run(QSqlQuery &query, const QString &sql, const QVariantList &values, QString *error)
{
    if (!query.prepare(sql)) {
        *error = query.lastError().text();
        return false;
    }
    for (const QVariant &value : values)
        query.addBindValue(value);
    if (!query.exec()) {
        *error = query.lastError().text();
        return false;
    }
    return true;
}

} // namespace

ModelContext::ModelContext(const QString &connectionName, QObject *parent)
    : QObject(parent), m_connectionName(connectionName)
{
    qRegisterMetaType<Note *>();
    qRegisterMetaType<Tag *>();
    m_autosaveTimer.setSingleShot(true);
    connect(&m_autosaveTimer, &QTimer::timeout, this, &ModelContext::save);
}

ModelContext::~ModelContext()
{
    // Whatever is still pending when the store is closed is written now.
    if (hasChanges())
        save();
}

QSqlDatabase ModelContext::database() const
{
    return QSqlDatabase::database(m_connectionName, false);
}

void ModelContext::setAutosaveDelay(int milliseconds)
{
    m_autosaveDelay = milliseconds;
}

bool ModelContext::prepareIdentifiers(QString *error)
{
    // Identifiers are never reused, also after the row with the largest one was deleted.
    QSqlQuery query(database());
    if (!run(query,
             QStringLiteral(
                 "SELECT (SELECT COALESCE(MAX(id), 0) FROM notes),"
                 " (SELECT COALESCE(MAX(id), 0) FROM tags),"
                 " (SELECT COALESCE(MAX(seq), 0) FROM sqlite_sequence WHERE name = 'notes'),"
                 " (SELECT COALESCE(MAX(seq), 0) FROM sqlite_sequence WHERE name = 'tags')"),
             {}, error))
        return false;
    if (!query.next()) {
        *error = QStringLiteral("the journal's tables cannot be read");
        return false;
    }
    m_nextNoteId = std::max(query.value(0).toLongLong(), query.value(2).toLongLong()) + 1;
    m_nextTagId = std::max(query.value(1).toLongLong(), query.value(3).toLongLong()) + 1;
    return true;
}

bool ModelContext::insert(Note *note)
{
    if (!note || note->m_context)
        return note && note->m_context == this;
    // The program always looks a day up before creating its note; a second note for the
    // same day would make every later save fail, so it is refused here.
    const auto existing = fetchNote(note->m_day);
    if (existing.record || !existing.ok()) {
        qWarning("A note for %s is already in the journal, or the journal cannot be read; the"
                 " new one is not added.",
                 qPrintable(dayKey(note->m_day)));
        return false;
    }
    note->m_context = this;
    note->m_id = m_nextNoteId++;
    note->m_contentLoaded = true;
    note->m_tagsLoaded = true;
    note->setParent(this);
    m_notesById.insert(note->m_id, note);
    m_notesByDay.insert(note->m_day, note);
    m_insertedNotes.append(note);
    for (Tag *tag : std::as_const(note->m_tags)) {
        if (tag->m_context == this)
            linkChanged(note, tag, true);
    }
    Q_EMIT noteInserted(note);
    markChanged();
    return true;
}

bool ModelContext::insert(Tag *tag)
{
    if (!tag || tag->m_context)
        return tag && tag->m_context == this;
    const auto existing = fetchTag(tag->m_name);
    if (existing.record || !existing.ok()) {
        qWarning("A tag named %s is already in the journal, or the journal cannot be read; the"
                 " new one is not added.",
                 qPrintable(tag->m_name));
        return false;
    }
    tag->m_context = this;
    tag->m_id = m_nextTagId++;
    tag->m_notesLoaded = true;
    tag->setParent(this);
    m_tagsById.insert(tag->m_id, tag);
    m_tagsByName.insert(tag->m_name, tag);
    if (m_allTagsLoaded)
        m_allTags.append(tag);
    m_insertedTags.append(tag);
    for (Note *note : std::as_const(tag->m_notes)) {
        if (note->m_context == this)
            linkChanged(note, tag, true);
    }
    Q_EMIT tagInserted(tag);
    markChanged();
    return true;
}

void ModelContext::deleteTag(Tag *tag)
{
    if (!tag || tag->m_context != this)
        return;
    Q_EMIT tagAboutToBeDeleted(tag);

    const PersistentIdentifier id = tag->m_id;
    QList<Note *> unlinked;
    for (Note *note : std::as_const(m_notesById)) {
        if (note->m_tagsLoaded && note->m_tags.removeAll(tag))
            unlinked.append(note);
    }
    m_linkChanges.removeIf([id](const LinkChange &change) { return change.tag == id; });
    if (!m_insertedTags.removeAll(tag))
        m_deletedTags.append(id);
    m_changedTags.remove(tag);
    m_tagsById.remove(id);
    m_tagsByName.remove(tag->m_name);
    m_allTags.removeAll(tag);
    tag->m_notes.clear();
    tag->m_context = nullptr;

    for (Note *note : std::as_const(unlinked))
        Q_EMIT note->tagsChanged();
    markChanged();
    tag->deleteLater();
}

bool ModelContext::hasChanges() const
{
    return !m_insertedNotes.isEmpty() || !m_changedNotes.isEmpty() || !m_insertedTags.isEmpty() ||
           !m_changedTags.isEmpty() || !m_deletedTags.isEmpty() || !m_linkChanges.isEmpty();
}

QList<Note *> ModelContext::unsavedNotes() const
{
    // A new note that is still empty holds nothing to lose.
    QList<Note *> notes = m_insertedNotes;
    notes.removeIf([](const Note *note) { return note->m_content.isEmpty(); });
    for (Note *note : m_changedNotes)
        notes.append(note);
    return notes;
}

bool ModelContext::save()
{
    m_autosaveTimer.stop();
    if (!hasChanges()) {
        m_lastSaveError.clear();
        return true;
    }
    QSqlDatabase db = database();
    QString error;
    bool ok = db.transaction();
    if (!ok)
        error = db.lastError().text();
    if (ok)
        ok = writePending(&error);
    if (ok) {
        ok = db.commit();
        if (!ok)
            error = db.lastError().text();
    }
    if (!ok) {
        db.rollback();
        m_lastSaveError = error.isEmpty() ? QStringLiteral("unknown error") : error;
        m_autosaveTimer.start(m_retryDelay);
        Q_EMIT saveFinished(false);
        return false;
    }
    m_insertedNotes.clear();
    m_changedNotes.clear();
    m_insertedTags.clear();
    m_changedTags.clear();
    m_deletedTags.clear();
    m_linkChanges.clear();
    m_lastSaveError.clear();
    Q_EMIT saveFinished(true);
    return true;
}

bool ModelContext::writePending(QString *error)
{
    QSqlQuery query(database());
    // Deletions go first, so that a tag deleted and made again under the same name fits.
    for (PersistentIdentifier id : std::as_const(m_deletedTags)) {
        if (!run(query, QStringLiteral("DELETE FROM tags WHERE id = ?"), {id}, error))
            return false;
    }
    for (const Note *note : std::as_const(m_insertedNotes)) {
        if (!run(query, QStringLiteral("INSERT INTO notes (id, day, content) VALUES (?, ?, ?)"),
                 {note->m_id, dayKey(note->m_day), textValue(note->m_content)}, error))
            return false;
    }
    for (const Note *note : std::as_const(m_changedNotes)) {
        if (!run(query, QStringLiteral("UPDATE notes SET day = ?, content = ? WHERE id = ?"),
                 {dayKey(note->m_day), textValue(note->m_content), note->m_id}, error))
            return false;
    }
    for (const Tag *tag : std::as_const(m_insertedTags)) {
        if (!run(query, QStringLiteral("INSERT INTO tags (id, name, created_at) VALUES (?, ?, ?)"),
                 {tag->m_id, tag->m_name, instantKey(tag->m_createdAt)}, error))
            return false;
    }
    for (const Tag *tag : std::as_const(m_changedTags)) {
        if (!run(query, QStringLiteral("UPDATE tags SET name = ?, created_at = ? WHERE id = ?"),
                 {tag->m_name, instantKey(tag->m_createdAt), tag->m_id}, error))
            return false;
    }
    for (const LinkChange &change : std::as_const(m_linkChanges)) {
        const QString sql =
            change.linked
                ? QStringLiteral("INSERT OR IGNORE INTO note_tags (note_id, tag_id) VALUES (?, ?)")
                : QStringLiteral("DELETE FROM note_tags WHERE note_id = ? AND tag_id = ?");
        if (!run(query, sql, {change.note, change.tag}, error))
            return false;
    }
    return true;
}

FetchResult<Note> ModelContext::fetchNote(QDate day)
{
    if (Note *note = m_notesByDay.value(day))
        return {note, {}};
    QSqlQuery query(database());
    QString error;
    if (!run(query, QStringLiteral("SELECT id, content FROM notes WHERE day = ? LIMIT 1"),
             {dayKey(day)}, &error))
        return {nullptr, error};
    if (!query.next())
        return {};
    Note *note = noteHandle(query.value(0).toLongLong(), day);
    if (!note->m_contentLoaded) {
        note->m_content = query.value(1).toString();
        note->m_contentLoaded = true;
    }
    return {note, {}};
}

FetchResult<Tag> ModelContext::fetchTag(const QString &name)
{
    if (Tag *tag = m_tagsByName.value(name))
        return {tag, {}};
    QSqlQuery query(database());
    QString error;
    if (!run(query, QStringLiteral("SELECT id, created_at FROM tags WHERE name = ? LIMIT 1"),
             {name}, &error))
        return {nullptr, error};
    if (!query.next())
        return {};
    const PersistentIdentifier id = query.value(0).toLongLong();
    if (m_deletedTags.contains(id))
        return {};
    return {tagHandle(id, name, instantFromKey(query.value(1).toString())), {}};
}

QList<Note *> ModelContext::allNotes()
{
    QList<Note *> notes;
    QSqlQuery query(database());
    QString error;
    if (run(query, QStringLiteral("SELECT id, day FROM notes ORDER BY day DESC"), {}, &error)) {
        while (query.next()) {
            notes.append(noteHandle(query.value(0).toLongLong(),
                                    QDate::fromString(query.value(1).toString(), Qt::ISODate)));
        }
    } else {
        qWarning("Cannot list the journal's notes: %s", qPrintable(error));
    }
    for (Note *note : std::as_const(m_insertedNotes))
        notes.append(note);
    std::stable_sort(notes.begin(), notes.end(),
                     [](const Note *a, const Note *b) { return a->m_day > b->m_day; });
    return notes;
}

QList<Tag *> ModelContext::allTags()
{
    if (m_allTagsLoaded)
        return m_allTags;
    QSqlQuery query(database());
    QString error;
    if (!run(query, QStringLiteral("SELECT id, name, created_at FROM tags ORDER BY id"), {},
             &error)) {
        qWarning("Cannot list the journal's tags: %s", qPrintable(error));
        return m_insertedTags;
    }
    QList<Tag *> tags;
    while (query.next()) {
        const PersistentIdentifier id = query.value(0).toLongLong();
        if (!m_deletedTags.contains(id)) {
            tags.append(tagHandle(id, query.value(1).toString(),
                                  instantFromKey(query.value(2).toString())));
        }
    }
    tags.append(m_insertedTags);
    m_allTags = tags;
    m_allTagsLoaded = true;
    return m_allTags;
}

QSet<QDate> ModelContext::noteDaysBetween(QDate first, QDate last)
{
    QSet<QDate> days;
    QSqlQuery query(database());
    QString error;
    if (run(query, QStringLiteral("SELECT day FROM notes WHERE day BETWEEN ? AND ?"),
            {dayKey(first), dayKey(last)}, &error)) {
        while (query.next())
            days.insert(QDate::fromString(query.value(0).toString(), Qt::ISODate));
    } else {
        qWarning("Cannot read which days have notes: %s", qPrintable(error));
    }
    for (const Note *note : std::as_const(m_insertedNotes)) {
        if (note->m_day >= first && note->m_day <= last)
            days.insert(note->m_day);
    }
    return days;
}

Note *ModelContext::noteHandle(PersistentIdentifier id, QDate day)
{
    if (Note *note = m_notesById.value(id))
        return note;
    auto *note = new Note(this, id, day);
    m_notesById.insert(id, note);
    m_notesByDay.insert(day, note);
    return note;
}

Tag *ModelContext::tagHandle(PersistentIdentifier id, const QString &name,
                             const QDateTime &createdAt)
{
    if (Tag *tag = m_tagsById.value(id))
        return tag;
    auto *tag = new Tag(this, id, name, createdAt);
    m_tagsById.insert(id, tag);
    m_tagsByName.insert(name, tag);
    return tag;
}

void ModelContext::loadContent(const Note *note)
{
    QSqlQuery query(database());
    QString error;
    if (!run(query, QStringLiteral("SELECT content FROM notes WHERE id = ?"), {note->m_id},
             &error) ||
        !query.next()) {
        // Left unloaded, so a later read tries again rather than taking an empty text.
        qWarning("Cannot read the note of %s: %s", qPrintable(dayKey(note->m_day)),
                 qPrintable(error));
        return;
    }
    note->m_content = query.value(0).toString();
    note->m_contentLoaded = true;
}

void ModelContext::loadTags(const Note *note)
{
    QList<Tag *> tags;
    QSqlQuery query(database());
    QString error;
    if (run(query,
            QStringLiteral("SELECT t.id, t.name, t.created_at FROM note_tags l"
                           " JOIN tags t ON t.id = l.tag_id WHERE l.note_id = ? ORDER BY l.rowid"),
            {note->m_id}, &error)) {
        while (query.next()) {
            const PersistentIdentifier id = query.value(0).toLongLong();
            if (!m_deletedTags.contains(id)) {
                tags.append(tagHandle(id, query.value(1).toString(),
                                      instantFromKey(query.value(2).toString())));
            }
        }
    } else {
        qWarning("Cannot read the tags of %s: %s", qPrintable(dayKey(note->m_day)),
                 qPrintable(error));
    }
    for (const LinkChange &change : std::as_const(m_linkChanges)) {
        if (change.note != note->m_id)
            continue;
        Tag *tag = m_tagsById.value(change.tag);
        if (change.linked && tag && !tags.contains(tag))
            tags.append(tag);
        else if (!change.linked)
            tags.removeAll(tag);
    }
    note->m_tags = tags;
}

void ModelContext::loadNotes(const Tag *tag)
{
    QList<Note *> notes;
    QSqlQuery query(database());
    QString error;
    if (run(query,
            QStringLiteral("SELECT n.id, n.day FROM note_tags l JOIN notes n ON n.id = l.note_id"
                           " WHERE l.tag_id = ? ORDER BY l.rowid"),
            {tag->m_id}, &error)) {
        while (query.next()) {
            notes.append(noteHandle(query.value(0).toLongLong(),
                                    QDate::fromString(query.value(1).toString(), Qt::ISODate)));
        }
    } else {
        qWarning("Cannot read the notes of the tag %s: %s", qPrintable(tag->m_name),
                 qPrintable(error));
    }
    for (const LinkChange &change : std::as_const(m_linkChanges)) {
        if (change.tag != tag->m_id)
            continue;
        Note *note = m_notesById.value(change.note);
        if (change.linked && note && !notes.contains(note))
            notes.append(note);
        else if (!change.linked)
            notes.removeAll(note);
    }
    tag->m_notes = notes;
}

// Walks the links from the newest note back, through the indexes alone, until every tag
// that has notes has been met: usually within the last few weeks of the journal. Tags with
// unsaved link changes are left to work it out from their notes.
void ModelContext::loadLatestNoteDays()
{
    QSqlQuery count(database());
    QSqlQuery links(database());
    links.setForwardOnly(true);
    QString error;
    if (!run(count, QStringLiteral("SELECT COUNT(DISTINCT tag_id) FROM note_tags"), {}, &error) ||
        !count.next() ||
        !run(links,
             QStringLiteral("SELECT l.tag_id, n.day FROM notes n JOIN note_tags l ON"
                            " l.note_id = n.id ORDER BY n.day DESC"),
             {}, &error)) {
        qWarning("Cannot read the tags' latest days: %s", qPrintable(error));
        return;
    }
    const qsizetype linkedTags = count.value(0).toLongLong();
    QHash<PersistentIdentifier, QDate> latest;
    while (latest.size() < linkedTags && links.next()) {
        const PersistentIdentifier tag = links.value(0).toLongLong();
        if (!latest.contains(tag))
            latest.insert(tag, QDate::fromString(links.value(1).toString(), Qt::ISODate));
    }
    QSet<PersistentIdentifier> changing;
    for (const LinkChange &change : std::as_const(m_linkChanges))
        changing.insert(change.tag);
    for (Tag *tag : std::as_const(m_tagsById)) {
        if (!tag->m_latestNoteDay && !tag->m_notesLoaded && !changing.contains(tag->m_id))
            tag->m_latestNoteDay = latest.value(tag->m_id);
    }
}

void ModelContext::contentChanged(Note *note)
{
    if (!m_insertedNotes.contains(note))
        m_changedNotes.insert(note);
    markChanged();
}

void ModelContext::dateChanged(Note *note)
{
    // The whole row is written, so its text must be in memory first.
    if (!note->m_contentLoaded)
        loadContent(note);
    m_notesByDay.remove(m_notesByDay.key(note));
    m_notesByDay.insert(note->m_day, note);
    contentChanged(note);
}

void ModelContext::tagChanged(Tag *tag)
{
    m_tagsByName.remove(m_tagsByName.key(tag));
    m_tagsByName.insert(tag->m_name, tag);
    if (!m_insertedTags.contains(tag))
        m_changedTags.insert(tag);
    markChanged();
}

void ModelContext::linkChanged(Note *note, Tag *tag, bool linked)
{
    if (note->m_context != this || tag->m_context != this)
        return;
    m_linkChanges.append({note->m_id, tag->m_id, linked});
    markChanged();
}

void ModelContext::markChanged()
{
    if (!m_autosaveTimer.isActive())
        m_autosaveTimer.start(m_autosaveDelay);
    Q_EMIT changed();
}
