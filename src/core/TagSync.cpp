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
    QStringList added;
    for (const QString &name : names) {
        if (!linked.contains(name))
            added.append(name);
    }
    const auto tags = database.tagsNamed(added, now, &changes.created);
    if (!tags)
        return tags.failure();
    if (const auto done = database.link(note, *tags); !done)
        return done.failure();
    changes.linked = *tags;

    const QSet<QString> wanted(names.cbegin(), names.cend());
    for (const TagRow &tag : *current) {
        if (!wanted.contains(tag.name))
            changes.unlinked.append(tag);
    }
    if (const auto done = database.unlink(note, changes.unlinked); !done)
        return done.failure();
    return changes;
}
