#include "app/ShortcutsDialog.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

QString keysText(const QList<QKeySequence> &keys)
{
    QStringList texts;
    for (const QKeySequence &key : keys)
        texts.append(key.toString(QKeySequence::NativeText));
    return texts.join(QStringLiteral(", "));
}

QString keyName(Qt::Key key)
{
    return QKeySequence(key).toString(QKeySequence::NativeText);
}

// The actions of a menu and of its submenus, in the order they are shown.
void collect(const QMenu *menu, QList<QAction *> &actions)
{
    for (QAction *action : menu->actions()) {
        if (action->menu())
            collect(action->menu(), actions);
        else if (!action->isSeparator())
            actions.append(action);
    }
}

} // namespace

ShortcutsDialog::ShortcutsDialog(QMainWindow *window)
    : QDialog(window), m_list(new QTreeWidget(this))
{
    setObjectName(QStringLiteral("shortcutsDialog"));
    setWindowTitle(tr("Keyboard Shortcuts"));
    m_list->setObjectName(QStringLiteral("shortcutList"));
    m_list->setAccessibleName(tr("Keyboard Shortcuts"));
    m_list->setColumnCount(2);
    m_list->setHeaderLabels({tr("Action"), tr("Keys")});
    m_list->setRootIsDecorated(false);
    m_list->setSelectionMode(QAbstractItemView::NoSelection);
    m_list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);

    const auto addGroup = [this](const QString &title) {
        auto *group = new QTreeWidgetItem(m_list, {title});
        QFont bold = group->font(0);
        bold.setBold(true);
        group->setFont(0, bold);
        group->setFirstColumnSpanned(true);
        group->setFlags(Qt::ItemIsEnabled);
        return group;
    };
    const auto addRow = [](QTreeWidgetItem *group, const QString &text, const QString &keys) {
        new QTreeWidgetItem(group, {text, keys});
    };

    QSet<QAction *> listed;
    for (QAction *menuAction : window->menuBar()->actions()) {
        if (!menuAction->menu())
            continue;
        QList<QAction *> actions;
        collect(menuAction->menu(), actions);
        QTreeWidgetItem *group = nullptr;
        for (QAction *action : std::as_const(actions)) {
            if (action->shortcuts().isEmpty() || listed.contains(action))
                continue;
            if (!group)
                group = addGroup(plainText(menuAction->text()));
            addRow(group, plainText(action->text()), keysText(action->shortcuts()));
            listed.insert(action);
        }
    }
    // Actions with keys that no menu shows.
    QTreeWidgetItem *others = nullptr;
    for (QAction *action : window->findChildren<QAction *>()) {
        if (action->shortcuts().isEmpty() || action->text().isEmpty() || listed.contains(action))
            continue;
        if (!others)
            others = addGroup(tr("Window"));
        addRow(others, plainText(action->text()), keysText(action->shortcuts()));
        listed.insert(action);
    }

    const QString either = tr("%1 / %2");
    QTreeWidgetItem *days = addGroup(tr("In the Calendar's Days"));
    addRow(days, tr("Day before / after"),
           either.arg(keyName(Qt::Key_Left), keyName(Qt::Key_Right)));
    addRow(days, tr("Week before / after"), either.arg(keyName(Qt::Key_Up), keyName(Qt::Key_Down)));
    addRow(days, tr("Month before / after"),
           either.arg(keyName(Qt::Key_PageUp), keyName(Qt::Key_PageDown)));
    addRow(days, tr("Open the day"), either.arg(keyName(Qt::Key_Enter), keyName(Qt::Key_Space)));
    m_list->expandAll();

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addWidget(buttons);
    resize(480, 520);
}

QString ShortcutsDialog::plainText(const QString &actionText)
{
    QString text;
    for (qsizetype i = 0; i < actionText.size(); ++i) {
        // "&&" is a real ampersand; a single one marks the next letter.
        if (actionText.at(i) == u'&' && i + 1 < actionText.size())
            ++i;
        text += actionText.at(i);
    }
    return text;
}
