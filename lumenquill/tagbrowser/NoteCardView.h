#pragma once

#include <QList>
#include <QRect>
#include <QString>
#include <QStyledItemDelegate>

class Note;

// Paints one note as a card of the tag browser: its first line as a title, up to four lines
// of the rest, and its day at the bottom, on a rounded window-coloured background.
class NoteCardView : public QStyledItemDelegate
{
    Q_OBJECT

public:
    static constexpr int cardHeight = 180;
    static constexpr int cornerRadius = 8;
    static constexpr int stackSpacing = 8;
    static constexpr int previewLineLimit = 4;

    struct Line
    {
        QRect rect;
        QString text;
    };

    // What a card painted in option.rect shows of the note, and where. paint() draws exactly
    // this, so it is also the seam for checking what a card shows.
    struct Layout
    {
        QRect content; // the card less its padding
        Line title;
        QList<Line> preview; // empty when nothing follows the title
        Line date;
    };

    using QStyledItemDelegate::QStyledItemDelegate;

    static Layout cardLayout(const QStyleOptionViewItem &option, const Note *note);

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

    static QFont headlineFont(const QFont &base);
    static QFont calloutFont(const QFont &base);
    static QFont captionFont(const QFont &base);
};
