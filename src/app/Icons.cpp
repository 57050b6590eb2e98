#include "app/Icons.h"

#include <QHash>
#include <QIconEngine>
#include <QImage>
#include <QImageReader>
#include <QPaintDevice>
#include <QPainter>
#include <QPixmap>

using namespace Qt::StringLiterals;

// The resources live in a static library, whose registration the linker would drop unless
// something refers to it.
static void ensureIconResources()
{
    static const bool registered = [] {
        Q_INIT_RESOURCE(resources);
        return true;
    }();
    Q_UNUSED(registered);
}

namespace {

// Renders a single-colour SVG at whatever size and pixel ratio is asked for, filled with the
// colour of the mode.
class TintedSvgEngine : public QIconEngine
{
public:
    TintedSvgEngine(const QString &path, const QPalette &palette, QPalette::ColorRole role)
        : m_path(path), m_normal(palette.color(role)),
          m_selected(palette.color(QPalette::HighlightedText)),
          m_disabled(palette.color(QPalette::Disabled, role))
    {}

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State) override
    {
        const QColor colour = mode == QIcon::Disabled   ? m_disabled
                              : mode == QIcon::Selected ? m_selected
                                                        : m_normal;
        const QString key = u"%1x%2/%3"_s.arg(size.width()).arg(size.height()).arg(int(mode));
        if (const auto cached = m_cache.constFind(key); cached != m_cache.cend())
            return *cached;

        QImageReader reader(m_path);
        reader.setScaledSize(size);
        QImage image = reader.read().convertToFormat(QImage::Format_ARGB32_Premultiplied);
        // Without Qt's SVG plugin the symbol stays blank instead of failing the paint.
        if (image.isNull()) {
            image = QImage(size, QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::transparent);
        }
        QPainter painter(&image);
        painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
        painter.fillRect(image.rect(), colour);
        painter.end();
        const QPixmap pixmap = QPixmap::fromImage(image);
        m_cache.insert(key, pixmap);
        return pixmap;
    }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal ratio = painter->device()->devicePixelRatioF();
        QPixmap image = pixmap((QSizeF(rect.size()) * ratio).toSize(), mode, state);
        image.setDevicePixelRatio(ratio);
        painter->drawPixmap(rect, image);
    }

    QIconEngine *clone() const override { return new TintedSvgEngine(*this); }

private:
    QString m_path;
    QColor m_normal;
    QColor m_selected;
    QColor m_disabled;
    QHash<QString, QPixmap> m_cache;
};

} // namespace

QIcon themedIcon(const QString &name, const QPalette &palette, QPalette::ColorRole role,
                 Qt::LayoutDirection direction)
{
    // Themes that lack a generic sort symbol usually have the ascending one.
    const QStringList themeNames =
        name == u"view-sort" ? QStringList{name, u"view-sort-ascending"_s} : QStringList{name};
    for (const QString &themeName : themeNames) {
        if (QIcon::hasThemeIcon(themeName))
            return QIcon::fromTheme(themeName);
    }
    QString glyph = name;
    if (direction == Qt::RightToLeft && (name == u"go-previous" || name == u"go-next"))
        glyph = name == u"go-previous" ? u"go-next"_s : u"go-previous"_s;
    ensureIconResources();
    return QIcon(new TintedSvgEngine(u":/icons/%1.svg"_s.arg(glyph), palette, role));
}
