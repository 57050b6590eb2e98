#include "app/calendar/DayCell.h"

#include "core/DateText.h"

#include <QPainter>

#include <algorithm>

namespace {

constexpr int verticalPadding = 2;
constexpr int numberToMarkerSpacing = 2;
constexpr int markerSize = 5;
constexpr int highlightRadius = 5;
constexpr int minimumCellWidth = 10;

} // namespace

DayCell::DayCell(QWidget *parent) : QAbstractButton(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void DayCell::setDay(const MonthGridDay &day, bool hasNote, bool highlighted)
{
    if (day == m_day && hasNote == m_hasNote && highlighted == m_highlighted)
        return;
    m_day = day;
    m_hasNote = hasNote;
    m_highlighted = highlighted;
    setText(DateText::dayNumber(day.date));
    const QString name = DateText::fullDay(day.date);
    //: A calendar day for screen readers: %1 the day in full.
    setAccessibleName(hasNote ? tr("%1, has a note").arg(name) : name);
    update();
}

QSize DayCell::sizeHint() const
{
    const int width = fontMetrics().horizontalAdvance(QStringLiteral("00")) + 2 * verticalPadding;
    return {std::max(width, minimumCellWidth), cellHeight()};
}

QSize DayCell::minimumSizeHint() const
{
    return {minimumCellWidth, cellHeight()};
}

int DayCell::cellHeight() const
{
    return 2 * verticalPadding + fontMetrics().height() + numberToMarkerSpacing + markerSize;
}

void DayCell::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    const QColor accent = palette().color(QPalette::Highlight);
    if (m_highlighted) {
        painter.setBrush(accent);
        painter.drawRoundedRect(QRectF(rect()), highlightRadius, highlightRadius);
    }

    const int numberHeight = fontMetrics().height();
    QColor numberColour = palette().color(QPalette::WindowText);
    if (m_highlighted)
        numberColour = palette().color(QPalette::HighlightedText);
    else if (!m_day.inMonth)
        numberColour = palette().color(QPalette::PlaceholderText);
    painter.setPen(numberColour);
    painter.drawText(QRect(0, verticalPadding, width(), numberHeight), Qt::AlignCenter, text());

    if (m_hasNote) {
        painter.setPen(Qt::NoPen);
        // On the highlight, the marker takes the number's colour so that it stays visible.
        painter.setBrush(m_highlighted ? numberColour : accent);
        const qreal top = verticalPadding + numberHeight + numberToMarkerSpacing;
        painter.drawEllipse(QRectF((width() - markerSize) / 2.0, top, markerSize, markerSize));
    }
}
