#include "core/TextMerge.h"

#include <algorithm>

TextChange changeBetween(QStringView before, QStringView after)
{
    const qsizetype shorter = std::min(before.size(), after.size());
    qsizetype head = 0;
    while (head < shorter && before.at(head) == after.at(head))
        ++head;
    // A common start that ends inside a surrogate pair gives the pair back to the change.
    if (head > 0 && before.at(head - 1).isHighSurrogate())
        --head;
    qsizetype tail = 0;
    while (tail < shorter - head &&
           before.at(before.size() - 1 - tail) == after.at(after.size() - 1 - tail))
        ++tail;
    if (tail > 0 && before.at(before.size() - tail).isLowSurrogate())
        --tail;
    return {head, before.size() - head - tail, after.size() - head - tail};
}

qsizetype movedOffset(const TextChange &change, qsizetype offset)
{
    if (offset <= change.start)
        return offset;
    if (offset >= change.start + change.removed)
        return offset + change.inserted - change.removed;
    return change.start + change.inserted;
}

namespace {

// Two texts typed apart meet on a line of their own, unless a space or a line break already
// parts them: typed at the end of a note in two windows, two sentences, or a hashtag and the
// next word, are not run together.
QString joined(QStringView first, QStringView second)
{
    if (first.isEmpty() || second.isEmpty() || first.back().isSpace() || second.front().isSpace())
        return first + second;
    return first + u'\n' + second;
}

} // namespace

QString mergeEdits(const QString &base, const QString &theirs, const QString &mine)
{
    const TextChange ours = changeBetween(base, mine);
    const TextChange other = changeBetween(base, theirs);
    if (ours.isEmpty())
        return theirs;
    if (other.isEmpty())
        return mine;
    const qsizetype ourEnd = ours.start + ours.removed;
    const qsizetype otherEnd = other.start + other.removed;
    const QStringView baseView(base);
    // Typed at the same point: theirs first.
    if (ours.removed == 0 && other.removed == 0 && ours.start == other.start) {
        return baseView.first(ours.start) +
               joined(QStringView(theirs).sliced(other.start, other.inserted),
                      QStringView(mine).sliced(ours.start, ours.inserted)) +
               baseView.sliced(ours.start);
    }
    // Apart: each edit goes in its own place.
    if (otherEnd <= ours.start) {
        return baseView.first(other.start) +
               QStringView(theirs).sliced(other.start, other.inserted) +
               baseView.sliced(otherEnd, ours.start - otherEnd) +
               QStringView(mine).sliced(ours.start, ours.inserted) + baseView.sliced(ourEnd);
    }
    if (ourEnd <= other.start) {
        return baseView.first(ours.start) + QStringView(mine).sliced(ours.start, ours.inserted) +
               baseView.sliced(ourEnd, other.start - ourEnd) +
               QStringView(theirs).sliced(other.start, other.inserted) + baseView.sliced(otherEnd);
    }
    // Overlapping: the stretch both touched, as each side left it, theirs then mine.
    const qsizetype start = std::min(ours.start, other.start);
    const qsizetype end = std::max(ourEnd, otherEnd);
    const qsizetype length = end - start;
    return baseView.first(start) +
           joined(QStringView(theirs).sliced(start, length + theirs.size() - base.size()),
                  QStringView(mine).sliced(start, length + mine.size() - base.size())) +
           baseView.sliced(end);
}
