#include "core/Journal.h"

#include "core/TagSync.h"

#include <QCoreApplication>

#include <algorithm>

namespace {

constexpr int defaultRetryInterval = 5000;
// About a line and a half of the result list.
constexpr int snippetWords = 24;

} // namespace

// What one save wrote, applied to the records only once the transaction has committed.
struct Journal::Written
{
    struct Link
    {
        Note *note;
        TagRow tag;
        bool linked;
    };
    QHash<Note *, RowId> newNoteIds;
    QList<TagRow> createdTags;
    QList<Link> links;
};

Result<std::unique_ptr<Journal>> Journal::open(const QString &path)
{
    auto database = JournalDatabase::open(path);
    if (!database)
        return database.failure();
    return std::make_unique<Journal>(std::move(database).value());
}

const QString Journal::importSeparator = QStringLiteral("\n\n---\n\n");

Journal::Journal(std::unique_ptr<JournalDatabase> database, QObject *parent)
    : QObject(parent), m_database(std::move(database)), m_backup(m_database->path())
{
    m_retryTimer.setSingleShot(true);
    m_retryTimer.setInterval(defaultRetryInterval);
    connect(&m_retryTimer, &QTimer::timeout, this, &Journal::save);
}

Journal::~Journal()
{
    if (hasUnsavedChanges())
        save();
    qDeleteAll(m_notesByDay);
    qDeleteAll(m_tagsById);
    qDeleteAll(m_removedTags);
}

Note *Journal::noteRecord(RowId id, QDate day)
{
    if (Note *note = m_notesById.value(id))
        return note;
    auto *note = new Note{id, day, std::nullopt};
    m_notesById.insert(id, note);
    m_notesByDay.insert(day, note);
    return note;
}

Tag *Journal::tagRecord(const TagRow &row)
{
    if (Tag *tag = m_tagsById.value(row.id))
        return tag;
    auto *tag = new Tag{row.id, row.name, row.createdAt};
    m_tagsById.insert(row.id, tag);
    return tag;
}

Result<const Note *> Journal::noteForDay(QDate day)
{
    Note *note = m_notesByDay.value(day);
    if (!note) {
        const auto row = m_database->noteOnDay(day);
        if (!row)
            return row.failure();
        if (*row) {
            note = noteRecord((*row)->id, day);
            note->text = (*row)->text;
            return note;
        }
        note = new Note{0, day, QStringLiteral("")};
        m_notesByDay.insert(day, note);
        m_unsavedNotes.append(note);
        Q_EMIT noteAdded(note);
        save();
        return note;
    }
    if (const auto loaded = text(note); !loaded)
        return loaded.failure();
    return note;
}

Result<QString> Journal::text(const Note *note)
{
    Note *record = m_notesByDay.value(note->day);
    if (record != note)
        return Failure{QCoreApplication::translate("Journal", "the note is not in this journal")};
    if (!record->text) {
        const auto loaded = m_database->noteText(record->id);
        if (!loaded)
            return loaded;
        record->text = *loaded;
    }
    return *record->text;
}

void Journal::setText(const Note *note, const QString &text)
{
    Note *record = m_notesByDay.value(note->day);
    if (record != note || (record->text && sameText(*record->text, text)))
        return;
    record->text = text;
    if (!m_unsavedNotes.contains(record))
        m_unsavedNotes.append(record);
    Q_EMIT noteTextChanged(record);
    save();
}

Result<QSet<QDate>> Journal::noteDaysBetween(QDate first, QDate last)
{
    auto days = m_database->noteDaysBetween(first, last);
    if (!days)
        return days;
    QSet<QDate> withNew = std::move(days).value();
    for (const Note *note : std::as_const(m_unsavedNotes)) {
        if (note->day >= first && note->day <= last)
            withNew.insert(note->day);
    }
    return withNew;
}

Result<QList<const Tag *>> Journal::tags()
{
    if (!m_tagsLoaded) {
        const auto rows = m_database->tags();
        if (!rows)
            return rows.failure();
        m_tags.clear();
        for (const TagRow &row : *rows)
            m_tags.append(tagRecord(row));
        m_tagsLoaded = true;
    }
    return m_tags;
}

