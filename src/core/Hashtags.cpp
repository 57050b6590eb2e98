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

// Whether the word written at position goes on past the ASCII run before it: a letter or a
// digit of any script, or a mark combining with the run's last letter. Taking the run as a
// name would then make a tag of a cut-off word, "caf" of "café".
bool wordGoesOn(const QString &text, qsizetype position)
{
    if (position >= text.size())
        return false;
    char32_t c = text.at(position).unicode();
    if (QChar::isHighSurrogate(c) && position + 1 < text.size())
        c = QChar::surrogateToUcs4(text.at(position).unicode(), text.at(position + 1).unicode());
    return QChar::isLetterOrNumber(c) || QChar::isMark(c);
}

} // namespace

QStringList extractHashtags(const QString &text)
{
    // Never destroyed: a save made on the way out of the process still finds its hashtags.
    static const auto *hashtag = new QRegularExpression(QStringLiteral("#([a-zA-Z0-9_-]+)"));
    const QString valid = withValidUtf16(text);
    QStringList names;
    QSet<QString> seen;
    QRegularExpressionMatchIterator matches = hashtag->globalMatch(valid);
    while (matches.hasNext()) {
        const QRegularExpressionMatch match = matches.next();
        if (wordGoesOn(valid, match.capturedEnd(1)))
            continue;
        QString name = match.captured(1);
        if (!seen.contains(name)) {
            seen.insert(name);
            names.append(std::move(name));
        }
    }
    return names;
}
