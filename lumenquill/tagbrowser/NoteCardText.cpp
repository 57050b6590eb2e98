#include "tagbrowser/NoteCardText.h"

#include "editor/TextCounts.h"

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

QString firstLine(const QString &content)
{
    const QStringView text = trimmed(content);
    const qsizetype end = firstNewline(text);
    return (end == -1 ? text : text.first(end)).toString();
}

QString remainingText(const QString &content)
{
    const QStringView text = trimmed(content);
    const qsizetype end = firstNewline(text);
    if (end == -1)
        return QString();
    // Each newline character is a separator of its own, so joining the pieces with line
    // feeds comes down to turning each of them into one line feed.
    QString rest = text.sliced(end + 1).toString();
    for (QChar &c : rest) {
        if (isNewline(c.unicode()))
            c = u'\n';
    }
    return trimmed(rest).toString();
}
