#pragma once

#include "core/JournalDatabase.h"

#include <QList>

// What bringing one note's tags in line with its text changed in the journal.
struct TagSyncChanges
{
    QList<TagRow> created;
    QList<TagRow> linked;
    QList<TagRow> unlinked;
};

// Links the note to a tag for each hashtag of text, making the tags the journal lacks, and
// unlinks the tags whose hashtag is gone. Runs inside the caller's transaction. A tag that
// loses its last note stays in the journal.
Result<TagSyncChanges> syncTags(JournalDatabase &database, RowId note, const QString &text,
                                const QDateTime &now);
