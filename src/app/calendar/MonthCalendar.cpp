#include "app/calendar/MonthCalendar.h"

#include "app/Icons.h"
#include "app/SelectionState.h"
#include "app/TextStyles.h"
#include "app/ToolButton.h"
#include "app/calendar/DayCell.h"
#include "app/calendar/MonthPicker.h"
#include "core/DateText.h"
#include "core/Journal.h"
#include "core/MonthGrid.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

constexpr int verticalPadding = 5;
constexpr int rowSpacing = 10;
constexpr int gridRowSpacing = 5;
constexpr int chevronIconSize = 12;
constexpr int chevronPadding = 5;
constexpr int daysPerWeek = 7;
constexpr int maximumCells = 6 * daysPerWeek;

QDate firstOfMonth(QDate day)
{
    return QDate(day.year(), day.month(), 1);
}

// The month's name, which opens the month picker: drawn as plain text, elided to the room
// the header leaves it, and pressed by Enter as well as by Space.
class MonthTitle : public QAbstractButton
{
public:
    using QAbstractButton::QAbstractButton;

    QSize sizeHint() const override
    {
        const QFontMetrics metrics = fontMetrics();
        return {std::min(metrics.horizontalAdvance(text()), metrics.averageCharWidth() * 40),
                metrics.height()};
    }

    QSize minimumSizeHint() const override
    {
        return {fontMetrics().horizontalAdvance(u"\u2026"_s), fontMetrics().height()};
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(rect(), Qt::AlignVCenter | Qt::AlignLeading,
                         fontMetrics().elidedText(text(), Qt::ElideRight, width()));
        if (hasFocus()) {
            QStyleOptionFocusRect focus;
            focus.initFrom(this);
            style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
        }
    }

    void keyPressEvent(QKeyEvent *event) override
    {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
            click();
        else
            QAbstractButton::keyPressEvent(event);
    }
};

QToolButton *makeChevron(const QString &objectName, const QString &accessibleName, QWidget *parent)
{
    QToolButton *button = makeToolButton(objectName, accessibleName, parent);
    button->setIconSize(QSize(chevronIconSize, chevronIconSize));
    // The padding belongs to the button, so a click beside the glyph still counts.
    button->setFixedSize(chevronIconSize + 2 * chevronPadding,
                         chevronIconSize + 2 * chevronPadding);
    return button;
}

} // namespace

