#include "core/Hashtags.h"

#include <QRegularExpression>
#include <QSet>

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

QStringList extractHashtags(const QString &text)
{
    // Never destroyed: a save made on the way out of the process still finds its hashtags.
    static const auto *hashtag =
        new QRegularExpression(QStringLiteral("#([a-zA-Z0-9_-]+)(?![a-zA-Z0-9_-])"));
    QStringList names;
    QSet<QString> seen;
    QRegularExpressionMatchIterator matches = hashtag->globalMatch(withValidUtf16(text));
    while (matches.hasNext()) {
        QString name = matches.next().captured(1);
        if (!seen.contains(name)) {
            seen.insert(name);
            names.append(std::move(name));
        }
    }
    return names;
}
