#pragma once

#include <QStyledItemDelegate>

// Paints a row of the tag list: the tag's symbol and name as the style draws any row, and at
// the row's trailing end, dimmed, how many notes carry the tag, once the model has counted
// them. A long name is elided short of the count, never drawn under it.
class TagRowDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
};
