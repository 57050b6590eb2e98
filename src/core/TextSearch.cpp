#include "core/TextSearch.h"

namespace {

// FTS5's tokenizer keeps letters, digits and '#' (as this journal's index is set up) and
// drops everything else; a word without any of them would stand for an empty phrase, which
// matches nothing at all and would empty every result.
bool hasWordCharacters(QStringView text)
{
    for (const char32_t c : text.toUcs4()) {
        if (c == U'#' || QChar::isLetterOrNumber(c))
            return true;
    }
    return false;
}

// A double-quoted FTS5 string: only the quote itself needs escaping, by doubling.
QString quotedString(QStringView text)
{
    QString quoted = text.toString();
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

QString wordQuery(QStringView word)
{
    if (word.startsWith(u'#'))
        return quotedString(word) + u'*';
    return u'(' + quotedString(word) + QStringLiteral("* OR ") +
           quotedString(QString(u'#' + word.toString())) + QStringLiteral("*)");
}

} // namespace

namespace {

// What the user typed, cut into words and quoted phrases: visit(text, quoted, closed) for each
// in order. Any white space separates words; a quote left open takes the rest.
template<typename Visit>
void forEachPiece(const QString &typed, Visit visit)
{
    QString text = typed;
    for (QChar &c : text) {
        if (c.isSpace())
            c = u' ';
    }
    const auto words = [&](QStringView part) {
        for (const QStringView word : part.split(u' ', Qt::SkipEmptyParts)) {
            if (hasWordCharacters(word))
                visit(word, false, false);
        }
    };
    qsizetype position = 0;
    while (position < text.size()) {
        const qsizetype quote = text.indexOf(u'"', position);
        if (quote < 0) {
            words(QStringView(text).mid(position));
            break;
        }
        words(QStringView(text).mid(position, quote - position));
        const qsizetype closing = text.indexOf(u'"', quote + 1);
        const QStringView phrase =
            QStringView(text).mid(quote + 1, closing < 0 ? -1 : closing - quote - 1);
        if (hasWordCharacters(phrase))
            visit(phrase, true, closing >= 0);
        position = closing < 0 ? text.size() : closing + 1;
    }
}

// The index's idea of a word: a run of letters, digits, combining marks and '#'.
bool isWordCharacter(char32_t c)
{
    return c == U'#' || QChar::isLetterOrNumber(c) || QChar::isMark(c);
}

struct Word
{
    qsizetype start = 0;
    qsizetype end = 0;
    QString folded;
};

// A word as the index compares it: without case and without accents, composed or not.
QString folded(QStringView word)
{
    bool ascii = true;
    for (const QChar c : word)
        ascii = ascii && c.unicode() < 0x80;
    if (ascii)
        return word.toString().toLower();
    const QString decomposed = word.toString().normalized(QString::NormalizationForm_D);
    QString bare;
    bare.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        if (!c.isMark())
            bare.append(c);
    }
    return bare.toCaseFolded();
}

// Reads a text's words one at a time.
class WordReader
{
public:
    explicit WordReader(QStringView text) : m_text(text) {}

    bool next(Word &word)
    {
        qsizetype i = m_position;
        while (i < m_text.size() && !isWordCharacter(at(i)))
            i += width(i);
        if (i >= m_text.size())
            return false;
        const qsizetype start = i;
        while (i < m_text.size() && isWordCharacter(at(i)))
            i += width(i);
        m_position = i;
        word = {start, i, folded(m_text.mid(start, i - start))};
        return true;
    }

private:
    char32_t at(qsizetype i) const
    {
        const QChar c = m_text.at(i);
        if (c.isHighSurrogate() && i + 1 < m_text.size() && m_text.at(i + 1).isLowSurrogate())
            return QChar::surrogateToUcs4(c, m_text.at(i + 1));
        return c.unicode();
    }
    qsizetype width(qsizetype i) const { return at(i) > 0xffff ? 2 : 1; }

