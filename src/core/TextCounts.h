#pragma once

#include <QString>
#include <QStringView>

// The line-breaking characters: LF, VT, FF, CR, NEL, LINE SEPARATOR, PARAGRAPH SEPARATOR.
bool isNewline(char32_t codePoint);

// Unicode's White_Space property, which takes in every newline character.
bool isWhiteSpaceOrNewline(char32_t codePoint);

// The number of maximal runs of grapheme clusters that do not start with white space.
qsizetype wordCount(QStringView text);

// The number of extended grapheme clusters: a CR LF pair, a flag or an emoji sequence is one.
qsizetype characterCount(QStringView text);

// The status bar's "N words N characters", in the plural forms of the user's language; the
// English texts keep one form for every number.
QString countsText(qsizetype words, qsizetype characters);
