#pragma once

#include <QStringList>

// The tag names in text, each once, in the order they first appear. A hashtag is a #
// followed by a run of ASCII letters, digits, underscores or hyphens, and its name is always
// the whole run, never a part of it. Names keep their case: #Work and #work are two tags.
QStringList extractHashtags(const QString &text);
