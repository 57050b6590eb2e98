#pragma once

#include <QColor>
#include <QIcon>

// The symbol images of the sidebar.
enum class SidebarSymbol
{
    sortOrder,   // arrow.up.arrow.down
    search,      // magnifyingglass
    clearSearch, // xmark.circle.fill
    tag,
};

// The desktop theme's matching icon where it has one; otherwise our own glyph in colour, and
// in selectedColour (when valid) for the selected state, so it shows on any palette.
QIcon sidebarSymbolIcon(SidebarSymbol symbol, const QColor &colour,
                        const QColor &selectedColour = QColor());
