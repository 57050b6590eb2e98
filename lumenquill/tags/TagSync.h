#pragma once

#include <QString>

class ModelContext;
class Note;
class Tag;

// Brings the note's tag links in line with the hashtags of its text, then saves the store.
// New names are looked up (or created) one by one; names already linked cost nothing.
// A tag that loses its last note stays in the store. A failed save is left to the context,
// which keeps the changes pending and retries.
void updateTags(ModelContext *context, Note *note, const QString &text);

// The tag of that name, created and inserted when the store has none. A store that cannot
// be read stops the program: going on would create a second tag of the same name.
Tag *fetchOrCreateTag(ModelContext *context, const QString &name);
