#include "app/calendar/MonthPicker.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QListWidget>
#include <QLocale>
#include <QScrollBar>
#include <QTableWidget>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

constexpr int monthRows = 4;
constexpr int monthColumns = 3;
constexpr int yearRole = Qt::UserRole;

} // namespace

MonthPicker::MonthPicker(QDate shownMonth, QWidget *parent)
    : QFrame(parent, Qt::Popup), m_years(new QListWidget(this)),
      m_months(new QTableWidget(monthRows, monthColumns, this))
{
    setObjectName(u"monthPicker"_s);
    setAttribute(Qt::WA_DeleteOnClose);
    setFrameShape(QFrame::StyledPanel);
    setAccessibleName(tr("Choose a month"));

    const int rowHeight = 2 * fontMetrics().height();
    const int thisYear = QDate::currentDate().year();
    const int firstYear = std::min(shownMonth.year(), thisYear) - yearsAround;
    const int lastYear = std::max(shownMonth.year(), thisYear) + yearsAround;
    m_years->setObjectName(u"yearList"_s);
    m_years->setAccessibleName(tr("Year"));
    m_years->setUniformItemSizes(true);
    m_years->setFrameShape(QFrame::NoFrame);
    m_years->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    for (int year = firstYear; year <= lastYear; ++year) {
        // There is no year 0 between 1 BC and AD 1.
        if (!QDate(year, 1, 1).isValid())
            continue;
        auto *item = new QListWidgetItem(QString::number(year), m_years);
        item->setData(yearRole, year);
        item->setTextAlignment(Qt::AlignCenter);
        item->setSizeHint(QSize(0, rowHeight * 3 / 4));
        if (year == shownMonth.year())
            m_years->setCurrentItem(item);
    }
    m_years->setFixedWidth(m_years->fontMetrics().horizontalAdvance(u"0000000"_s) +
                           m_years->verticalScrollBar()->sizeHint().width());

    m_months->setObjectName(u"monthGrid"_s);
    m_months->setAccessibleName(tr("Month"));
    m_months->horizontalHeader()->hide();
    m_months->verticalHeader()->hide();
    m_months->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_months->verticalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_months->setShowGrid(false);
    m_months->setFrameShape(QFrame::NoFrame);
    m_months->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_months->setSelectionMode(QAbstractItemView::SingleSelection);
    m_months->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_months->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Tab goes on to the years rather than from month to month; the arrows do that.
    m_months->setTabKeyNavigation(false);
    const QLocale locale;
    for (int month = 1; month <= 12; ++month) {
        auto *item = new QTableWidgetItem(locale.standaloneMonthName(month, QLocale::ShortFormat));
        item->setTextAlignment(Qt::AlignCenter);
        item->setData(Qt::AccessibleTextRole, locale.standaloneMonthName(month));
        m_months->setItem((month - 1) / monthColumns, (month - 1) % monthColumns, item);
    }
    const int shown = shownMonth.month() - 1;
    m_months->setCurrentCell(shown / monthColumns, shown % monthColumns);
    // The years scroll beside the months, as tall as they are.
    m_months->setFixedHeight(monthRows * rowHeight);
    m_years->setFixedHeight(monthRows * rowHeight);
    m_months->setMinimumWidth(
        monthColumns * (fontMetrics().horizontalAdvance(u"0000"_s) + fontMetrics().height()));

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(frameWidth(), frameWidth(), frameWidth(), frameWidth());
    layout->setSpacing(0);
    layout->addWidget(m_years);
    layout->addWidget(m_months, 1);
    setTabOrder(m_years, m_months);
    m_years->setFocus();

    // Enter on a year goes on to its months.
    connect(m_years, &QListWidget::activated, m_months, [this] { m_months->setFocus(); });
    // A click activates on some styles and not on others; either way the month is taken once.
    connect(m_months, &QTableWidget::clicked, this, &MonthPicker::choose);
    connect(m_months, &QTableWidget::activated, this, &MonthPicker::choose);
}

void MonthPicker::showEvent(QShowEvent *event)
{
    QFrame::showEvent(event);
    if (QListWidgetItem *year = m_years->currentItem())
        m_years->scrollToItem(year, QAbstractItemView::PositionAtCenter);
}

void MonthPicker::choose(const QModelIndex &month)
{
    const QListWidgetItem *year = m_years->currentItem();
    if (m_chosen || !month.isValid() || !year)
        return;
    m_chosen = true;
    Q_EMIT monthChosen(
        QDate(year->data(yearRole).toInt(), month.row() * monthColumns + month.column() + 1, 1));
    close();
}
