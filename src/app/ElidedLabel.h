#pragma once

#include <QLabel>

// A one-line label that elides its text to the room it is given instead of asking for the
// text's whole width: a tag name of any length over its notes.
class ElidedLabel : public QLabel
{
    Q_OBJECT

public:
    using QLabel::QLabel;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
};