Result<QList<const Note *>> Journal::notesOfTag(const Tag *tag)
{
    const auto rows = m_database->notesOfTag(tag->id);
    if (!rows)
        return rows.failure();
    QList<const Note *> notes;
    notes.reserve(rows->size());
    for (const NoteRow &row : *rows)
        notes.append(noteRecord(row.id, row.day));
    return notes;
}

Result<QDate> Journal::latestNoteDay(const Tag *tag)
{
    if (!m_latestNoteDaysLoaded) {
        auto days = m_database->latestNoteDays();
        if (!days)
            return days.failure();
        m_latestNoteDays = std::move(days).value();
        m_latestNoteDaysLoaded = true;
        // The walk meets every tag that has notes; the others have none.
        for (const Tag *known : std::as_const(m_tagsById))
            if (!m_latestNoteDays.contains(known->id))
                m_latestNoteDays.insert(known->id, QDate());
    }
    if (const auto found = m_latestNoteDays.constFind(tag->id); found != m_latestNoteDays.cend())
        return *found;
    const auto day = m_database->latestNoteDay(tag->id);
    if (day)
        m_latestNoteDays.insert(tag->id, *day);
    return day;
}

Result<QHash<const Tag *, int>> Journal::noteCounts()
{
    // The counts are keyed by the records, which exist once the tags have been read.
    if (const auto known = tags(); !known)
        return known.failure();
    const auto rows = m_database->noteCounts();
    if (!rows)
        return rows.failure();
    QHash<const Tag *, int> counts;
    counts.reserve(rows->size());
    for (auto it = rows->cbegin(); it != rows->cend(); ++it) {
        if (const Tag *tag = m_tagsById.value(it.key()))
            counts.insert(tag, it.value());
    }
    return counts;
}

void Journal::removeTag(const Tag *tag)
{
    Tag *record = m_tagsById.value(tag->id);
    if (record != tag)
        return;
    Q_EMIT tagAboutToBeRemoved(record);
    m_tagsById.remove(record->id);
    m_tags.removeOne(record);
    m_latestNoteDays.remove(record->id);
    m_removedTags.append(record);
    m_removedTagIds.append(record->id);
    save();
}

Result<SearchHits> Journal::search(const QString &typed, int offset, int limit)
{
    const QString query = fullTextQuery(typed);
    if (query.isEmpty())
        return SearchHits{};
    const auto rows = m_database->searchNotes(query, offset, limit);
    if (!rows)
        return rows.failure();
    SearchHits page;
    page.hasMore = rows->size() == limit;
    for (const NoteRow &row : *rows) {
        // A row whose day is not a day is never opened.
        if (!row.day.isValid())
            continue;
        MarkedText snippet = matchSnippet(row.text, typed, snippetWords);
        page.hits.append(
            {noteRecord(row.id, row.day), std::move(snippet.text), std::move(snippet.matches)});
    }
    return page;
}

Result<ImportSummary> Journal::importDays(const QList<DayText> &days)
{
    ImportSummary summary;
    QSet<const Note *> pending(m_unsavedNotes.cbegin(), m_unsavedNotes.cend());
    for (const DayText &imported : days) {
        Note *record = m_notesByDay.value(imported.day);
        if (!record) {
            const auto row = m_database->noteOnDay(imported.day);
            if (!row)
                return row.failure();
            if (*row) {
                record = noteRecord((*row)->id, imported.day);
                record->text = (*row)->text;
            }
        } else if (const auto loaded = text(record); !loaded) {
            return loaded.failure();
        }
        if (!record) {
            record = new Note{0, imported.day, imported.text};
            m_notesByDay.insert(imported.day, record);
            m_unsavedNotes.append(record);
            pending.insert(record);
            ++summary.added;
            Q_EMIT noteAdded(record);
            continue;
        }
        const QString &current = *record->text;
        if (imported.text.isEmpty() || sameText(current, imported.text) ||
            current.endsWith(importSeparator + imported.text)) {
            ++summary.unchanged;
            continue;
        }
        if (current.isEmpty()) {
            record->text = imported.text;
            ++summary.added;
        } else {
            record->text = current + importSeparator + imported.text;
            ++summary.merged;
        }
        if (!pending.contains(record)) {
            m_unsavedNotes.append(record);
            pending.insert(record);
        }
        Q_EMIT noteTextChanged(record);
    }
    save();
    return summary;
}

