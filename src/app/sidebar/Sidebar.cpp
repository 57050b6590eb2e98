#include "app/sidebar/Sidebar.h"

#include "app/calendar/MonthCalendar.h"
#include "app/sidebar/TagPane.h"

#include <QVBoxLayout>

Sidebar::Sidebar(Journal *journal, SelectionState *selection, QWidget *parent) : QWidget(parent)
{
    auto *calendar = new MonthCalendar(journal, selection, this);
    calendar->setObjectName(QStringLiteral("calendar"));
    auto *tags = new TagPane(journal, selection, this);
    tags->setObjectName(QStringLiteral("tagPane"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 24, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(calendar);
    layout->addSpacing(24);
    layout->addWidget(tags, 1);
}
