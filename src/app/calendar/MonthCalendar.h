#pragma once

#include <QDate>
#include <QList>
#include <QSet>
#include <QWidget>

class DayCell;
class Journal;
class QAbstractButton;
class QGridLayout;
class QLabel;
class QToolButton;
class SelectionState;
struct Note;

// The sidebar's month calendar: a Monday-first grid of days with note markers, month
// navigation (the chevrons, and a picker of months and years behind the title), "TODAY",
// and day picking that writes the window's selection.
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

protected:
    void changeEvent(QEvent *event) override;

private:
    void setDisplayMonth(QDate month);
    void updateGrid();
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

    QAbstractButton *m_title;
    QToolButton *m_previousButton;
    QToolButton *m_todayButton;
    QToolButton *m_nextButton;
    QList<QLabel *> m_weekdayLabels;
    QGridLayout *m_grid;
    QList<DayCell *> m_cells;
    QLabel *m_readError;
};
