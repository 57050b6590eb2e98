#pragma once

#include <QIcon>
#include <QPalette>

// The small symbols of buttons and rows.
enum class Symbol
{
    previous,    // chevron.left
    next,        // chevron.right
    sortOrder,   // arrow.up.arrow.down
    search,      // magnifyingglass
    clearSearch, // xmark.circle.fill
    tag,
};

// The desktop theme's matching icon where it has one; otherwise our own glyph in the palette's
// role colour, and in HighlightedText when selected, so it shows on light and dark palettes.
// Our chevrons point the other way in right-to-left layouts.
QIcon symbolIcon(Symbol which, const QPalette &palette,
                 QPalette::ColorRole role = QPalette::ButtonText,
                 Qt::LayoutDirection direction = Qt::LeftToRight);
