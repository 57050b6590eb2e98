#include "tags/extractHashtags.h"

#include <QRegularExpression>

namespace {

// Qt's matcher finds nothing at all in a text holding a lone surrogate. Names are ASCII, so
// putting a replacement character in each lone surrogate's place changes no name.
QString withValidUtf16(const QString &text)
{
    if (QStringView(text).isValidUtf16())
        return text;
    QString repaired = text;
    for (qsizetype i = 0; i < repaired.size(); ++i) {
        const QChar c = repaired.at(i);
        if (c.isHighSurrogate() && i + 1 < repaired.size() && repaired.at(i + 1).isLowSurrogate())
            ++i;
        else if (c.isSurrogate())
            repaired[i] = QChar::ReplacementCharacter;
    }
    return repaired;
}

} // namespace

std::optional<QSet<QString>> extractHashtags(const QString &text)
{
    return extractHashtags(text, hashtagPattern.toString());
}

std::optional<QSet<QString>> extractHashtags(const QString &text, const QString &pattern)
{
    const QRegularExpression expression(pattern);
    if (!expression.isValid())
        return std::nullopt;

    QSet<QString> names;
    const QString subject = withValidUtf16(text);
    QRegularExpressionMatchIterator matches = expression.globalMatch(subject);
    while (matches.hasNext())
        names.insert(matches.next().captured(1));
    return names;
}
