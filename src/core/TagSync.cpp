#include "core/TagSync.h"

#include "core/Hashtags.h"

#include <QSet>

Result<TagSyncChanges> syncTags(JournalDatabase &database, RowId note, const QString &text,
                                const QDateTime &now)
{
    const QStringList names = extractHashtags(text);
    const auto current = database.tagsOfNote(note);
    if (!current)
        return current.failure();

    TagSyncChanges changes;
    QSet<QString> linked;
    for (const TagRow &tag : *current)
        linked.insert(tag.name);
    for (const QString &name : names) {
        if (linked.contains(name))
            continue;
        const auto existing = database.tagNamed(name);
        if (!existing)
            return existing.failure();
        TagRow tag;
        if (*existing) {
            tag = **existing;
        } else {
            const auto id = database.insertTag(name, now);
            if (!id)
                return id.failure();
            tag = TagRow{*id, name, now};
            changes.created.append(tag);
        }
        if (const auto done = database.link(note, tag.id); !done)
            return done.failure();
        changes.linked.append(tag);
    }

    const QSet<QString> wanted(names.cbegin(), names.cend());
    for (const TagRow &tag : *current) {
        if (wanted.contains(tag.name))
            continue;
        if (const auto done = database.unlink(note, tag.id); !done)
            return done.failure();
        changes.unlinked.append(tag);
    }
    return changes;
}
