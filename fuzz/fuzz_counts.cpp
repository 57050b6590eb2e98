// Word and character counts against Unicode's grapheme segmentation applied to every text,
// so that the shortcut taken for text below U+0300 must give what segmentation gives.

#include "FuzzSupport.h"

#include "core/TextCounts.h"

#include <QTextBoundaryFinder>

namespace {

struct Counts
{
    qsizetype words = 0;
    qsizetype characters = 0;
};

Counts segmentedCounts(QStringView text)
{
    Counts counts;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text.data(), text.size());
    bool inWord = false;
    qsizetype begin = 0;
    for (qsizetype end = finder.toNextBoundary(); end != -1; end = finder.toNextBoundary()) {
        const QStringView cluster = text.sliced(begin, end - begin);
        const char32_t first =
            cluster.size() >= 2 && cluster[0].isHighSurrogate() && cluster[1].isLowSurrogate()
                ? QChar::surrogateToUcs4(cluster[0], cluster[1])
                : cluster[0].unicode();
        const bool separator = isWhiteSpaceOrNewline(first);
        counts.words += !separator && !inWord;
        inWord = !separator;
        ++counts.characters;
        begin = end;
    }
    return counts;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    for (const QString &text : lqfuzz::texts(data, size)) {
        const qsizetype words = wordCount(text);
        const qsizetype characters = characterCount(text);
        const Counts expected = segmentedCounts(text);
        LQ_FUZZ_CHECK(words == expected.words);
        LQ_FUZZ_CHECK(characters == expected.characters);
        LQ_FUZZ_CHECK(characters <= text.size());
        // Two words need a separator between them.
        LQ_FUZZ_CHECK(words <= (characters + 1) / 2);

        // A paragraph separator is a character and a separator of its own whatever comes
        // before it, and puts any text on the segmenting path: the two paths must agree.
        const QString separated = text + QChar(QChar::ParagraphSeparator);
        LQ_FUZZ_CHECK(wordCount(separated) == words);
        LQ_FUZZ_CHECK(characterCount(separated) == characters + 1);

        LQ_FUZZ_CHECK(countsText(words, characters) ==
                      QString::number(words) + QStringLiteral(" words ") +
                          QString::number(characters) + QStringLiteral(" characters"));
    }
    return 0;
}
