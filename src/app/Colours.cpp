#include "app/Colours.h"

#include <algorithm>
#include <cmath>

namespace Colours {

namespace {

double channel(float value)
{
    return value <= 0.04045f ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
}

double luminance(const QColor &colour)
{
    const QColor rgb = colour.toRgb();
    return 0.2126 * channel(rgb.redF()) + 0.7152 * channel(rgb.greenF()) +
           0.0722 * channel(rgb.blueF());
}

} // namespace

double contrastRatio(const QColor &a, const QColor &b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor over(const QColor &colour, const QColor &background)
{
    const QColor top = colour.toRgb();
    const QColor bottom = background.toRgb();
    const float alpha = top.alphaF();
    const auto mix = [alpha](float a, float b) {
        return a * alpha + b * (1 - alpha);
    };
    return QColor::fromRgbF(mix(top.redF(), bottom.redF()), mix(top.greenF(), bottom.greenF()),
                            mix(top.blueF(), bottom.blueF()));
}

QColor legible(const QColor &colour, const QColor &background, double minimumRatio)
{
    const QColor seen = over(colour, background);
    if (contrastRatio(seen, background) >= minimumRatio)
        return seen;
    // A little beyond, so that the colour still reaches the ratio once it is drawn with 8 bits
    // a channel.
    const double wanted = minimumRatio + 0.05;
    // Towards the extreme that stands out more from the background; mixing in more of it
    // raises the contrast steadily, so the least mix that is enough is found by halving.
    const QColor black(Qt::black);
    const QColor white(Qt::white);
    const QColor target =
        contrastRatio(black, background) >= contrastRatio(white, background) ? black : white;
    double low = 0;
    double high = 1;
    for (int step = 0; step < 16; ++step) {
        const double middle = (low + high) / 2;
        QColor mixed = target;
        mixed.setAlphaF(float(middle));
        if (contrastRatio(over(mixed, seen), background) >= wanted)
            high = middle;
        else
            low = middle;
    }
    QColor mixed = target;
    mixed.setAlphaF(float(high));
    return over(mixed, seen);
}

} // namespace Colours
