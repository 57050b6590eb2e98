#include "sidebar/TagSortOption.h"

#include "model/Note.h"
#include "model/Tag.h"

#include <QCollator>
#include <QHash>
#include <QLocale>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// Upper- then lower-casing folds case fully ("ß" and "SS" alike), which a per-character
// case-insensitive match would miss; composing afterwards makes canonically equivalent
// spellings identical without letting a bare letter match inside an accented one.
QString searchKey(const QString &text, const QLocale &locale)
{
    return locale.toLower(locale.toUpper(text.normalized(QString::NormalizationForm_C)))
        .normalized(QString::NormalizationForm_C);
}

} // namespace

QString rawValue(TagSortOption option)
{
    switch (option) {
    case TagSortOption::alphaAscending:
        return u"A \u2192 Z"_s;
    case TagSortOption::alphaDescending:
        return u"Z \u2192 A"_s;
    case TagSortOption::recent:
        return u"Most Recent"_s;
    }
    return {};
}

std::optional<TagSortOption> tagSortOptionFromRawValue(const QString &raw)
{
    for (const TagSortOption option : allTagSortOptions()) {
        if (rawValue(option) == raw)
            return option;
    }
    return std::nullopt;
}

QList<TagSortOption> allTagSortOptions()
{
    return {TagSortOption::alphaAscending, TagSortOption::alphaDescending, TagSortOption::recent};
}

QDateTime recencyDate(const Tag *tag)
{
    const QDate latest = tag->latestNoteDay();
    return latest.isValid() ? latest.startOfDay() : tag->createdAt();
}

QList<Tag *> visibleTags(const QList<Tag *> &allTags, const QString &searchText,
                         TagSortOption order)
{
    const QLocale locale;
    QList<Tag *> tags;
    if (searchText.isEmpty()) {
        tags = allTags;
    } else {
        const QString needle = searchKey(searchText, locale);
        for (Tag *tag : allTags) {
            if (searchKey(tag->name(), locale).contains(needle))
                tags.append(tag);
        }
    }

    switch (order) {
    case TagSortOption::alphaAscending:
    case TagSortOption::alphaDescending: {
        QCollator collator(locale);
        collator.setCaseSensitivity(Qt::CaseInsensitive);
        collator.setNumericMode(false);
        const int sign = order == TagSortOption::alphaAscending ? 1 : -1;
        std::stable_sort(tags.begin(), tags.end(), [&](const Tag *a, const Tag *b) {
            return sign * collator.compare(a->name(), b->name()) < 0;
        });
        break;
    }
    case TagSortOption::recent: {
        // Worked out once per tag for the whole sort.
        QHash<const Tag *, QDateTime> keys;
        keys.reserve(tags.size());
        for (const Tag *tag : std::as_const(tags))
            keys.insert(tag, recencyDate(tag));
        std::stable_sort(tags.begin(), tags.end(), [&keys](const Tag *a, const Tag *b) {
            return keys.value(a) > keys.value(b);
        });
        break;
    }
    }
    return tags;
}
