#pragma once

#include "core/MonthGrid.h"

#include <QAbstractButton>

// One day of the calendar: its number over a note marker, on a square of the palette's
// highlight colour when it is the open day.
class DayCell : public QAbstractButton
{
    Q_OBJECT

public:
    explicit DayCell(QWidget *parent = nullptr);

    const MonthGridDay &day() const { return m_day; }
    void setDay(const MonthGridDay &day, bool hasNote, bool highlighted);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int cellHeight() const;

    MonthGridDay m_day;
    bool m_hasNote = false;
    bool m_highlighted = false;
};
