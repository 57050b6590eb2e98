#pragma once

#include <QStyledItemDelegate>

// A search result as a row: its day over a line of the note's text around the matches, each
// match marked in the highlight colour.
class SearchResultDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};
