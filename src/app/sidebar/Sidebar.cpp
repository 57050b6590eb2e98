#include "app/sidebar/Sidebar.h"

#include "app/calendar/MonthCalendar.h"
#include "app/sidebar/TagPane.h"

#include <QVBoxLayout>

Sidebar::Sidebar(Journal *journal, SelectionState *selection, QWidget *parent)
    : QWidget(parent), m_calendar(new MonthCalendar(journal, selection, this)),
      m_tagPane(new TagPane(journal, selection, this))
{
    m_calendar->setObjectName(QStringLiteral("calendar"));
    m_tagPane->setObjectName(QStringLiteral("tagPane"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 24, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_calendar);
    layout->addSpacing(24);
    layout->addWidget(m_tagPane, 1);
}