MonthCalendar::MonthCalendar(Journal *journal, SelectionState *selection, QWidget *parent)
    : QWidget(parent), m_journal(journal), m_selection(selection), m_title(new MonthTitle(this)),
      m_previousButton(makeChevron(u"previousMonthButton"_s, tr("Previous month"), this)),
      m_todayButton(makeToolButton(u"todayButton"_s, tr("Today"), this)),
      m_nextButton(makeChevron(u"nextMonthButton"_s, tr("Next month"), this)),
      m_grid(new QGridLayout), m_readError(new QLabel(this))
{
    setAccessibleName(tr("Calendar"));
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);

    const QDate selectedDay = m_selection->selectedDate().toLocalTime().date();
    m_displayMonth = firstOfMonth(selectedDay.isValid() ? selectedDay : QDate::currentDate());

    // The style's padding and spacing for widgets inside a window, wherever this one sits;
    // nested layouts would otherwise inherit the sidebar's spacing.
    const int sidePadding = style()->pixelMetric(QStyle::PM_LayoutLeftMargin);
    int spacing = style()->pixelMetric(QStyle::PM_LayoutHorizontalSpacing);
    if (spacing < 0)
        spacing = style()->layoutSpacing(QSizePolicy::PushButton, QSizePolicy::PushButton,
                                         Qt::Horizontal);

    auto *header = new QHBoxLayout;
    header->setContentsMargins(sidePadding, 0, sidePadding, 0);
    header->setSpacing(spacing);
    m_title->setObjectName(u"monthTitle"_s);
    m_title->setToolTip(tr("Choose a month and year"));
    m_title->setCursor(Qt::PointingHandCursor);
    // Like the chevrons: reached with Tab, while a click leaves the keyboard in the text.
    m_title->setFocusPolicy(Qt::TabFocus);
    header->addWidget(m_title);
    header->addStretch();
    header->addWidget(m_previousButton);
    //: The button that goes back to today, in capitals where the language has them.
    m_todayButton->setText(tr("TODAY"));
    m_todayButton->setToolTip(QString());
    header->addWidget(m_todayButton);
    header->addWidget(m_nextButton);

    auto *weekdays = new QHBoxLayout;
    weekdays->setContentsMargins(sidePadding, 0, sidePadding, 0);
    weekdays->setSpacing(0);
    // The locale's names, in the grid's order: Monday first whatever the locale says. The C
    // locale, English in all else, would give the days' numbers.
    const QLocale locale =
        QLocale().language() == QLocale::C ? QLocale(QLocale::English) : QLocale();
    for (int i = 0; i < daysPerWeek; ++i) {
        auto *label = new QLabel(locale.dayName(Qt::Monday + i, QLocale::NarrowFormat), this);
        label->setObjectName(u"weekdayHead"_s);
        label->setAlignment(Qt::AlignCenter);
        label->setForegroundRole(QPalette::PlaceholderText);
        label->setAccessibleName(locale.dayName(Qt::Monday + i));
        weekdays->addWidget(label, 1);
        m_weekdayLabels.append(label);
    }

    m_grid->setContentsMargins(sidePadding, 0, sidePadding, 0);
    m_grid->setHorizontalSpacing(spacing);
    m_grid->setVerticalSpacing(gridRowSpacing);
    for (int column = 0; column < daysPerWeek; ++column)
        m_grid->setColumnStretch(column, 1);
    for (int i = 0; i < maximumCells; ++i) {
        auto *cell = new DayCell(this);
        cell->setObjectName(u"dayCell"_s);
        connect(cell, &QAbstractButton::clicked, this,
                [this, cell] { selectDay(cell->day().date); });
        cell->installEventFilter(this);
        m_grid->addWidget(cell, i / daysPerWeek, i % daysPerWeek);
        m_cells.append(cell);
    }

    m_readError->setObjectName(u"noteDaysError"_s);
    m_readError->setWordWrap(true);
    m_readError->setTextFormat(Qt::PlainText);
    m_readError->setContentsMargins(sidePadding, 0, sidePadding, 0);
    m_readError->hide();

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, verticalPadding, 0, verticalPadding);
    column->setSpacing(rowSpacing);
    column->addLayout(header);
    column->addLayout(weekdays);
    column->addLayout(m_grid);
    column->addWidget(m_readError);

    // The days around the picked one, today and the months around the one shown, from
    // anywhere in the window, the text included.
    const auto addShortcut = [this](const QString &text, const QList<QKeySequence> &keys,
                                    auto slot) {
        auto *action = new QAction(text, this);
        action->setShortcuts(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, slot);
        addAction(action);
        m_navigationActions.append(action);
    };
    addShortcut(tr("&Today"), {QKeySequence(Qt::CTRL | Qt::Key_T)}, &MonthCalendar::goToToday);
    addShortcut(tr("Previous &Day"),
                {QKeySequence(Qt::CTRL | Qt::Key_PageUp), QKeySequence(Qt::ALT | Qt::Key_Left)},
                [this] { stepDay(-1); });
    addShortcut(tr("&Next Day"),
                {QKeySequence(Qt::CTRL | Qt::Key_PageDown), QKeySequence(Qt::ALT | Qt::Key_Right)},
                [this] { stepDay(1); });
    addShortcut(
        tr("Previous &Month"),
        {QKeySequence(Qt::ALT | Qt::Key_Up), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_PageUp)},
        [this] { changeMonth(-1); });
    addShortcut(tr("Next M&onth"),
                {QKeySequence(Qt::ALT | Qt::Key_Down),
                 QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_PageDown)},
                [this] { changeMonth(1); });

    connect(m_title, &QAbstractButton::clicked, this, &MonthCalendar::pickMonth);
    connect(m_previousButton, &QToolButton::clicked, this, [this] { changeMonth(-1); });
    connect(m_nextButton, &QToolButton::clicked, this, [this] { changeMonth(1); });
    connect(m_todayButton, &QToolButton::clicked, this, &MonthCalendar::goToToday);
    connect(m_selection, &SelectionState::selectedDateChanged, this, [this](const QDateTime &date) {
        // The keyboard's day follows a day picked in any way.
        m_focusDay = date.toLocalTime().date();
        updateGrid();
    });
    connect(m_selection, &SelectionState::highlightedDateChanged, this, &MonthCalendar::updateGrid);
    // A visited day gains its marker at once.
    connect(m_journal, &Journal::noteAdded, this, &MonthCalendar::noteAdded);

    applyFonts();
    applyIcons();
    updateGrid();
}

