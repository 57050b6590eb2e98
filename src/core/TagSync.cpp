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
        bool created = false;
        const auto tag = database.tagNamed(name, now, &created);
        if (!tag)
            return tag.failure();
        if (created)
            changes.created.append(*tag);
        if (const auto done = database.link(note, tag->id); !done)
            return done.failure();
        changes.linked.append(*tag);
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
