#include "app/calendar/DayCell.h"

#include "app/Colours.h"
#include "core/DateText.h"

#include <QPainter>

#include <algorithm>

namespace {

constexpr int verticalPadding = 2;
constexpr int numberToMarkerSpacing = 2;
constexpr int markerSize = 5;
constexpr int highlightRadius = 5;
constexpr int minimumCellWidth = 10;
constexpr qreal focusRingWidth = 2;

} // namespace

DayCell::DayCell(QWidget *parent) : QAbstractButton(parent)
{
    // The calendar lets one day at a time take the keyboard focus.
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

// The colours follow the palette, each kept readable on what it is drawn over: a pale accent
// is deepened until the note markers stand out from the window, and the open day's square
// until its number, in the palette's colour for highlighted text, can be read on it.
void DayCell::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    const QColor window = palette().color(QPalette::Window);
    const QColor accent =
        Colours::legible(palette().color(QPalette::Highlight), window, Colours::symbolContrast);
    const QColor square =
        Colours::legible(accent, palette().color(QPalette::HighlightedText), Colours::textContrast);
    const QColor background = m_highlighted ? square : window;
    if (m_highlighted) {
        painter.setBrush(square);
        painter.drawRoundedRect(QRectF(rect()), highlightRadius, highlightRadius);
    }
    // The ring of the day that has the keyboard; on the open day's square, inside it.
    if (hasFocus()) {
        const QColor ring = m_highlighted ? palette().color(QPalette::HighlightedText) : accent;
        painter.setPen(
            QPen(Colours::legible(ring, background, Colours::symbolContrast), focusRingWidth));
        painter.setBrush(Qt::NoBrush);
        const qreal inset = focusRingWidth * (m_highlighted ? 1.5 : 0.5);
        painter.drawRoundedRect(QRectF(rect()).adjusted(inset, inset, -inset, -inset),
                                highlightRadius - inset / 2, highlightRadius - inset / 2);
        painter.setPen(Qt::NoPen);
    }

    const int numberHeight = fontMetrics().height();
    QColor numberColour = palette().color(QPalette::WindowText);
    if (m_highlighted)
        numberColour = palette().color(QPalette::HighlightedText);
    else if (!m_day.inMonth)
        numberColour = palette().color(QPalette::PlaceholderText);
    numberColour = Colours::legible(numberColour, background, Colours::textContrast);
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
