#pragma once

#include <QFont>

// The few sizes and weights the interface uses, each relative to the body font, so that
// everything follows the desktop's font and its size.
enum class TextStyle
{
    LargeTitle, // the open day over the editor
    Title,      // the tag over its notes
    Headline,   // section headings, the month, a card's first line
    Secondary,  // a card's further lines
    Footnote,   // the counts under the text
    Caption,    // the smallest: weekday letters, TODAY, a card's day
};

QFont styledFont(const QFont &body, TextStyle style);
