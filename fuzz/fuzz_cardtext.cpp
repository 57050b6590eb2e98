// A note card's title and body against what they are cut from: the text trimmed at both
// ends with every newline character read as a line feed must be the title, a line feed,
// white space, then the body.

#include "FuzzSupport.h"

#include "core/NoteCardText.h"
#include "core/TextCounts.h"

#include <algorithm>

namespace {

bool isSpace(QChar c)
{
    return isWhiteSpaceOrNewline(c.unicode());
}

bool hasNewline(QStringView text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) { return isNewline(c.unicode()); });
}

QString trimmedWithLineFeeds(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isSpace(text.at(begin)))
        ++begin;
    while (end > begin && isSpace(text.at(end - 1)))
        --end;
    QString trimmed = text.sliced(begin, end - begin);
    std::replace_if(
        trimmed.begin(), trimmed.end(), [](QChar c) { return isNewline(c.unicode()); }, u'\n');
    return trimmed;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    for (const QString &text : lqfuzz::texts(data, size)) {
        const QString title = firstLine(text);
        const QString body = remainingText(text);
        const QString whole = trimmedWithLineFeeds(text);

        LQ_FUZZ_CHECK(!hasNewline(title));
        LQ_FUZZ_CHECK(title.isEmpty() == whole.isEmpty());
        LQ_FUZZ_CHECK(whole.startsWith(title));
        LQ_FUZZ_CHECK(body.isEmpty() || (!isSpace(body.front()) && !isSpace(body.back())));
        LQ_FUZZ_CHECK(!hasNewline(QString(body).remove(u'\n')));
        if (body.isEmpty()) {
            LQ_FUZZ_CHECK(whole == title);
        } else {
            const qsizetype gap = whole.size() - title.size() - 1 - body.size();
            LQ_FUZZ_CHECK(gap >= 0);
            LQ_FUZZ_CHECK(whole.at(title.size()) == u'\n');
            LQ_FUZZ_CHECK(whole.endsWith(body));
            const QStringView between = QStringView(whole).sliced(title.size() + 1, gap);
            LQ_FUZZ_CHECK(std::all_of(between.begin(), between.end(), isSpace));
        }
        // Trimming and cutting happen at white space, never inside a surrogate pair.
        if (QStringView(text).isValidUtf16())
            LQ_FUZZ_CHECK(QStringView(title).isValidUtf16() && QStringView(body).isValidUtf16());
    }
    return 0;
}
