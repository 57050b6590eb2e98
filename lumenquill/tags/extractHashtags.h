#pragma once

#include <QSet>
#include <QString>
#include <QStringView>

#include <optional>

// A hashtag is a # followed by a run of ASCII letters, digits, underscores or hyphens; the
// lookahead makes the name always the whole run, never a part of it.
inline constexpr QStringView hashtagPattern = u"#([a-zA-Z0-9_-]+)(?![a-zA-Z0-9_-])";

// Returns the set of tag names in text, or std::nullopt when the pattern cannot be compiled.
std::optional<QSet<QString>> extractHashtags(const QString &text);

// The same with another pattern, whose first capture group is the name; std::nullopt stands
// for a pattern that does not compile, an empty set for a text without matches.
std::optional<QSet<QString>> extractHashtags(const QString &text, const QString &pattern);
