#include "app/TextStyles.h"

#include <QFontDatabase>

#include <algorithm>
#include <cmath>

namespace {

QFont scaled(const QFont &body, qreal factor)
{
    QFont font = body;
    if (body.pointSizeF() > 0)
        font.setPointSizeF(body.pointSizeF() * factor);
    else
        font.setPixelSize(std::max(1, int(std::lround(body.pixelSize() * factor))));
    return font;
}

} // namespace

QFont styledFont(const QFont &body, TextStyle style)
{
    switch (style) {
    case TextStyle::LargeTitle: {
        QFont font = scaled(body, 2.1);
        font.setBold(true);
        return font;
    }
    case TextStyle::Title:
        return scaled(body, 1.7);
    case TextStyle::Headline: {
        QFont font = body;
        font.setWeight(QFont::DemiBold);
        return font;
    }
    case TextStyle::Secondary:
        return scaled(body, 0.92);
    case TextStyle::Footnote:
        return scaled(body, 0.85);
    case TextStyle::Caption: {
        // Kept readable: never below the desktop's smallest readable size, unless that is
        // larger than the secondary text above it.
        QFont font = scaled(body, 0.77);
        const qreal smallest =
            std::min(QFontDatabase::systemFont(QFontDatabase::SmallestReadableFont).pointSizeF(),
                     scaled(body, 0.92).pointSizeF());
        if (font.pointSizeF() > 0 && font.pointSizeF() < smallest)
            font.setPointSizeF(smallest);
        return font;
    }
    }
    return body;
}
