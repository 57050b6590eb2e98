#pragma once

#include <QList>
#include <QMetaType>
#include <QString>

#include <limits>

// A stretch of a text, in UTF-16 code units.
struct TextRange
{
    qsizetype start = 0;
    qsizetype length = 0;

    friend bool operator==(const TextRange &, const TextRange &) = default;
};
Q_DECLARE_METATYPE(TextRange)
Q_DECLARE_METATYPE(QList<TextRange>)

// The full-text query (SQLite FTS5) for what the user typed into the search field, or an
// empty string when it holds nothing to look for.
//
// Every word must appear, each taken as the beginning of a word, since the user may still
// be typing it; a word also finds the same word written as a hashtag, while "#word" finds
// only the hashtag. Text in double quotes is one phrase, found exactly once the quote is
// closed. Case and accents never matter (the index folds them away). Whatever is typed, the
// query is valid: every word is quoted, so nothing typed is read as an operator.
QString fullTextQuery(const QString &typed);

// Where the words the user typed are in a text, as the index finds them: the beginnings of
// words and phrases, whatever their case and accents. Overlapping matches join; at most
// limit of them.
QList<TextRange> findMatches(QStringView text, const QString &typed,
                             qsizetype limit = std::numeric_limits<qsizetype>::max());

// A text shown in one line, every run of white space a single space, with its matches.
struct MarkedText
{
    QString text;
    QList<TextRange> matches;
};

// About words words of a note around the first match of what the user typed, with "…"
// where the note goes on.
MarkedText matchSnippet(QStringView text, const QString &typed, int words);