    QStringView m_text;
    qsizetype m_position = 0;
};

QStringList foldedWords(QStringView text)
{
    QStringList words;
    WordReader reader(text);
    for (Word word; reader.next(word);)
        words.append(std::move(word.folded));
    return words;
}

// Consecutive words to find, the last one only begun when prefix is set.
struct Phrase
{
    QStringList words;
    bool prefix = true;
};

// The phrases that what the user typed looks for, as fullTextQuery() asks the index.
QList<Phrase> phrasesOf(const QString &typed)
{
    QList<Phrase> phrases;
    forEachPiece(typed, [&](QStringView text, bool quoted, bool closed) {
        phrases.append({foldedWords(text), !closed});
        if (!quoted && !text.startsWith(u'#'))
            phrases.append({foldedWords(QString(u'#' + text.toString())), true});
    });
    phrases.removeIf([](const Phrase &phrase) { return phrase.words.isEmpty(); });
    return phrases;
}

// Whether a phrase starts at the last of the words read so far, looking back; gives the
// number of words it spans, or 0.
qsizetype phraseEndingAt(const QList<Word> &words, const Phrase &phrase)
{
    const qsizetype count = phrase.words.size();
    if (words.size() < count)
        return 0;
    const qsizetype first = words.size() - count;
    for (qsizetype i = 0; i < count; ++i) {
        const QString &word = words.at(first + i).folded;
        const QString &wanted = phrase.words.at(i);
        const bool last = i == count - 1;
        if (last && phrase.prefix ? !word.startsWith(wanted) : word != wanted)
            return 0;
    }
    return count;
}

} // namespace

QString fullTextQuery(const QString &typed)
{
    QStringList terms;
    forEachPiece(typed, [&terms](QStringView text, bool quoted, bool closed) {
        // A phrase still being typed is a prefix like any other word.
        if (quoted)
            terms.append(quotedString(text) + (closed ? QString() : QStringLiteral("*")));
        else
            terms.append(wordQuery(text));
    });
    return terms.join(QStringLiteral(" AND "));
}

QList<TextRange> findMatches(QStringView text, const QString &typed, qsizetype limit)
{
    const QList<Phrase> phrases = phrasesOf(typed);
    QList<TextRange> matches;
    if (phrases.isEmpty())
        return matches;
    qsizetype longest = 0;
    for (const Phrase &phrase : phrases)
        longest = std::max(longest, phrase.words.size());
    // The last words read: enough for the longest phrase to end at the newest.
    QList<Word> recent;
    WordReader reader(text);
    for (Word word; reader.next(word) && matches.size() < limit;) {
        if (recent.size() == longest)
            recent.removeFirst();
        recent.append(std::move(word));
        for (const Phrase &phrase : phrases) {
            const qsizetype span = phraseEndingAt(recent, phrase);
            if (span == 0)
                continue;
            const qsizetype start = recent.at(recent.size() - span).start;
            // A match overlapping the one before joins it.
            if (!matches.isEmpty() && matches.last().start + matches.last().length >= start) {
                TextRange &previous = matches.last();
                previous.length = std::max(previous.length, recent.last().end - previous.start);
            } else {
                matches.append({start, recent.last().end - start});
            }
            break;
        }
    }
    return matches;
}

MarkedText matchSnippet(QStringView text, const QString &typed, int words)
{
    const QList<TextRange> first = findMatches(text, typed, 1);
    const qsizetype matchStart = first.isEmpty() ? 0 : first.first().start;
    // At most words - 1 words before the first match, then from it up to the window's end;
    // the window then keeps as many of those before as the words after leave room for.
    QList<Word> before;
    QList<Word> after;
    bool cutBefore = false;
    bool cutAfter = false;
    WordReader reader(text);
    for (Word word; reader.next(word);) {
        if (after.isEmpty() && word.end <= matchStart) {
            if (before.size() == words - 1) {
                before.removeFirst();
                cutBefore = true;
            }
            before.append(std::move(word));
        } else if (after.size() < words) {
            after.append(std::move(word));
        } else {
            cutAfter = true;
            break;
        }
    }
    while (!before.isEmpty() && before.size() + after.size() > words) {
        before.removeFirst();
        cutBefore = true;
    }
    const qsizetype from = cutBefore ? before.value(0, after.value(0)).start : 0;
    const qsizetype to = cutAfter ? after.last().end : text.size();

    // One line: every run of white space, line breaks included, becomes a single space.
    MarkedText snippet;
    const auto append = [&snippet](QStringView piece) {
        for (const QChar c : piece) {
            if (!c.isSpace())
                snippet.text.append(c);
            else if (!snippet.text.isEmpty() && !snippet.text.endsWith(u' '))
                snippet.text.append(u' ');
        }
    };
    if (cutBefore)
        snippet.text += u'\u2026';
    const QStringView shown = text.mid(from, to - from);
    qsizetype position = 0;
    for (const TextRange &match : findMatches(shown, typed)) {
        append(shown.mid(position, match.start - position));
        const qsizetype start = snippet.text.size();
        append(shown.mid(match.start, match.length));
        snippet.matches.append({start, snippet.text.size() - start});
        position = match.start + match.length;
    }
    append(shown.mid(position));
    if (snippet.text.endsWith(u' '))
        snippet.text.chop(1);
    if (cutAfter)
        snippet.text += u'\u2026';
    return snippet;
}
