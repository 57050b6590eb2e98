#pragma once

#include <QListView>

// The lazy grid of note cards: three columns that share the width equally, 24 px between
// columns and rows, cards 180 px tall. QListView places the cells and paints only the cards
// in view; each card is its cell less its share of the gap, so the gaps take no click.
class NoteCardGrid : public QListView
{
    Q_OBJECT

public:
    static constexpr int columnCount = 3;
    static constexpr int spacing = 24;
    static constexpr int minimumCardWidth = 10;

    explicit NoteCardGrid(QWidget *parent = nullptr);

    QRect visualRect(const QModelIndex &index) const override;

Q_SIGNALS:
    // Enter or Return on the current card.
    void cardEntered(const QModelIndex &index);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyboardSearch(const QString &search) override;

private:
    int layoutWidth() const;
    void updateGridSize();
};
