#include "core/SpellingWords.h"

#include "core/TextCounts.h"

#include <QTextBoundaryFinder>

namespace {

// Longer than any word of a dictionary: a run of letters this long is something else.
constexpr qsizetype longestWord = 64;

// Calls visit(c, size) for each code point of text; a lone surrogate stands for itself.
template<typename Visit>
void forEachCodePoint(QStringView text, Visit visit)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t c = text.at(i).unicode();
        qsizetype size = 1;
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text.at(i), text.at(i + 1));
            size = 2;
        }
        visit(c, size);
        i += size - 1;
    }
}

bool isWordToCheck(QStringView word)
{
    if (word.size() > longestWord)
        return false;
    bool letter = false;
    bool digit = false;
    forEachCodePoint(word, [&](char32_t c, qsizetype) {
        letter = letter || QChar::isLetter(c);
        digit = digit || QChar::isNumber(c);
    });
    return letter && !digit;
}

// Where the name of a hashtag starting at hash ends: like a tag's name, but also through
// letters of any script, so that #café is passed over whole.
qsizetype hashtagEnd(QStringView text, qsizetype hash)
{
    qsizetype end = hash + 1;
    while (end < text.size()) {
        const QChar c = text.at(end);
        if (c.isSurrogate() || c.isLetterOrNumber() || c.isMark() || c == u'_' || c == u'-')
            ++end;
        else
            break;
    }
    return end;
}

bool isAddress(QStringView run)
{
    return run.contains(u"://") || run.startsWith(u"www.", Qt::CaseInsensitive) ||
           run.contains(u'@');
}

bool isSpace(QChar c)
{
    return isWhiteSpaceOrNewline(c.unicode());
}

} // namespace

QList<TextRange> wordsToSpellCheck(QStringView text, bool cutAtStart, bool cutAtEnd)
{
    QList<TextRange> words;
    // One pass of Unicode's word boundaries over the whole text, and alongside it the runs
    // between white space, each of which may be passed over whole.
    QTextBoundaryFinder finder(QTextBoundaryFinder::Word, text.data(), text.size());
    qsizetype runEnd = 0;
    bool skipRun = false;
    qsizetype skipUntil = 0;
    qsizetype start = 0;
    for (qsizetype end = finder.toNextBoundary(); end != -1; end = finder.toNextBoundary()) {
        if (start >= runEnd && !isSpace(text.at(start))) {
            runEnd = start;
            while (runEnd < text.size() && !isSpace(text.at(runEnd)))
                ++runEnd;
            skipRun = (cutAtStart && start == 0) || (cutAtEnd && runEnd == text.size()) ||
                      isAddress(text.sliced(start, runEnd - start));
        }
        if (text.at(start) == u'#')
            skipUntil = hashtagEnd(text, start);
        else if (!skipRun && start >= skipUntil && isWordToCheck(text.sliced(start, end - start)))
            words.append({start, end - start});
        start = end;
    }
    return words;
}
