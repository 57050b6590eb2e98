#include "sidebar/SidebarView.h"

#include "SelectionState.h"
#include "calendar/CustomCalendarView.h"
#include "model/ModelContext.h"

#include <QVBoxLayout>

SidebarView::SidebarView(ModelContext *modelContext, SelectionState *selection,
                         QWidget *parent)
    : QWidget(parent), m_modelContext(modelContext), m_selection(selection),
      m_layout(new QVBoxLayout(this)),
      m_calendar(new CustomCalendarView(
          selection,
          [modelContext](QDate first, QDate last) {
            return modelContext->noteDaysBetween(first, last);
          },
          this)) {
  m_calendar->setObjectName(QStringLiteral("calendar"));
  // A visited day gains its marker at once, before anything is typed or saved.
  connect(modelContext, &ModelContext::noteInserted, m_calendar,
          &CustomCalendarView::refreshNoteMarkers);

  m_layout->setContentsMargins(0, 24, 0, 0);
  m_layout->setSpacing(0);
  m_layout->addWidget(m_calendar);
  m_layout->addSpacing(24);
  m_layout->addStretch(1);
}
