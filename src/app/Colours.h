#pragma once

#include <QColor>

// Colours drawn over a known background, kept readable whatever the desktop's palette: the
// WCAG contrast ratio between two colours, and a colour moved towards black or white until it
// stands out enough from its background.
namespace Colours {

// Text needs this much against its background; markers and other symbols need less.
constexpr double textContrast = 4.5;
constexpr double symbolContrast = 3.0;

// 1 for equal luminances up to 21 for black on white. Alpha is ignored.
double contrastRatio(const QColor &a, const QColor &b);
// colour painted over an opaque background, as the result is seen.
QColor over(const QColor &colour, const QColor &background);
// colour as seen over background, changed only as far as needed to reach minimumRatio: made
// darker over a light background and lighter over a dark one (or the other way where that
// alone can reach it). The result is opaque.
QColor legible(const QColor &colour, const QColor &background, double minimumRatio);

} // namespace Colours
