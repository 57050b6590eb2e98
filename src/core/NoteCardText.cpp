#include "core/NoteCardText.h"

#include "core/TextCounts.h"

namespace {

// Every white space character is in the Basic Multilingual Plane, so looking at single
// UTF-16 units is enough and never strips half of a surrogate pair.
QStringView trimmed(QStringView text)
{
    while (!text.isEmpty() && isWhiteSpaceOrNewline(text.front().unicode()))
        text = text.sliced(1);
    while (!text.isEmpty() && isWhiteSpaceOrNewline(text.back().unicode()))
        text.chop(1);
    return text;
}

qsizetype firstNewline(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (isNewline(text.at(i).unicode()))
            return i;
    }
    return -1;
}

} // namespace

QString firstLine(const QString &text)
{
    const QStringView trimmedText = trimmed(text);
    const qsizetype end = firstNewline(trimmedText);
    return (end == -1 ? trimmedText : trimmedText.first(end)).toString();
}

QString remainingText(const QString &text)
{
    const QStringView trimmedText = trimmed(text);
    const qsizetype end = firstNewline(trimmedText);
    if (end == -1)
        return QString();
    // Each newline character is a separator of its own, so joining the pieces with line
    // feeds comes down to turning each of them into one line feed.
    QString rest = trimmedText.sliced(end + 1).toString();
    for (QChar &c : rest) {
        if (isNewline(c.unicode()))
            c = u'\n';
    }
    return trimmed(rest).toString();
}
