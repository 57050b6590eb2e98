#pragma once

#include <QLabel>

// The calendar's month title, elided rather than pushing the buttons out of a narrow
// sidebar.
class MonthTitle : public QLabel
{
    Q_OBJECT

public:
    using QLabel::QLabel;

    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
};
