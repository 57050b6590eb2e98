#include "app/search/SearchResultDelegate.h"

#include "app/TextStyles.h"
#include "core/DateText.h"
#include "core/SearchResultsModel.h"

#include <QApplication>
#include <QPainter>
#include <QTextLayout>

namespace {

constexpr int padding = 8;
constexpr int lineGap = 2;

QFont dayFont(const QFont &body)
{
    return styledFont(body, TextStyle::Headline);
}

} // namespace

QSize SearchResultDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const
{
    const QFontMetrics day(dayFont(option.font));
    return QSize(option.rect.width(),
                 padding + day.height() + lineGap + option.fontMetrics.height() + padding);
}

void SearchResultDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                 const QModelIndex &index) const
{
    QStyleOptionViewItem background = option;
    initStyleOption(&background, index);
    background.text.clear();
    const QStyle *style = option.widget ? option.widget->style() : QApplication::style();
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &background, painter, option.widget);

    const bool selected = option.state & QStyle::State_Selected;
    const QColor textColour =
        option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text);
    const QRect area = option.rect.adjusted(padding, padding, -padding, -padding);
    painter->save();
    painter->setClipRect(option.rect);

    const QFont headline = dayFont(option.font);
    const QFontMetrics dayMetrics(headline);
    painter->setFont(headline);
    painter->setPen(textColour);
    const QString day = DateText::header(index.data(SearchResultsModel::DayRole).toDate());
    painter->drawText(QRect(area.left(), area.top(), area.width(), dayMetrics.height()),
                      Qt::AlignLeft | Qt::AlignVCenter,
                      dayMetrics.elidedText(day, Qt::ElideRight, area.width()));

    // The snippet on one line, cut at the right with an ellipsis; the index already puts the
    // first match near its start.
    const QString snippet = index.data(Qt::DisplayRole).toString();
    const auto matches = index.data(SearchResultsModel::MatchesRole).value<QList<TextRange>>();
    QTextCharFormat match;
    match.setFontWeight(QFont::Bold);
    if (!selected) {
        QColor mark = option.palette.color(QPalette::Highlight);
        mark.setAlpha(70);
        match.setBackground(mark);
    }
    QList<QTextLayout::FormatRange> formats;
    for (const TextRange &range : matches)
        formats.append({int(range.start), int(range.length), match});
    QTextLayout layout(snippet, option.font);
    layout.setFormats(formats);
    QTextOption wrap;
    wrap.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(wrap);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    if (line.isValid())
        line.setLineWidth(area.width());
    layout.endLayout();
    const QPointF origin(area.left(), area.top() + dayMetrics.height() + lineGap);
    if (line.isValid()) {
        const qreal room = area.width() - option.fontMetrics.horizontalAdvance(u'\u2026');
        const bool tooLong = line.naturalTextWidth() > area.width();
        painter->save();
        if (tooLong)
            painter->setClipRect(QRectF(origin, QSizeF(room, line.height())));
        layout.draw(painter, origin);
        painter->restore();
        if (tooLong) {
            painter->setFont(option.font);
            painter->drawText(QPointF(origin.x() + room, origin.y() + line.ascent()),
                              QStringLiteral("\u2026"));
        }
    }
    painter->restore();
}
