#pragma once

#include <QLocale>
#include <QString>
#include <QStringView>

#include <optional>

// What a character just typed becomes: the last `length` characters before the insertion
// point are to be replaced by text.
struct TypedReplacement
{
    qsizetype length = 0;
    QString text;

    friend bool operator==(const TypedReplacement &, const TypedReplacement &) = default;
};

// A straight quote (" or ') typed as the last character of before, the paragraph up to the
// insertion point, as the locale's opening or closing quotation mark: opening at the start
// of a paragraph, after white space, an opening bracket, a dash or an opening mark; closing
// after anything else. A ' after a letter or a digit is an apostrophe (’), unless the
// locale closes its inner quotations with another mark and one is open. The C locale's
// marks are English's.
std::optional<TypedReplacement> smartQuote(QStringView before, const QLocale &locale);

// Two hyphens typed in a row, the last of before, as an en dash. A hyphen typed after two
// hyphens, which only Undo leaves, makes a line of hyphens, left alone.
std::optional<TypedReplacement> smartDash(QStringView before);
