#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

class Tag;

// The orders the sidebar can list its tags in. The raw value is both the menu text and the
// option's identity.
enum class TagSortOption
{
    alphaAscending,
    alphaDescending,
    recent,
};

QString rawValue(TagSortOption option);
// Only the exact menu texts are accepted.
std::optional<TagSortOption> tagSortOptionFromRawValue(const QString &raw);
// In menu order.
QList<TagSortOption> allTagSortOptions();

// The day start of the tag's latest note, or its creation instant when it has no notes.
QDateTime recencyDate(const Tag *tag);

// The tags to list: those whose name contains searchText (case ignored, diacritics not,
// canonically equivalent spellings alike; all of them when it is empty), stably sorted
// by order, so tags that compare equal keep their order in allTags.
QList<Tag *> visibleTags(const QList<Tag *> &allTags, const QString &searchText,
                         TagSortOption order);
