// Hashtag extraction against a plain scan of the text: each # followed by a name character
// gives the whole run of name characters after it, unless the code point after the run is a
// letter, a digit or a combining mark (the word goes on); the first appearance of a name
// counts.
// Matching the scan means every name follows the rule, sits after a # in the text, is whole,
// is unique and comes in order.

#include "FuzzSupport.h"

#include "core/Hashtags.h"

#include <QSet>

namespace {

bool isNameCharacter(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9') ||
           u == u'_' || u == u'-';
}

// Read one code point at a time; a lone surrogate stands for itself and is no letter.
bool continuesWord(const QString &text, qsizetype at)
{
    if (at >= text.size())
        return false;
    const QChar c = text.at(at);
    if (c.isHighSurrogate() && at + 1 < text.size() && text.at(at + 1).isLowSurrogate()) {
        const char32_t pair = QChar::surrogateToUcs4(c, text.at(at + 1));
        return QChar::isLetterOrNumber(pair) || QChar::isMark(pair);
    }
    return !c.isSurrogate() && (c.isLetterOrNumber() || c.isMark());
}

QStringList scannedNames(const QString &text)
{
    QStringList names;
    QSet<QString> seen;
    for (qsizetype hash = 0; hash < text.size(); ++hash) {
        if (text.at(hash) != u'#')
            continue;
        qsizetype end = hash + 1;
        while (end < text.size() && isNameCharacter(text.at(end)))
            ++end;
        const QString name = text.sliced(hash + 1, end - hash - 1);
        if (!name.isEmpty() && !continuesWord(text, end) && !seen.contains(name)) {
            seen.insert(name);
            names.append(name);
        }
    }
    return names;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    for (const QString &text : lqfuzz::texts(data, size))
        LQ_FUZZ_CHECK(extractHashtags(text) == scannedNames(text));
    return 0;
}
