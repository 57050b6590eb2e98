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

QString fullTextQuery(const QString &typed)
{
    QStringList terms;
    const auto addWords = [&terms](QStringView text) {
        for (const QStringView word : text.split(u' ', Qt::SkipEmptyParts)) {
            if (hasWordCharacters(word))
                terms.append(wordQuery(word));
        }
    };
    QString text = typed;
    for (QChar &c : text) {
        if (c.isSpace())
            c = u' ';
    }
    qsizetype position = 0;
    while (position < text.size()) {
        const qsizetype quote = text.indexOf(u'"', position);
        if (quote < 0) {
            addWords(QStringView(text).mid(position));
            break;
        }
        addWords(QStringView(text).mid(position, quote - position));
        const qsizetype closing = text.indexOf(u'"', quote + 1);
        const QStringView phrase =
            QStringView(text).mid(quote + 1, closing < 0 ? -1 : closing - quote - 1);
        // A phrase still being typed is a prefix like any other word.
        if (hasWordCharacters(phrase))
            terms.append(quotedString(phrase) + (closing < 0 ? QStringLiteral("*") : QString()));
        position = closing < 0 ? text.size() : closing + 1;
    }
    return terms.join(QStringLiteral(" AND "));
}

MarkedText unmark(const QString &marked, bool oneLine)
{
    MarkedText result;
    result.text.reserve(marked.size());
    qsizetype start = -1;
    for (const QChar c : marked) {
        if (c == matchOpen.front()) {
            start = result.text.size();
        } else if (c == matchClose.front()) {
            if (start >= 0 && result.text.size() > start)
                result.matches.append({start, result.text.size() - start});
            start = -1;
        } else if (oneLine && c.isSpace()) {
            if (!result.text.isEmpty() && !result.text.endsWith(u' '))
                result.text.append(u' ');
        } else {
            result.text.append(c);
        }
    }
    if (oneLine && result.text.endsWith(u' '))
        result.text.chop(1);
    return result;
}
