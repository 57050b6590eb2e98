#pragma once

#include <QDate>
#include <QList>
#include <QSet>
#include <QWidget>

class DayCell;
class Journal;
class QAbstractButton;
class QAction;
class QGridLayout;
class QLabel;
class QToolButton;
class SelectionState;
struct Note;

// The sidebar's month calendar: a Monday-first grid of days with note markers, month
// navigation (the chevrons, and a picker of months and years behind the title), "TODAY",
// and day picking that writes the window's selection.
//
// The days take the keyboard as one stop of the Tab order: one day at a time can have the
// focus, the arrows move it by a day or a week (into the next month when it leaves the one
// shown), Page Up and Page Down move it by a month, and Enter or Space opens it.
class MonthCalendar : public QWidget
{
    Q_OBJECT

public:
    MonthCalendar(Journal *journal, SelectionState *selection, QWidget *parent = nullptr);

    // Day 1 of the month on screen.
    QDate displayMonth() const { return m_displayMonth; }
    // The cell of day, or null when day is not on screen.
    DayCell *dayCell(QDate day) const;

    void changeMonth(int months);
    // Opens the month picker under the title; the month chosen there is shown.
    void pickMonth();
    void goToToday();
    void selectDay(QDate day);
    // Picks the day before or after the picked one, showing its month.
    void stepDay(int days);

    // The day that takes the keyboard in the grid: the picked day, today or the 1st when
    // the month shown does not contain it.
    QDate focusDay() const { return m_focusDay; }
    // Today, the day before and after the picked one, the month before and after the one
    // shown: each with its keys, which work anywhere in the window.
    QList<QAction *> navigationActions() const { return m_navigationActions; }

protected:
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setDisplayMonth(QDate month);
    void updateGrid();
    void moveFocusDay(QDate day);
    void readNoteDays();
    void noteAdded(const Note *note);
    void applyFonts();
    void applyIcons();

    Journal *m_journal;
    SelectionState *m_selection;
    QDate m_displayMonth;
    // The days with a note among the cells on screen, first to last.
    QDate m_firstShown;
    QDate m_lastShown;
    QSet<QDate> m_noteDays;
    QDate m_focusDay;

    QAbstractButton *m_title;
    QToolButton *m_previousButton;
    QToolButton *m_todayButton;
    QToolButton *m_nextButton;
    QList<QLabel *> m_weekdayLabels;
    QGridLayout *m_grid;
    QList<DayCell *> m_cells;
    QLabel *m_readError;
    QList<QAction *> m_navigationActions;
};
