#include "core/TextCounts.h"

#include <QCoreApplication>
#include <QTextBoundaryFinder>

#include <algorithm>

namespace {

char32_t firstCodePoint(QStringView text)
{
    if (text.size() >= 2 && text.at(0).isHighSurrogate() && text.at(1).isLowSurrogate())
        return QChar::surrogateToUcs4(text.at(0), text.at(1));
    return text.at(0).unicode();
}

// Calls visit(begin, end) for each extended grapheme cluster of text, in order.
template<typename Visit>
void forEachGraphemeCluster(QStringView text, Visit visit)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text.data(), text.size());
    qsizetype begin = 0;
    for (qsizetype end = finder.toNextBoundary(); end != -1; end = finder.toNextBoundary()) {
        visit(begin, end);
        begin = end;
    }
}

// Below U+0300, where the combining marks begin, every UTF-16 unit is a grapheme cluster of
// its own but for CR LF: such text is counted without Unicode's segmentation, many times
// faster.
bool isSimple(QStringView text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x0300; });
}

qsizetype crLfPairs(QStringView text)
{
    qsizetype pairs = 0;
    for (qsizetype i = 1; i < text.size(); ++i)
        pairs += text.at(i - 1) == u'\r' && text.at(i) == u'\n';
    return pairs;
}

} // namespace

bool isNewline(char32_t codePoint)
{
    return (codePoint >= 0x000A && codePoint <= 0x000D) || codePoint == 0x0085 ||
           codePoint == 0x2028 || codePoint == 0x2029;
}

bool isWhiteSpaceOrNewline(char32_t codePoint)
{
    // Written out rather than taken from QChar::isSpace, whose categories may drift from the
    // property between Unicode versions.
    switch (codePoint) {
    case 0x0009:
    case 0x000A:
    case 0x000B:
    case 0x000C:
    case 0x000D:
    case 0x0020:
    case 0x0085:
    case 0x00A0:
    case 0x1680:
    case 0x2028:
    case 0x2029:
    case 0x202F:
    case 0x205F:
    case 0x3000:
        return true;
    default:
        return codePoint >= 0x2000 && codePoint <= 0x200A;
    }
}

qsizetype wordCount(QStringView text)
{
    qsizetype words = 0;
    bool inWord = false;
    if (isSimple(text)) {
        for (const QChar c : text) {
            const bool separator = isWhiteSpaceOrNewline(c.unicode());
            words += !separator && !inWord;
            inWord = !separator;
        }
        return words;
    }
    forEachGraphemeCluster(text, [&](qsizetype begin, qsizetype end) {
        // A cluster counts by its first code point: a space carrying a combining mark still
        // separates two words.
        const bool separator =
            isWhiteSpaceOrNewline(firstCodePoint(text.sliced(begin, end - begin)));
        if (!separator && !inWord)
            ++words;
        inWord = !separator;
    });
    return words;
}

qsizetype characterCount(QStringView text)
{
    if (isSimple(text))
        return text.size() - crLfPairs(text);
    qsizetype characters = 0;
    forEachGraphemeCluster(text, [&](qsizetype, qsizetype) { ++characters; });
    return characters;
}

QString countsText(qsizetype words, qsizetype characters)
{
    // A text document's positions are ints, and so are its counts.
    //: The status bar's counts: %1 the words, %2 the characters, each as translated below.
    return QCoreApplication::translate("EditorStatusBar", "%1 %2")
        .arg(QCoreApplication::translate("EditorStatusBar", "%n words", nullptr, int(words)),
             QCoreApplication::translate("EditorStatusBar", "%n characters", nullptr,
                                         int(characters)));
}
