#include "app/sidebar/TagRowDelegate.h"

#include "app/Colours.h"
#include "core/TagListModel.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QPainter>
#include <QStyle>

#include <algorithm>

void TagRowDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                           const QModelIndex &index) const
{
    QStyleOptionViewItem row = option;
    initStyleOption(&row, index);
    const QWidget *view = row.widget;
    const QStyle *style = view ? view->style() : QApplication::style();
    // Until the counts are in, the name has the whole row.
    const QVariant noteCount = index.data(TagListModel::NoteCountRole);
    if (!noteCount.isValid()) {
        style->drawControl(QStyle::CE_ItemViewItem, &row, painter, view);
        return;
    }

    const QString count = row.locale.toString(noteCount.toInt());
    // The style insets the text by this much on each side of its rectangle.
    const int textMargin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
    const QRect textRect = style->subElementRect(QStyle::SE_ItemViewItemText, &row, view);
    const int gap = row.fontMetrics.horizontalAdvance(u' ') * 2;
    const int nameRoom =
        textRect.width() - 2 * textMargin - row.fontMetrics.horizontalAdvance(count) - gap;
    row.text = row.fontMetrics.elidedText(row.text, row.textElideMode, std::max(0, nameRoom));
    style->drawControl(QStyle::CE_ItemViewItem, &row, painter, view);

    const QPalette::ColorGroup group = !(row.state & QStyle::State_Enabled) ? QPalette::Disabled
                                       : (row.state & QStyle::State_Active) ? QPalette::Active
                                                                            : QPalette::Inactive;
    const bool selected = row.state & QStyle::State_Selected;
    QColor dimmed = row.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text);
    dimmed.setAlphaF(0.55f);
    // Dimmed no further than text can be read on the row: the selection's colour, or the
    // list's own background.
    const auto *list = qobject_cast<const QAbstractScrollArea *>(view);
    const QWidget *viewport = list ? list->viewport() : view;
    const QColor background = selected ? row.palette.color(group, QPalette::Highlight)
                              : viewport
                                  ? viewport->palette().color(group, viewport->backgroundRole())
                                  : row.palette.color(group, QPalette::Base);
    dimmed = Colours::legible(dimmed, background, Colours::textContrast);
    painter->save();
    painter->setFont(row.font);
    painter->setPen(dimmed);
    painter->drawText(
        textRect.adjusted(textMargin, 0, -textMargin, 0),
        int(QStyle::visualAlignment(row.direction, Qt::AlignRight | Qt::AlignVCenter)), count);
    painter->restore();
}
