#include "sidebar/SidebarSymbols.h"

#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

using namespace Qt::StringLiterals;

// The resources live in a static library, whose registration the linker would drop unless
// something refers to it.
static void ensureSymbolResources()
{
    static const bool registered = [] {
        Q_INIT_RESOURCE(resources);
        return true;
    }();
    Q_UNUSED(registered);
}

namespace {

constexpr int SymbolSize = 16;

QString themeName(SidebarSymbol symbol)
{
    switch (symbol) {
    case SidebarSymbol::sortOrder:
        return u"view-sort"_s;
    case SidebarSymbol::search:
        return u"edit-find"_s;
    case SidebarSymbol::clearSearch:
        return u"edit-clear"_s;
    case SidebarSymbol::tag:
        return u"tag"_s;
    }
    return {};
}

QString resourcePath(SidebarSymbol symbol)
{
    switch (symbol) {
    case SidebarSymbol::sortOrder:
        return u":/icons/arrow.up.arrow.down.svg"_s;
    case SidebarSymbol::search:
        return u":/icons/magnifyingglass.svg"_s;
    case SidebarSymbol::clearSearch:
        return u":/icons/xmark.circle.fill.svg"_s;
    case SidebarSymbol::tag:
        return u":/icons/tag.svg"_s;
    }
    return {};
}

// The shapes of our SVGs, for a Qt without its SVG plugin.
QImage drawnSymbol(SidebarSymbol symbol, int side)
{
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(side / qreal(SymbolSize), side / qreal(SymbolSize));
    const auto stroke = [&painter](qreal width) {
        painter.setPen(QPen(Qt::black, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.setBrush(Qt::NoBrush);
    };
    switch (symbol) {
    case SidebarSymbol::sortOrder: {
        stroke(1.5);
        QPainterPath path;
        path.moveTo(5, 13.5);
        path.lineTo(5, 2.5);
        path.moveTo(2, 5.5);
        path.lineTo(5, 2.5);
        path.lineTo(8, 5.5);
        path.moveTo(11, 2.5);
        path.lineTo(11, 13.5);
        path.moveTo(8, 10.5);
        path.lineTo(11, 13.5);
        path.lineTo(14, 10.5);
        painter.drawPath(path);
        break;
    }
    case SidebarSymbol::search:
        stroke(1.6);
        painter.drawEllipse(QPointF(6.5, 6.5), 4.5, 4.5);
        stroke(2);
        painter.drawLine(QPointF(10, 10), QPointF(14, 14));
        break;
    case SidebarSymbol::clearSearch:
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::black);
        painter.drawEllipse(QPointF(8, 8), 7, 7);
        painter.setCompositionMode(QPainter::CompositionMode_Clear);
        stroke(1.6);
        painter.drawLine(QPointF(5.5, 5.5), QPointF(10.5, 10.5));
        painter.drawLine(QPointF(10.5, 5.5), QPointF(5.5, 10.5));
        break;
    case SidebarSymbol::tag: {
        stroke(1.3);
        QPainterPath outline;
        outline.moveTo(2.5, 2.5);
        outline.lineTo(8, 2.5);
        outline.lineTo(13.5, 8);
        outline.lineTo(8, 13.5);
        outline.lineTo(2.5, 8);
        outline.closeSubpath();
        painter.drawPath(outline);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::black);
        painter.drawEllipse(QPointF(5.5, 5.5), 1.1, 1.1);
        break;
    }
    }
    return image;
}

QPixmap tinted(const QImage &glyph, const QColor &colour, qreal scale)
{
    QImage image = glyph.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(image.rect(), colour);
    painter.end();
    image.setDevicePixelRatio(scale);
    return QPixmap::fromImage(image);
}

} // namespace

QIcon sidebarSymbolIcon(SidebarSymbol symbol, const QColor &colour, const QColor &selectedColour)
{
    const QString name = themeName(symbol);
    if (QIcon::hasThemeIcon(name))
        return QIcon::fromTheme(name);

    ensureSymbolResources();
    QIcon icon;
    for (const qreal scale : {1.0, 2.0}) {
        const int side = qRound(SymbolSize * scale);
        QImageReader reader(resourcePath(symbol));
        reader.setScaledSize(QSize(side, side));
        QImage glyph = reader.read();
        if (glyph.isNull())
            glyph = drawnSymbol(symbol, side);
        icon.addPixmap(tinted(glyph, colour, scale), QIcon::Normal);
        if (selectedColour.isValid())
            icon.addPixmap(tinted(glyph, selectedColour, scale), QIcon::Selected);
    }
    return icon;
}