DayCell *MonthCalendar::dayCell(QDate day) const
{
    for (DayCell *cell : m_cells) {
        if (!cell->isHidden() && cell->day().date == day)
            return cell;
    }
    return nullptr;
}

void MonthCalendar::changeMonth(int months)
{
    const QDate month = m_displayMonth.addMonths(months);
    if (month.isValid())
        setDisplayMonth(month);
}

void MonthCalendar::pickMonth()
{
    auto *picker = new MonthPicker(m_displayMonth, this);
    connect(picker, &MonthPicker::monthChosen, this, &MonthCalendar::setDisplayMonth);
    // Under the title, as wide as the grid, and kept on the screen.
    const int sidePadding = style()->pixelMetric(QStyle::PM_LayoutLeftMargin);
    picker->resize(std::max(picker->minimumSizeHint().width(), width() - 2 * sidePadding),
                   picker->sizeHint().height());
    QPoint at = m_title->mapToGlobal(QPoint(0, m_title->height()));
    if (const QScreen *screen = m_title->screen()) {
        const QRect room = screen->availableGeometry();
        at.setX(
            std::clamp(at.x(), room.left(), std::max(room.left(), room.right() - picker->width())));
        at.setY(
            std::clamp(at.y(), room.top(), std::max(room.top(), room.bottom() - picker->height())));
    }
    picker->move(at);
    picker->show();
}

void MonthCalendar::goToToday()
{
    const QDateTime now = QDateTime::currentDateTime();
    m_selection->setSelectedDate(now);
    m_selection->setHighlightedDate(now);
    setDisplayMonth(firstOfMonth(now.date()));
}

void MonthCalendar::selectDay(QDate day)
{
    if (!day.isValid())
        return;
    const QDateTime dayStart = day.startOfDay();
    m_selection->setSelectedDate(dayStart);
    m_selection->setHighlightedDate(dayStart);
}

void MonthCalendar::stepDay(int days)
{
    const QDate day = m_selection->selectedDate().toLocalTime().date().addDays(days);
    if (!day.isValid())
        return;
    selectDay(day);
    setDisplayMonth(firstOfMonth(day));
}

bool MonthCalendar::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress || !m_cells.contains(watched))
        return QWidget::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    if (key->modifiers() & ~Qt::KeypadModifier)
        return QWidget::eventFilter(watched, event);
    // Left and right follow the grid as drawn, which is mirrored in right-to-left layouts.
    const int forward = layoutDirection() == Qt::RightToLeft ? -1 : 1;
    switch (key->key()) {
    case Qt::Key_Left:
        moveFocusDay(m_focusDay.addDays(-forward));
        return true;
    case Qt::Key_Right:
        moveFocusDay(m_focusDay.addDays(forward));
        return true;
    case Qt::Key_Up:
        moveFocusDay(m_focusDay.addDays(-daysPerWeek));
        return true;
    case Qt::Key_Down:
        moveFocusDay(m_focusDay.addDays(daysPerWeek));
        return true;
    case Qt::Key_PageUp:
        moveFocusDay(m_focusDay.addMonths(-1));
        return true;
    case Qt::Key_PageDown:
        moveFocusDay(m_focusDay.addMonths(1));
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        selectDay(m_focusDay);
        return true;
    default:
        // Space clicks the day like any button.
        return QWidget::eventFilter(watched, event);
    }
}

