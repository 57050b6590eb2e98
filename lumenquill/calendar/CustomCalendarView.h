#pragma once

#include "calendar/MonthGrid.h"

#include <QColor>
#include <QDate>
#include <QList>
#include <QPair>
#include <QRect>
#include <QSet>
#include <QWidget>

#include <functional>

class QGridLayout;
class QLabel;
class QToolButton;
class SelectionState;

// The sidebar's month calendar: a Monday-first grid of days with note markers, month
// navigation, "TODAY", and day picking that writes the shared selection.
class CustomCalendarView : public QWidget
{
    Q_OBJECT

public:
    using DayInfo = ::DayInfo;
    // The days from first to last (inclusive) that have a note.
    using DaysWithNotesProvider = std::function<QSet<QDate>(QDate first, QDate last)>;

    CustomCalendarView(SelectionState *selection, DaysWithNotesProvider provider,
                       QWidget *parent = nullptr);
    ~CustomCalendarView() override;

    // Day 1 of the month on screen.
    QDate displayMonth() const { return m_displayMonth; }
    QList<DayInfo> generateDays() const;

    // Where the cell of day is drawn, in this widget's coordinates; null when it is not shown.
    QRect dayCellRect(QDate day) const;

    // The program's one accent blue: the highlighted day and the note markers.
    static QColor accentColor();

public Q_SLOTS:
    void changeMonth(int months);
    void goToToday();
    void selectDay(QDate day);
    // Asks the provider again, e.g. after a note was inserted.
    void refreshNoteMarkers();

protected:
    void changeEvent(QEvent *event) override;

private:
    class DayCell;
    class MonthTitle;

    void setDisplayMonth(QDate month);
    void updateGrid();
    void applyFonts();
    void applyChevronIcons();

    SelectionState *m_selection;
    DaysWithNotesProvider m_daysWithNotes;
    QDate m_displayMonth;
    QSet<QDate> m_noteDays;
    // The range m_noteDays was asked for; a month change asks again only when it moves.
    QPair<QDate, QDate> m_noteRange;

    QLabel *m_title = nullptr;
    QToolButton *m_previousButton = nullptr;
    QToolButton *m_todayButton = nullptr;
    QToolButton *m_nextButton = nullptr;
    QList<QLabel *> m_weekdayLabels;
    QGridLayout *m_grid = nullptr;
    QList<DayCell *> m_cells;
};
