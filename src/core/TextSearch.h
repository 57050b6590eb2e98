#pragma once

#include <QList>
#include <QMetaType>
#include <QString>

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

// A text in which the index put matchOpen and matchClose around each match: the text
// without the marks, and where the marks were.
struct MarkedText
{
    QString text;
    QList<TextRange> matches;
};

// Control characters that no one types into a note.
inline const QString matchOpen = QStringLiteral("\u0002");
inline const QString matchClose = QStringLiteral("\u0003");

// With oneLine, every run of white space, line breaks included, becomes a single space.
MarkedText unmark(const QString &marked, bool oneLine = false);
