#pragma once

#include <QStringList>

// The tag names in text, each once, in the order they first appear. A hashtag is a #
// followed by a run of ASCII letters, digits, underscores or hyphens, and its name is always
// the whole run, never a part of it. A run followed at once by a letter, a digit or a
// combining mark of another script is the start of a longer word (#café, #cafe + U+0301) and
// makes no name at all. Names keep their case: #Work and #work are two tags.
QStringList extractHashtags(const QString &text);
