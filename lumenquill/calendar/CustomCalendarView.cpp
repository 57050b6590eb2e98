#include "CustomCalendarView.h"

#include "SelectionState.h"
#include "Symbols.h"
// SelectionState.h holds QPointers to these and needs them complete.
#include "model/Note.h"
#include "model/Tag.h"

#include <QAbstractButton>
#include <QEvent>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

using namespace Qt::StringLiterals;

namespace {

constexpr int ViewVerticalPadding = 5;
constexpr int RowSpacing = 10;
constexpr int GridRowSpacing = 5;
constexpr int CellVerticalPadding = 2;
constexpr int NumberToMarkerSpacing = 2;
constexpr int MarkerSize = 5;
constexpr int HighlightRadius = 5;
constexpr int MinimumColumnWidth = 10;
constexpr int ChevronIconSize = 12;
constexpr int ChevronPadding = 5;
constexpr int DaysPerWeek = 7;
constexpr int MaximumCells = 6 * DaysPerWeek;

// Not localised: the grid is Monday-first whatever the locale says, and so are these.
constexpr std::array<char16_t, DaysPerWeek> WeekdaySymbols = {u'M', u'T', u'W', u'T',
                                                              u'F', u'S', u'S'};

QDate firstOfMonth(QDate day)
{
    return QDate(day.year(), day.month(), 1);
}

QToolButton *makeChevronButton(const QString &objectName, const QString &accessibleName,
                               QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(objectName);
    button->setAccessibleName(accessibleName);
    button->setAutoRaise(true);
    button->setIconSize(QSize(ChevronIconSize, ChevronIconSize));
    // The padding belongs to the button, so a click beside the glyph still counts.
    button->setFixedSize(ChevronIconSize + 2 * ChevronPadding,
                         ChevronIconSize + 2 * ChevronPadding);
    return button;
}

} // namespace

// The month title, elided rather than pushing the buttons out of a narrow sidebar.
class CustomCalendarView::MonthTitle : public QLabel
{
public:
    using QLabel::QLabel;

    QSize minimumSizeHint() const override
    {
        return {fontMetrics().horizontalAdvance(u"\u2026"_s), QLabel::minimumSizeHint().height()};
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setPen(palette().color(foregroundRole()));
        painter.drawText(contentsRect(), Qt::AlignVCenter | Qt::AlignLeading,
                         fontMetrics().elidedText(text(), Qt::ElideRight, contentsRect().width()));
    }
};

// One day of the grid: its number over a note marker, on a blue square when highlighted.
class CustomCalendarView::DayCell : public QAbstractButton
{
public:
    explicit DayCell(QWidget *parent) : QAbstractButton(parent)
    {
        setFocusPolicy(Qt::NoFocus);
        setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    }

    const DayInfo &info() const { return m_info; }

    void setDay(const DayInfo &info, bool hasNote, bool highlighted)
    {
        if (info == m_info && hasNote == m_hasNote && highlighted == m_highlighted)
            return;
        m_info = info;
        m_hasNote = hasNote;
        m_highlighted = highlighted;
        setText(m_info.date ? QLocale().toString(*m_info.date, u"d"_s) : QString());
        QString name;
        if (m_info.date) {
            name = QLocale().toString(*m_info.date, u"MMMM d, yyyy"_s);
            if (m_hasNote)
                name += u", has a note"_s;
        }
        setAccessibleName(name);
        update();
    }

    QSize sizeHint() const override
    {
        const int width = fontMetrics().horizontalAdvance(u"00"_s) + 2 * CellVerticalPadding;
        return {std::max(width, MinimumColumnWidth), cellHeight()};
    }

    QSize minimumSizeHint() const override { return {MinimumColumnWidth, cellHeight()}; }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        if (m_highlighted) {
            painter.setBrush(accentColor());
            painter.drawRoundedRect(QRectF(rect()), HighlightRadius, HighlightRadius);
        }
        if (!m_info.date)
            return;

        const int numberHeight = fontMetrics().height();
        QColor numberColour = palette().color(QPalette::WindowText);
        if (m_highlighted)
            numberColour = Qt::white;
        else if (!m_info.belongsToMonth)
            numberColour = palette().color(QPalette::PlaceholderText);
        painter.setPen(numberColour);
        painter.drawText(QRect(0, CellVerticalPadding, width(), numberHeight), Qt::AlignCenter,
                         text());

