#include "app/calendar/MonthTitle.h"

#include <QPainter>

QSize MonthTitle::minimumSizeHint() const
{
    return {fontMetrics().horizontalAdvance(QStringLiteral("\u2026")),
            QLabel::minimumSizeHint().height()};
}

void MonthTitle::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(palette().color(foregroundRole()));
    painter.drawText(contentsRect(), Qt::AlignVCenter | Qt::AlignLeading,
                     fontMetrics().elidedText(text(), Qt::ElideRight, contentsRect().width()));
}
