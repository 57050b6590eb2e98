#include "model/Tag.h"

#include "model/ModelContext.h"
#include "model/Note.h"

Tag::Tag(const QString &name, const QDateTime &createdAt, QObject *parent)
    : QObject(parent), m_name(name), m_createdAt(createdAt)
{}

Tag::Tag(ModelContext *context, PersistentIdentifier id, const QString &name,
         const QDateTime &createdAt)
    : QObject(context), m_context(context), m_id(id), m_name(name), m_createdAt(createdAt),
      m_notesLoaded(false)
{}

Tag::~Tag() = default;

void Tag::setName(const QString &name)
{
    if (name == m_name)
        return;
    m_name = name;
    if (m_context)
        m_context->tagChanged(this);
    Q_EMIT nameChanged();
}

void Tag::setCreatedAt(const QDateTime &createdAt)
{
    if (createdAt == m_createdAt)
        return;
    m_createdAt = createdAt;
    if (m_context)
        m_context->tagChanged(this);
    Q_EMIT createdAtChanged();
}

void Tag::ensureNotesLoaded() const
{
    if (!m_notesLoaded && m_context)
        m_context->loadNotes(this);
    m_notesLoaded = true;
}

QList<Note *> Tag::notes() const
{
    ensureNotesLoaded();
    return m_notes;
}

QDate Tag::latestNoteDay() const
{
    if (!m_latestNoteDay && !m_notesLoaded && m_context)
        m_context->loadLatestNoteDays();
    if (!m_latestNoteDay) {
        QDate latest;
        for (const Note *note : notes())
            latest = std::max(latest, note->day());
        m_latestNoteDay = latest;
    }
    return *m_latestNoteDay;
}

// Goes through the notes' side, which keeps both lists and the store in step; only the
// order asked for here is then taken over.
void Tag::setNotes(const QList<Note *> &notes)
{
    ensureNotesLoaded();
    const QList<Note *> current = m_notes;
    for (Note *note : current) {
        if (!notes.contains(note))
            note->removeTag(this);
    }
    for (Note *note : notes) {
        if (note)
            note->addTag(this);
    }
    QList<Note *> ordered;
    for (Note *note : notes) {
        if (note && !ordered.contains(note))
            ordered.append(note);
    }
    if (ordered != m_notes) {
        m_notes = ordered;
        Q_EMIT notesChanged();
    }
}
