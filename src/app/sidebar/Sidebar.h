#pragma once

#include <QWidget>

class Journal;
class MonthCalendar;
class SelectionState;
class TagPane;

// The sidebar column: the month calendar at the top, the tags below it.
class Sidebar : public QWidget
{
    Q_OBJECT

public:
    Sidebar(Journal *journal, SelectionState *selection, QWidget *parent = nullptr);

    MonthCalendar *calendar() const { return m_calendar; }
    TagPane *tagPane() const { return m_tagPane; }

private:
    MonthCalendar *m_calendar;
    TagPane *m_tagPane;
};