bool Journal::hasUnsavedChanges() const
{
    return !m_unsavedNotes.isEmpty() || !m_removedTagIds.isEmpty();
}

QList<const Note *> Journal::unsavedNotes() const
{
    QList<const Note *> notes;
    for (const Note *note : m_unsavedNotes) {
        if (note->id != 0 || !note->text->isEmpty())
            notes.append(note);
    }
    std::sort(notes.begin(), notes.end(),
              [](const Note *a, const Note *b) { return a->day < b->day; });
    return notes;
}

bool Journal::save()
{
    m_retryTimer.stop();
    m_unsavedWork.set(hasUnsavedChanges());
    if (!hasUnsavedChanges()) {
        setSaveError(QString());
        return true;
    }
    const auto written = writePending();
    if (!written) {
        setSaveError(written.error());
        m_retryTimer.start();
        return false;
    }
    takeWritten(*written);
    m_unsavedWork.set(false);
    setSaveError(QString());
    m_backup.backUpIfDue();
    return true;
}

Result<Journal::Written> Journal::writePending()
{
    if (const auto inPlace = m_database->checkStillInPlace(); !inPlace)
        return inPlace.failure();
    Transaction transaction = m_database->transaction();
    if (!transaction.isActive())
        return Failure{transaction.error()};
    // Removals go first, so that a tag removed and made again under the same name fits.
    for (const RowId tag : std::as_const(m_removedTagIds)) {
        if (const auto done = m_database->deleteTag(tag); !done)
            return done.failure();
    }
    Written written;
    // In UTC: turning a local time into UTC asks the system for its time zone each time.
    const QDateTime now = QDateTime::currentDateTimeUtc();
    for (Note *note : std::as_const(m_unsavedNotes)) {
        RowId id = note->id;
        if (id == 0) {
            const auto inserted = m_database->insertNote(note->day, *note->text);
            if (!inserted)
                return inserted.failure();
            id = *inserted;
            written.newNoteIds.insert(note, id);
        } else if (const auto done = m_database->setNoteText(id, *note->text); !done) {
            return done.failure();
        }
        const auto changes = syncTags(*m_database, id, *note->text, now);
        if (!changes)
            return changes.failure();
        written.createdTags.append(changes->created);
        for (const TagRow &tag : changes->linked)
            written.links.append({note, tag, true});
        for (const TagRow &tag : changes->unlinked)
            written.links.append({note, tag, false});
    }
    if (const auto committed = transaction.commit(); !committed)
        return committed.failure();
    return written;
}

void Journal::takeWritten(const Written &written)
{
    for (auto it = written.newNoteIds.cbegin(); it != written.newNoteIds.cend(); ++it) {
        it.key()->id = it.value();
        m_notesById.insert(it.value(), it.key());
    }
    m_unsavedNotes.clear();
    m_removedTagIds.clear();

    QList<const Tag *> created;
    for (const TagRow &row : written.createdTags) {
        Tag *tag = tagRecord(row);
        if (m_tagsLoaded)
            m_tags.append(tag);
        if (m_latestNoteDaysLoaded)
            m_latestNoteDays.insert(tag->id, QDate());
        created.append(tag);
    }
    QList<TagLink> links;
    links.reserve(written.links.size());
    for (const Written::Link &link : written.links) {
        const Tag *tag = tagRecord(link.tag);
        const QDate day = link.note->day;
        if (const auto latest = m_latestNoteDays.find(tag->id); latest != m_latestNoteDays.end()) {
            // A tag that lost its latest note has its latest day looked up again when asked.
            if (link.linked && (!latest->isValid() || *latest < day))
                *latest = day;
            else if (!link.linked && *latest == day)
                m_latestNoteDays.erase(latest);
        }
        links.append({tag, link.note, link.linked});
    }
    if (!created.isEmpty())
        Q_EMIT tagsAdded(created);
    if (!links.isEmpty())
        Q_EMIT linksChanged(links);
}

void Journal::setSaveError(const QString &error)
{
    if (error == m_saveError)
        return;
    m_saveError = error;
    Q_EMIT saveErrorChanged(error);
}