        if (m_hasNote) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(accentColor());
            const qreal top = CellVerticalPadding + numberHeight + NumberToMarkerSpacing;
            painter.drawEllipse(QRectF((width() - MarkerSize) / 2.0, top, MarkerSize, MarkerSize));
        }
    }

private:
    int cellHeight() const
    {
        return 2 * CellVerticalPadding + fontMetrics().height() + NumberToMarkerSpacing +
               MarkerSize;
    }

    DayInfo m_info;
    bool m_hasNote = false;
    bool m_highlighted = false;
};

CustomCalendarView::CustomCalendarView(SelectionState *selection, DaysWithNotesProvider provider,
                                       QWidget *parent)
    : QWidget(parent), m_selection(selection), m_daysWithNotes(std::move(provider))
{
    Q_ASSERT(m_selection);
    setAccessibleName(u"Calendar"_s);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);

    const QDate selectedDay = m_selection->selectedDate().toLocalTime().date();
    m_displayMonth = firstOfMonth(selectedDay.isValid() ? selectedDay : QDate::currentDate());

    // The style's padding and spacing for widgets inside a window, wherever this one sits;
    // nested layouts would otherwise inherit the column's spacing of 10.
    const int sidePadding = style()->pixelMetric(QStyle::PM_LayoutLeftMargin);
    int spacing = style()->pixelMetric(QStyle::PM_LayoutHorizontalSpacing);
    if (spacing < 0)
        spacing = style()->layoutSpacing(QSizePolicy::PushButton, QSizePolicy::PushButton,
                                         Qt::Horizontal);

    auto *header = new QHBoxLayout;
    header->setContentsMargins(sidePadding, 0, sidePadding, 0);
    header->setSpacing(spacing);
    m_title = new MonthTitle(this);
    m_title->setObjectName(u"monthTitle"_s);
    header->addWidget(m_title);
    header->addStretch();
    m_previousButton = makeChevronButton(u"previousMonthButton"_s, u"Previous month"_s, this);
    header->addWidget(m_previousButton);
    m_todayButton = new QToolButton(this);
    m_todayButton->setObjectName(u"todayButton"_s);
    m_todayButton->setText(u"TODAY"_s);
    m_todayButton->setAccessibleName(u"Today"_s);
    m_todayButton->setAutoRaise(true);
    header->addWidget(m_todayButton);
    m_nextButton = makeChevronButton(u"nextMonthButton"_s, u"Next month"_s, this);
    header->addWidget(m_nextButton);

    auto *weekdays = new QHBoxLayout;
    weekdays->setContentsMargins(sidePadding, 0, sidePadding, 0);
    weekdays->setSpacing(0);
    for (int i = 0; i < DaysPerWeek; ++i) {
        auto *label = new QLabel(QString(QChar(WeekdaySymbols[i])), this);
        label->setAlignment(Qt::AlignCenter);
        label->setForegroundRole(QPalette::PlaceholderText);
        label->setAccessibleName(QLocale().dayName(Qt::Monday + i));
        weekdays->addWidget(label, 1);
        m_weekdayLabels.append(label);
    }

    m_grid = new QGridLayout;
    m_grid->setContentsMargins(sidePadding, 0, sidePadding, 0);
    m_grid->setHorizontalSpacing(spacing);
    m_grid->setVerticalSpacing(GridRowSpacing);
    for (int column = 0; column < DaysPerWeek; ++column)
        m_grid->setColumnStretch(column, 1);
    for (int i = 0; i < MaximumCells; ++i) {
        auto *cell = new DayCell(this);
        connect(cell, &QAbstractButton::clicked, this, [this, cell] {
            if (cell->info().date)
                selectDay(*cell->info().date);
        });
        m_grid->addWidget(cell, i / DaysPerWeek, i % DaysPerWeek);
        m_cells.append(cell);
    }

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, ViewVerticalPadding, 0, ViewVerticalPadding);
    column->setSpacing(RowSpacing);
    column->addLayout(header);
    column->addLayout(weekdays);
    column->addLayout(m_grid);

    connect(m_previousButton, &QToolButton::clicked, this, [this] { changeMonth(-1); });
    connect(m_nextButton, &QToolButton::clicked, this, [this] { changeMonth(1); });
    connect(m_todayButton, &QToolButton::clicked, this, &CustomCalendarView::goToToday);
    connect(m_selection, &SelectionState::selectedDateChanged, this,
            &CustomCalendarView::updateGrid);
    connect(m_selection, &SelectionState::highlightedDateChanged, this,
            &CustomCalendarView::updateGrid);

    applyFonts();
    applyChevronIcons();
    updateGrid();
}

