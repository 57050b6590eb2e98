#pragma once

#include <QDialog>

class QMainWindow;
class QTreeWidget;

// Lists the keys of a window: every action in its menus, or anywhere in it, that has a
// shortcut, under the menu that holds it, then the keys that work in the calendar's days.
// The list is read from the window when the dialog opens, so an action added later is in it.
class ShortcutsDialog : public QDialog
{
    Q_OBJECT

public:
    explicit ShortcutsDialog(QMainWindow *window);

    QTreeWidget *list() const { return m_list; }

    // An action's text as a menu shows it, without its mnemonic marker.
    static QString plainText(const QString &actionText);

private:
    QTreeWidget *m_list;
};
