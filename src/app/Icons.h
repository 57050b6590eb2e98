#pragma once

#include <QIcon>
#include <QPalette>

// The symbol of a button or row, by its freedesktop icon name ("go-previous", "edit-find",
// "tag", …): the desktop theme's icon where the theme has one, otherwise our own glyph in
// the palette's role colour (HighlightedText when selected), so that it shows on light and
// dark palettes alike. Our arrows point the other way in right-to-left layouts.
QIcon themedIcon(const QString &name, const QPalette &palette,
                 QPalette::ColorRole role = QPalette::ButtonText,
                 Qt::LayoutDirection direction = Qt::LeftToRight);
