#include "core/TagOrder.h"

#include <QLocale>

using namespace Qt::StringLiterals;

QList<TagOrder> allTagOrders()
{
    return {TagOrder::NameAscending, TagOrder::NameDescending, TagOrder::MostRecent};
}

QString displayName(TagOrder order)
{
    switch (order) {
    case TagOrder::NameAscending:
        return u"A \u2192 Z"_s;
    case TagOrder::NameDescending:
        return u"Z \u2192 A"_s;
    case TagOrder::MostRecent:
        return u"Most Recent"_s;
    }
    return {};
}

QString tagSearchKey(const QString &text)
{
    // Upper- then lower-casing folds case fully, which a per-character case-insensitive
    // match would miss; composing afterwards makes canonically equivalent spellings alike.
    const QLocale locale;
    return locale.toLower(locale.toUpper(text.normalized(QString::NormalizationForm_C)))
        .normalized(QString::NormalizationForm_C);
}
