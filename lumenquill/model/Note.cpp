#include "model/Note.h"

#include "model/ModelContext.h"
#include "model/Tag.h"

namespace {

QDate localDay(const QDateTime &instant)
{
    return instant.toLocalTime().date();
}

} // namespace

Note::Note(const QDateTime &date, const QString &content, QObject *parent)
    : QObject(parent), m_day(localDay(date)), m_content(content)
{}

Note::Note(ModelContext *context, PersistentIdentifier id, QDate day)
    : QObject(context), m_context(context), m_id(id), m_day(day), m_contentLoaded(false),
      m_tagsLoaded(false)
{}

Note::~Note() = default;

QDateTime Note::date() const
{
    return m_day.startOfDay();
}

void Note::setDate(const QDateTime &date)
{
    const QDate day = localDay(date);
    if (day == m_day)
        return;
    m_day = day;
    for (Tag *tag : tags())
        tag->m_latestNoteDay.reset();
    if (m_context)
        m_context->dateChanged(this);
    Q_EMIT dateChanged();
}

QString Note::content() const
{
    if (!m_contentLoaded && m_context)
        m_context->loadContent(this);
    return m_content;
}

void Note::setContent(const QString &content)
{
    if (m_contentLoaded && content == m_content)
        return;
    m_content = content;
    m_contentLoaded = true;
    if (m_context)
        m_context->contentChanged(this);
    Q_EMIT contentChanged();
}

void Note::ensureTagsLoaded() const
{
    if (!m_tagsLoaded && m_context)
        m_context->loadTags(this);
    m_tagsLoaded = true;
}

QList<Tag *> Note::tags() const
{
    ensureTagsLoaded();
    return m_tags;
}

void Note::setTags(const QList<Tag *> &tags)
{
    ensureTagsLoaded();
    QList<Tag *> wanted;
    for (Tag *tag : tags) {
        if (tag && !wanted.contains(tag))
            wanted.append(tag);
    }
    QList<Tag *> added;
    QList<Tag *> removed;
    for (Tag *tag : wanted) {
        if (!m_tags.contains(tag))
            added.append(tag);
    }
    for (Tag *tag : std::as_const(m_tags)) {
        if (!wanted.contains(tag))
            removed.append(tag);
    }
    if (added.isEmpty() && removed.isEmpty() && wanted == m_tags)
        return;
    m_tags = wanted;
    linkChanged(added, removed);
}

void Note::addTag(Tag *tag)
{
    ensureTagsLoaded();
    if (!tag || m_tags.contains(tag))
        return;
    m_tags.append(tag);
    linkChanged({tag}, {});
}

void Note::removeTag(Tag *tag)
{
    ensureTagsLoaded();
    if (!tag || !m_tags.removeAll(tag))
        return;
    linkChanged({}, {tag});
}

// Mirrors a change of this note's list on the tags' side, so both lists always agree.
// A tag whose list has not been loaded yet picks the change up when it loads.
void Note::linkChanged(const QList<Tag *> &added, const QList<Tag *> &removed)
{
    for (Tag *tag : added) {
        tag->m_latestNoteDay.reset();
        if (tag->m_notesLoaded && !tag->m_notes.contains(this))
            tag->m_notes.append(this);
        if (m_context)
            m_context->linkChanged(this, tag, true);
    }
    for (Tag *tag : removed) {
        tag->m_latestNoteDay.reset();
        if (tag->m_notesLoaded)
            tag->m_notes.removeAll(this);
        if (m_context)
            m_context->linkChanged(this, tag, false);
    }
    Q_EMIT tagsChanged();
    for (Tag *tag : added)
        Q_EMIT tag->notesChanged();
    for (Tag *tag : removed)
        Q_EMIT tag->notesChanged();
}
