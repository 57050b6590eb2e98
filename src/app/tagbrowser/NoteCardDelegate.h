#pragma once

#include <QDate>
#include <QList>
#include <QRect>
#include <QString>
#include <QStyledItemDelegate>

class Journal;

// Paints one note as a card among a tag's notes: its first line as a title, up to four lines
// of the rest, and its day at the bottom, on a rounded window-coloured background. A card
// reads its note's text when it is painted, so only the cards on screen are ever read.
class NoteCardDelegate : public QStyledItemDelegate
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

    // What a card painted in option.rect shows of a note, and where. paint() draws exactly
    // this, so it is also what a test checks.
    struct Layout
    {
        QRect content; // the card less its padding
        Line title;
        QList<Line> preview; // empty when nothing follows the title
        Line date;
    };

    explicit NoteCardDelegate(Journal *journal, QObject *parent = nullptr);

    static Layout cardLayout(const QStyleOptionViewItem &option, const QString &text, QDate day);
    Layout cardLayout(const QStyleOptionViewItem &option, const QModelIndex &index) const;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    Journal *m_journal;
};
