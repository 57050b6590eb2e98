#include "app/ElidedLabel.h"

#include <QPainter>

#include <algorithm>

QSize ElidedLabel::sizeHint() const
{
    return {std::min(QLabel::sizeHint().width(), fontMetrics().averageCharWidth() * 40),
            QLabel::sizeHint().height()};
}

QSize ElidedLabel::minimumSizeHint() const
{
    return {fontMetrics().horizontalAdvance(QStringLiteral("\u2026")),
            QLabel::minimumSizeHint().height()};
}

void ElidedLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(palette().color(foregroundRole()));
    painter.drawText(contentsRect(), Qt::AlignVCenter | Qt::AlignLeading,
                     fontMetrics().elidedText(text(), Qt::ElideRight, contentsRect().width()));
}