CustomCalendarView::~CustomCalendarView() = default;

QList<CustomCalendarView::DayInfo> CustomCalendarView::generateDays() const
{
    return ::generateDays(m_displayMonth, m_selection->selectedDate());
}

QRect CustomCalendarView::dayCellRect(QDate day) const
{
    for (const DayCell *cell : m_cells) {
        if (!cell->isHidden() && cell->info().date == day)
            return QRect(cell->mapTo(this, QPoint(0, 0)), cell->size());
    }
    return {};
}

QColor CustomCalendarView::accentColor()
{
    // Carries a white number and reads as a dot on light and dark backgrounds alike.
    return QColor(0x00, 0x7a, 0xff);
}

void CustomCalendarView::changeMonth(int months)
{
    const QDate month = m_displayMonth.addMonths(months);
    if (month.isValid())
        setDisplayMonth(month);
}

void CustomCalendarView::goToToday()
{
    const QDateTime now = QDateTime::currentDateTime();
    m_selection->setSelectedDate(now);
    m_selection->setHighlightedDate(now);
    setDisplayMonth(firstOfMonth(now.date()));
}

void CustomCalendarView::selectDay(QDate day)
{
    if (!day.isValid())
        return;
    const QDateTime dayStart = day.startOfDay();
    m_selection->setSelectedDate(dayStart);
    m_selection->setHighlightedDate(dayStart);
}

void CustomCalendarView::refreshNoteMarkers()
{
    m_noteRange = {};
    updateGrid();
}

void CustomCalendarView::changeEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::FontChange:
        applyFonts();
        break;
    case QEvent::PaletteChange:
    case QEvent::LayoutDirectionChange:
        applyChevronIcons();
        break;
    default:
        break;
    }
    QWidget::changeEvent(event);
}

void CustomCalendarView::setDisplayMonth(QDate month)
{
    if (month == m_displayMonth)
        return;
    m_displayMonth = month;
    updateGrid();
}

void CustomCalendarView::updateGrid()
{
    m_title->setText(QLocale().toString(m_displayMonth, u"MMMM yyyy"_s));

    const QList<DayInfo> days = generateDays();
    QPair<QDate, QDate> range;
    if (!days.isEmpty())
        range = {days.first().date.value_or(QDate()), days.last().date.value_or(QDate())};
    if (range != m_noteRange || !m_noteRange.first.isValid()) {
        m_noteRange = range;
        m_noteDays = m_daysWithNotes && range.first.isValid()
                         ? m_daysWithNotes(range.first, range.second)
                         : QSet<QDate>();
    }

    const std::optional<QDateTime> highlighted = m_selection->highlightedDate();
    const QDate highlightedDay = highlighted ? highlighted->toLocalTime().date() : QDate();
    for (qsizetype i = 0; i < m_cells.size(); ++i) {
        DayCell *cell = m_cells[i];
        if (i >= days.size()) {
            cell->hide();
            continue;
        }
        const DayInfo &day = days[i];
        const bool isHighlighted =
            day.date && highlightedDay.isValid() && *day.date == highlightedDay;
        cell->setDay(day, day.date && m_noteDays.contains(*day.date), isHighlighted);
        cell->show();
    }
}

void CustomCalendarView::applyFonts()
{
    QFont titleFont = font();
    titleFont.setWeight(QFont::DemiBold);
    m_title->setFont(titleFont);

    // About three quarters of the body text, raised to the platform's smallest readable size
    // where the platform names one below the body size.
    QFont captionFont = font();
    const qreal body = font().pointSizeF();
    if (body > 0) {
        const qreal smallest =
            QFontDatabase::systemFont(QFontDatabase::SmallestReadableFont).pointSizeF();
        qreal caption = body * 10.0 / 13.0;
        if (smallest > 0 && smallest < body)
            caption = std::max(caption, smallest);
        captionFont.setPointSizeF(caption);
    }
    m_todayButton->setFont(captionFont);
    for (QLabel *label : std::as_const(m_weekdayLabels))
        label->setFont(captionFont);
}

void CustomCalendarView::applyChevronIcons()
{
    m_previousButton->setIcon(
        symbolIcon(Symbol::previous, palette(), QPalette::ButtonText, layoutDirection()));
    m_nextButton->setIcon(
        symbolIcon(Symbol::next, palette(), QPalette::ButtonText, layoutDirection()));
}