// The month shown follows the day when it leaves the month; the keyboard goes with it, and
// a screen reader hears the new day even when the same cell now shows it.
void MonthCalendar::moveFocusDay(QDate day)
{
    if (!day.isValid())
        return;
    const QWidget *focusedBefore = QApplication::focusWidget();
    m_focusDay = day;
    if (firstOfMonth(day) != m_displayMonth)
        setDisplayMonth(firstOfMonth(day));
    else
        updateGrid();
    DayCell *cell = dayCell(m_focusDay);
    if (!cell)
        return;
    if (cell == focusedBefore) {
        QAccessibleEvent focus(cell, QAccessible::Focus);
        QAccessible::updateAccessibility(&focus);
    } else if (!cell->hasFocus()) {
        cell->setFocus(Qt::OtherFocusReason);
    }
}

void MonthCalendar::changeEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::FontChange:
        applyFonts();
        break;
    case QEvent::PaletteChange:
    case QEvent::LayoutDirectionChange:
        applyIcons();
        break;
    default:
        break;
    }
    QWidget::changeEvent(event);
}

void MonthCalendar::setDisplayMonth(QDate month)
{
    if (month == m_displayMonth)
        return;
    m_displayMonth = month;
    updateGrid();
}

void MonthCalendar::updateGrid()
{
    m_title->setText(DateText::monthTitle(m_displayMonth));

    const QDate selectedDay = m_selection->selectedDate().toLocalTime().date();
    const QList<MonthGridDay> days = monthGridDays(m_displayMonth, selectedDay);
    if (days.isEmpty())
        return;
    if (days.first().date != m_firstShown || days.last().date != m_lastShown) {
        m_firstShown = days.first().date;
        m_lastShown = days.last().date;
        readNoteDays();
    }

    // One day of the month shown takes the keyboard; the grid keeps it while that day moves.
    if (firstOfMonth(m_focusDay) != m_displayMonth) {
        const QDate today = QDate::currentDate();
        m_focusDay = firstOfMonth(selectedDay) == m_displayMonth ? selectedDay
                     : firstOfMonth(today) == m_displayMonth     ? today
                                                                 : m_displayMonth;
    }
    bool gridHasFocus = false;
    const std::optional<QDateTime> highlighted = m_selection->highlightedDate();
    const QDate highlightedDay = highlighted ? highlighted->toLocalTime().date() : QDate();
    for (qsizetype i = 0; i < days.size(); ++i) {
        DayCell *cell = m_cells[i];
        const MonthGridDay &day = days[i];
        gridHasFocus = gridHasFocus || cell->hasFocus();
        cell->setDay(day, m_noteDays.contains(day.date), day.date == highlightedDay);
        cell->setFocusPolicy(day.date == m_focusDay ? Qt::TabFocus : Qt::NoFocus);
        cell->show();
    }
    for (qsizetype i = days.size(); i < m_cells.size(); ++i)
        gridHasFocus = gridHasFocus || m_cells[i]->hasFocus();
    if (DayCell *focused = dayCell(m_focusDay); gridHasFocus && focused && !focused->hasFocus())
        focused->setFocus(Qt::OtherFocusReason);
    for (qsizetype i = days.size(); i < m_cells.size(); ++i)
        m_cells[i]->hide();
}

void MonthCalendar::readNoteDays()
{
    const auto days = m_journal->noteDaysBetween(m_firstShown, m_lastShown);
    m_noteDays = days ? *days : QSet<QDate>();
    m_readError->setText(days ? QString()
                              : tr("Days with notes could not be read: %1").arg(days.error()));
    m_readError->setVisible(!days);
}

void MonthCalendar::noteAdded(const Note *note)
{
    if (note->day < m_firstShown || note->day > m_lastShown)
        return;
    m_noteDays.insert(note->day);
    updateGrid();
}

void MonthCalendar::applyFonts()
{
    m_title->setFont(styledFont(font(), TextStyle::Headline));
    const QFont caption = styledFont(font(), TextStyle::Caption);
    m_todayButton->setFont(caption);
    for (QLabel *label : std::as_const(m_weekdayLabels))
        label->setFont(caption);
}

void MonthCalendar::applyIcons()
{
    m_previousButton->setIcon(
        themedIcon(u"go-previous"_s, palette(), QPalette::ButtonText, layoutDirection()));
    m_nextButton->setIcon(
        themedIcon(u"go-next"_s, palette(), QPalette::ButtonText, layoutDirection()));
}
