#include "tagbrowser/NoteCardView.h"

#include "model/Note.h"
#include "tagbrowser/NoteCardText.h"
#include "tagbrowser/TagNotesModel.h"

#include <QApplication>
#include <QFontDatabase>
#include <QListView>
#include <QLocale>
#include <QPainter>
#include <QRegularExpression>
#include <QStyle>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace {

// The day written out as the locale writes a long date, without the weekday:
// "May 9, 2026", "9. Mai 2026".
QString dayText(QDate day)
{
    static const QRegularExpression weekday(QStringLiteral("dddd[,.]?\\s*|,?\\s*dddd"));
    const QLocale locale;
    QString format = locale.dateFormat(QLocale::LongFormat);
    format.remove(weekday);
    return locale.toString(day, format.trimmed());
}

// Sizes relative to the body text, as the desktop's text styles relate them (13 pt body).
QFont scaled(const QFont &base, qreal factor)
{
    QFont font = base;
    if (base.pointSizeF() > 0)
        font.setPointSizeF(base.pointSizeF() * factor);
    else
        font.setPixelSize(std::max(1, static_cast<int>(std::lround(base.pixelSize() * factor))));
    return font;
}

const QStyle *styleOf(const QStyleOptionViewItem &option)
{
    return option.widget ? option.widget->style() : QApplication::style();
}

QColor secondaryColour(const QPalette &palette)
{
    QColor colour = palette.color(QPalette::WindowText);
    colour.setAlphaF(0.55f);
    return colour;
}

// Lays out the rest of the note within width, at most maxLines lines; a cut text ends its
// last line in an ellipsis.
QStringList previewLines(const QString &rest, const QFont &font, int width, int maxLines,
                         Qt::LayoutDirection direction)
{
    QString text = rest;
    text.replace(u'\n', QChar::LineSeparator);
    QTextLayout layout(text, font);
    QTextOption textOption;
    textOption.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    textOption.setTextDirection(direction);
    layout.setTextOption(textOption);

    QStringList lines;
    qsizetype end = 0;
    layout.beginLayout();
    while (lines.size() < maxLines) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(width);
        QString piece = text.mid(line.textStart(), line.textLength());
        if (piece.endsWith(QChar::LineSeparator))
            piece.chop(1);
        lines.append(piece);
        end = line.textStart() + line.textLength();
    }
    layout.endLayout();

    if (!lines.isEmpty() && end < text.size()) {
        const QFontMetrics metrics(font);
        lines.last() = metrics.elidedText(lines.last() + u'\u2026', Qt::ElideRight, width);
    }
    return lines;
}

} // namespace

QFont NoteCardView::headlineFont(const QFont &base)
{
    QFont font = base;
    font.setBold(true);
    return font;
}

QFont NoteCardView::calloutFont(const QFont &base)
{
    return scaled(base, 12.0 / 13.0);
}

QFont NoteCardView::captionFont(const QFont &base)
{
    QFont font = scaled(base, 10.0 / 13.0);
    // Kept readable, but never larger than the preview text above it.
    const qreal smallest =
        std::min(QFontDatabase::systemFont(QFontDatabase::SmallestReadableFont).pointSizeF(),
                 calloutFont(base).pointSizeF());
    if (font.pointSizeF() > 0 && font.pointSizeF() < smallest)
        font.setPointSizeF(smallest);
    return font;
}

NoteCardView::Layout NoteCardView::cardLayout(const QStyleOptionViewItem &option, const Note *note)
{
    const QStyle *style = styleOf(option);
    const QMargins padding(style->pixelMetric(QStyle::PM_LayoutLeftMargin),
                           style->pixelMetric(QStyle::PM_LayoutTopMargin),
                           style->pixelMetric(QStyle::PM_LayoutRightMargin),
                           style->pixelMetric(QStyle::PM_LayoutBottomMargin));
    Layout layout;
    layout.content = option.rect.marginsRemoved(padding);
    const QRect &content = layout.content;
    if (!note || content.isEmpty())
        return layout;

    const QString text = note->content();
    const QFontMetrics headline(headlineFont(option.font));
    layout.title.rect = QRect(content.left(), content.top(), content.width(), headline.height());
    layout.title.text = headline.elidedText(firstLine(text), Qt::ElideRight, content.width());

    const QFontMetrics caption(captionFont(option.font));
    layout.date.rect = QRect(content.left(), content.bottom() + 1 - caption.height(),
                             content.width(), caption.height());
    layout.date.text = dayText(note->day());

    const QString rest = remainingText(text);
    if (rest.isEmpty())
        return layout;
    // The spacer between the preview and the date keeps the stack's spacing on both sides.
    const QFont callout = calloutFont(option.font);
    const int lineSpacing = QFontMetrics(callout).lineSpacing();
    const int top = layout.title.rect.bottom() + 1 + stackSpacing;
    const int room = layout.date.rect.top() - 2 * stackSpacing - top;
    const int maxLines = std::min(previewLineLimit, std::max(0, room / lineSpacing));
    const QStringList lines =
        previewLines(rest, callout, content.width(), maxLines, option.direction);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QRect rect(content.left(), top + static_cast<int>(i) * lineSpacing, content.width(),
                         lineSpacing);
        layout.preview.append({rect, lines.at(i)});
    }
    return layout;
}

void NoteCardView::paint(QPainter *painter, const QStyleOptionViewItem &option,
                         const QModelIndex &index) const
{
    const auto *note = index.data(TagNotesModel::NoteRole).value<Note *>();
    const Layout layout = cardLayout(option, note);
    const QPalette &palette = option.palette;

    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(Qt::NoPen);
    painter->setBrush(palette.color(QPalette::Window));
    painter->drawRoundedRect(QRectF(option.rect), cornerRadius, cornerRadius);
    // Cards carry no border; a ring shows only where the keyboard has put the focus.
    if ((option.state & QStyle::State_HasFocus) &&
        (option.state & QStyle::State_KeyboardFocusChange)) {
        painter->setPen(QPen(palette.color(QPalette::Highlight), 2));
        painter->setBrush(Qt::NoBrush);
        painter->drawRoundedRect(QRectF(option.rect).adjusted(1, 1, -1, -1), cornerRadius - 1,
                                 cornerRadius - 1);
    }

    painter->setClipRect(layout.content);
    const int flags = Qt::AlignLeading | Qt::AlignTop | Qt::TextSingleLine | Qt::TextExpandTabs;
    painter->setFont(headlineFont(option.font));
    painter->setPen(palette.color(QPalette::WindowText));
    painter->drawText(layout.title.rect, flags, layout.title.text);
    if (!layout.preview.isEmpty()) {
        painter->setFont(calloutFont(option.font));
        painter->setPen(secondaryColour(palette));
        for (const Line &line : layout.preview)
            painter->drawText(line.rect, flags, line.text);
    }
    painter->setFont(captionFont(option.font));
    painter->setPen(palette.color(QPalette::PlaceholderText));
    painter->drawText(layout.date.rect, flags, layout.date.text);
    painter->restore();
}

// A card fills its cell of the grid; the grid itself leaves the gaps between cards.
QSize NoteCardView::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const
{
    if (const auto *view = qobject_cast<const QListView *>(option.widget);
        view && view->gridSize().isValid())
        return view->gridSize();
    return QSize(option.rect.width(), cardHeight);
}
