#pragma once

#include <QWidget>

class Journal;
class SelectionState;

// The sidebar column: the month calendar at the top, the tags below it.
class Sidebar : public QWidget
{
    Q_OBJECT

public:
    Sidebar(Journal *journal, SelectionState *selection, QWidget *parent = nullptr);
};
