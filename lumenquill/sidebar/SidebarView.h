#pragma once

#include "sidebar/TagSortOption.h"

#include <QList>
#include <QWidget>

class CustomCalendarView;
class ModelContext;
class SelectionState;
class Tag;
class TagListModel;
class TagSearchField;
class QActionGroup;
class QLabel;
class QListView;
class QMenu;
class QToolButton;
class QVBoxLayout;

// The sidebar column: the month calendar at the top, then the tags, which can be searched,
// sorted, picked for browsing and deleted.
class SidebarView : public QWidget
{
    Q_OBJECT

public:
    using TagSortOption = ::TagSortOption;

    SidebarView(ModelContext *modelContext, SelectionState *selection, QWidget *parent = nullptr);

    CustomCalendarView *calendar() const { return m_calendar; }

    // The tags the list shows, in its order, for the current search text and sort order.
    QList<Tag *> visibleTags() const;
    TagSortOption currentTagSort() const { return m_currentTagSort; }
    QString tagSearchText() const;
    bool isSearchingTags() const { return m_isSearchingTags; }

protected:
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildTagSection();
    void applyIcons();
    void setSearchingTags(bool searching);
    void setCurrentTagSort(TagSortOption option);
    void refreshTags();
    void showSelectedTag();
    void listSelectionChanged();
    void showTagMenu(const QPoint &position);
    void confirmDeletion(Tag *tag);

    ModelContext *m_modelContext;
    SelectionState *m_selection;
    QVBoxLayout *m_layout;
    CustomCalendarView *m_calendar;

    TagSortOption m_currentTagSort = TagSortOption::alphaAscending;
    bool m_isSearchingTags = false;

    QLabel *m_heading = nullptr;
    QToolButton *m_sortButton = nullptr;
    QMenu *m_sortMenu = nullptr;
    QActionGroup *m_sortActions = nullptr;
    TagSearchField *m_searchField = nullptr;
    QToolButton *m_cancelSearchButton = nullptr;
    QToolButton *m_searchButton = nullptr;
    QListView *m_tagList = nullptr;
    TagListModel *m_tagModel = nullptr;
    // Set while the list's selection is changed from here rather than by the user.
    bool m_updatingList = false;
};
