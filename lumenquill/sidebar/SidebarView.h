#pragma once

#include <QWidget>

class CustomCalendarView;
class ModelContext;
class SelectionState;
class QVBoxLayout;

// The sidebar column: the month calendar at the top, then the tags.
class SidebarView : public QWidget {
  Q_OBJECT

public:
  SidebarView(ModelContext *modelContext, SelectionState *selection,
              QWidget *parent = nullptr);

  CustomCalendarView *calendar() const { return m_calendar; }

private:
  ModelContext *m_modelContext;
  SelectionState *m_selection;
  QVBoxLayout *m_layout;
  CustomCalendarView *m_calendar;
};
