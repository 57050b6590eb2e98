#include "core/TagOrder.h"

#include <QCoreApplication>
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
        return QCoreApplication::translate("TagOrder", "A \u2192 Z");
    case TagOrder::NameDescending:
        return QCoreApplication::translate("TagOrder", "Z \u2192 A");
    case TagOrder::MostRecent:
        return QCoreApplication::translate("TagOrder", "Most Recent");
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
