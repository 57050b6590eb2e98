#pragma once

#include <QDate>
#include <QFrame>

class QListWidget;
class QTableWidget;
class QModelIndex;

// A compact chooser of any month: a list of years beside the twelve months as a 4 × 3 grid.
// Opened as a popup from the calendar's title, it starts on the month shown there. A click
// on a month, or Enter on it, hands that month over and closes the picker; Escape or a click
// elsewhere closes it without a change.
class MonthPicker : public QFrame
{
    Q_OBJECT

public:
    // How far the list of years reaches before and after the month shown and today.
    static constexpr int yearsAround = 100;

    explicit MonthPicker(QDate shownMonth, QWidget *parent = nullptr);

Q_SIGNALS:
    void monthChosen(QDate month);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void choose(const QModelIndex &month);

    QListWidget *m_years;
    QTableWidget *m_months;
    bool m_chosen = false;
};
