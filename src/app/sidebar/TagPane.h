#pragma once

#include "core/TagOrder.h"

#include <QWidget>

class Journal;
class QAction;
class QActionGroup;
class QLabel;
class QListView;
class QMenu;
class QToolButton;
class SelectionState;
class TagFilterModel;
class TagListModel;
class TagSearchField;
struct Tag;

// The sidebar's tags: a list that can be searched, put in one of three orders, picked from
// to browse a tag's notes, and pruned (after a confirmation) from a row's menu. Each row
// says how many notes carry its tag; an empty list says why it is empty.
class TagPane : public QWidget
{
    Q_OBJECT

public:
    TagPane(Journal *journal, SelectionState *selection, QWidget *parent = nullptr);

    // Opens the search field with the keyboard in it, from anywhere in the window.
    QAction *findTagAction() const { return m_findTagAction; }

protected:
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setSearching(bool searching);
    void setOrder(TagOrder order);
    void showSelectedTag();
    void listSelectionChanged();
    void showError();
    void showListOrHint();
    void showTagMenu(const QPoint &position);
    void confirmRemoval(const Tag *tag);
    void applyIcons();

    Journal *m_journal;
    SelectionState *m_selection;
    TagListModel *m_tags;
    TagFilterModel *m_filter;
    QToolButton *m_sortButton;
    QMenu *m_sortMenu;
    QActionGroup *m_sortActions;
    TagSearchField *m_searchField;
    QToolButton *m_cancelSearchButton;
    QToolButton *m_searchButton;
    QListView *m_list;
    QAction *m_findTagAction;
    QLabel *m_readError;
    // Stands over an empty list: how tags are made, or that none matches the search.
    QLabel *m_emptyHint;
    // Set while the list's selection is changed from here rather than by the user.
    bool m_updatingList = false;
};
