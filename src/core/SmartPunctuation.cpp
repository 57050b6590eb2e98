#include "core/SmartPunctuation.h"

#include "core/TextCounts.h"

namespace {

constexpr char16_t apostrophe = u'\u2019';
constexpr QChar enDash = u'\u2013';

struct QuotationMarks
{
    QString opening;
    QString closing;
};

QuotationMarks marks(const QLocale &locale, QLocale::QuotationStyle style)
{
    // The C locale has straight quotes only; its texts are in English.
    const QLocale used =
        locale.language() == QLocale::C ? QLocale(QLocale::English, QLocale::UnitedStates) : locale;
    const QString quoted = used.quoteString(u"x", style);
    const qsizetype x = quoted.indexOf(u'x');
    return {quoted.left(x), quoted.mid(x + 1)};
}

bool opensQuotation(QStringView before, const QuotationMarks &outer, const QuotationMarks &inner)
{
    if (before.isEmpty())
        return true;
    const QChar previous = before.back();
    if (isWhiteSpaceOrNewline(previous.unicode()) ||
        previous.category() == QChar::Punctuation_Open ||
        previous.category() == QChar::Punctuation_Dash || previous == u'/')
        return true;
    return before.endsWith(outer.opening) || before.endsWith(inner.opening);
}

} // namespace

std::optional<TypedReplacement> smartQuote(QStringView before, const QLocale &locale)
{
    if (before.isEmpty() || (before.back() != u'"' && before.back() != u'\''))
        return std::nullopt;
    const bool single = before.back() == u'\'';
    const QStringView preceding = before.chopped(1);
    const QuotationMarks outer = marks(locale, QLocale::StandardQuotation);
    const QuotationMarks inner = marks(locale, QLocale::AlternateQuotation);
    const QuotationMarks &used = single ? inner : outer;
    if (opensQuotation(preceding, outer, inner))
        return TypedReplacement{1, used.opening};
    if (single && preceding.back().isLetterOrNumber()) {
        // Where the inner closing mark is the apostrophe too (English), it does not matter
        // which was meant.
        const bool innerOpen = used.closing != QString(QChar(apostrophe)) &&
                               !used.opening.isEmpty() &&
                               preceding.count(used.opening) > preceding.count(used.closing);
        if (!innerOpen)
            return TypedReplacement{1, QString(QChar(apostrophe))};
    }
    return TypedReplacement{1, used.closing};
}

std::optional<TypedReplacement> smartDash(QStringView before)
{
    if (!before.endsWith(u"--") || before.chopped(2).endsWith(u'-'))
        return std::nullopt;
    return TypedReplacement{2, QString(enDash)};
}
