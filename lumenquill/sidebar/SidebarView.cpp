#include "sidebar/SidebarView.h"

#include "SelectionState.h"
#include "Symbols.h"
#include "calendar/CustomCalendarView.h"
#include "model/ModelContext.h"
#include "sidebar/TagListModel.h"
#include "sidebar/TagSearchField.h"

#include <QActionGroup>
#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

constexpr int SectionSpacing = 16;
constexpr int SymbolSize = 16;

QString quoted(const QString &name)
{
    return u'"' + name + u'"';
}

// Menu and button texts would otherwise take an ampersand as a mnemonic marker.
QString withoutMnemonics(QString text)
{
    return text.replace(u'&', u"&&"_s);
}

QToolButton *makeSymbolButton(const QString &objectName, const QString &accessibleName,
                              QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(objectName);
    button->setAccessibleName(accessibleName);
    button->setToolTip(accessibleName);
    button->setAutoRaise(true);
    button->setIconSize(QSize(SymbolSize, SymbolSize));
    return button;
}

} // namespace

SidebarView::SidebarView(ModelContext *modelContext, SelectionState *selection, QWidget *parent)
    : QWidget(parent), m_modelContext(modelContext), m_selection(selection),
      m_layout(new QVBoxLayout(this)), m_calendar(new CustomCalendarView(
                                           selection,
                                           [modelContext](QDate first, QDate last) {
                                               return modelContext->noteDaysBetween(first, last);
                                           },
                                           this))
{
    m_calendar->setObjectName(QStringLiteral("calendar"));
    // A visited day gains its marker at once, before anything is typed or saved.
    connect(modelContext, &ModelContext::noteInserted, m_calendar,
            &CustomCalendarView::refreshNoteMarkers);

    m_layout->setContentsMargins(0, 24, 0, 0);
    m_layout->setSpacing(0);
    m_layout->addWidget(m_calendar);
    m_layout->addSpacing(24);
    buildTagSection();
}

void SidebarView::buildTagSection()
{
    const int inset = style()->pixelMetric(QStyle::PM_LayoutLeftMargin, nullptr, this);

    auto *divider = new QFrame(this);
    divider->setFrameShape(QFrame::HLine);
    divider->setFrameShadow(QFrame::Plain);
    divider->setForegroundRole(QPalette::Mid);
    m_layout->addWidget(divider);

    m_heading = new QLabel(u"Tags"_s, this);
    m_heading->setObjectName(u"tagsHeading"_s);
    QFont headline;
    headline.setWeight(QFont::DemiBold);
    m_heading->setFont(headline);
    m_heading->setContentsMargins(inset, 0, inset, 0);
    m_layout->addSpacing(SectionSpacing);
    m_layout->addWidget(m_heading);
    m_layout->addSpacing(SectionSpacing);

    m_sortButton = makeSymbolButton(u"sortButton"_s, u"Sort Order"_s, this);
    m_sortMenu = new QMenu(this);
    m_sortMenu->setObjectName(u"sortMenu"_s);
    m_sortMenu->addSection(u"Sort Order"_s);
    m_sortActions = new QActionGroup(this);
    m_sortActions->setExclusive(true);
    for (const TagSortOption option : allTagSortOptions()) {
        QAction *action = m_sortMenu->addAction(rawValue(option));
        action->setCheckable(true);
        action->setChecked(option == m_currentTagSort);
        m_sortActions->addAction(action);
        connect(action, &QAction::triggered, this, [this, option] { setCurrentTagSort(option); });
    }
    // popup() rather than a tool-button menu, whose exec() would hold up the event loop.
    connect(m_sortButton, &QToolButton::clicked, this, [this] {
        m_sortMenu->popup(m_sortButton->mapToGlobal(QPoint(0, m_sortButton->height())));
    });

    m_searchField = new TagSearchField(this);
    m_searchField->setObjectName(u"searchBox"_s);
    m_searchField->hide();
    connect(m_searchField, &TagSearchField::textChanged, this, &SidebarView::refreshTags);

    m_cancelSearchButton = new QToolButton(this);
    m_cancelSearchButton->setObjectName(u"cancelSearchButton"_s);
    m_cancelSearchButton->setText(u"Cancel"_s);
    m_cancelSearchButton->setToolButtonStyle(Qt::ToolButtonTextOnly);
    m_cancelSearchButton->setAutoRaise(true);
    m_cancelSearchButton->hide();
    connect(m_cancelSearchButton, &QToolButton::clicked, this, [this] {
        setSearchingTags(false);
        m_searchField->clear();
    });

    m_searchButton = makeSymbolButton(u"searchButton"_s, u"Search Tags"_s, this);
    connect(m_searchButton, &QToolButton::clicked, this, [this] { setSearchingTags(true); });

    auto *header = new QHBoxLayout;
    header->setContentsMargins(inset, 0, inset, 0);
    header->addWidget(m_sortButton);
    header->addWidget(m_searchField, 1);
    header->addWidget(m_cancelSearchButton);
    // Takes the room only while the field is closed: the field has a stretch factor.
    header->addStretch(0);
    header->addWidget(m_searchButton);
    // The row keeps its height when the taller field opens, so the list does not jump.
    header->addStrut(m_searchField->sizeHint().height());
    m_layout->addLayout(header);
    m_layout->addSpacing(SectionSpacing);

    m_tagModel = new TagListModel(this);
    m_tagList = new QListView(this);
    m_tagList->setObjectName(u"tagList"_s);
    m_tagList->setModel(m_tagModel);
    m_tagList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_tagList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tagList->setFrameShape(QFrame::NoFrame);
    m_tagList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_tagList->setTextElideMode(Qt::ElideRight);
    m_tagList->setUniformItemSizes(true);
    m_tagList->setIconSize(QSize(SymbolSize, SymbolSize));
    m_tagList->setContextMenuPolicy(Qt::CustomContextMenu);
    m_tagList->viewport()->setBackgroundRole(QPalette::Window);
    m_tagList->viewport()->installEventFilter(this);
    // Rows line up with the heading; their own padding makes up the rest of the inset.
    auto *listRow = new QHBoxLayout;
    const int listInset = qMax(0, inset - 4);
    listRow->setContentsMargins(listInset, 0, listInset, 0);
    listRow->addWidget(m_tagList);
    m_layout->addLayout(listRow, 1);

    connect(m_tagList->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &SidebarView::listSelectionChanged);
    connect(m_tagList, &QListView::customContextMenuRequested, this, &SidebarView::showTagMenu);
    // Inserts, renames, deletions and note links all come through here; the list is cheap
    // to recompute and the model applies only the difference.
    connect(m_modelContext, &ModelContext::changed, this, &SidebarView::refreshTags);
    connect(m_selection, &SelectionState::selectedTagChanged, this, &SidebarView::showSelectedTag);

    applyIcons();
    refreshTags();
}

QList<Tag *> SidebarView::visibleTags() const
{
    return ::visibleTags(m_modelContext->allTags(), tagSearchText(), m_currentTagSort);
}

QString SidebarView::tagSearchText() const
{
    return m_searchField->text();
}

void SidebarView::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::PaletteChange)
        applyIcons();
    QWidget::changeEvent(event);
}

// A secondary click only opens the row's menu: picking the row would switch the detail
// pane away from what the user is looking at.
bool SidebarView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_tagList->viewport()) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
            if (static_cast<QMouseEvent *>(event)->button() == Qt::RightButton)
                return true;
            break;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void SidebarView::applyIcons()
{
    m_sortButton->setIcon(symbolIcon(Symbol::sortOrder, palette()));
    m_searchButton->setIcon(symbolIcon(Symbol::search, palette()));
    m_tagModel->setTagIcon(symbolIcon(Symbol::tag, palette(), QPalette::Highlight));
}

void SidebarView::setSearchingTags(bool searching)
{
    m_isSearchingTags = searching;
    m_searchButton->setVisible(!searching);
    m_searchField->setVisible(searching);
    m_cancelSearchButton->setVisible(searching);
    if (searching)
        m_searchField->focusInput();
}

void SidebarView::setCurrentTagSort(TagSortOption option)
{
    if (option == m_currentTagSort)
        return;
    m_currentTagSort = option;
    const QList<QAction *> actions = m_sortActions->actions();
    actions.at(allTagSortOptions().indexOf(option))->setChecked(true);
    refreshTags();
}

void SidebarView::refreshTags()
{
    {
        const QScopedValueRollback updating(m_updatingList, true);
        m_tagModel->setTags(visibleTags());
    }
    // A selected tag that the search had hidden is marked again when it comes back.
    showSelectedTag();
}

void SidebarView::showSelectedTag()
{
    const QScopedValueRollback updating(m_updatingList, true);
    QItemSelectionModel *selectionModel = m_tagList->selectionModel();
    const QModelIndex index = m_tagModel->indexOf(m_selection->selectedTag());
    if (!index.isValid()) {
        selectionModel->clearSelection();
        return;
    }
    if (!selectionModel->isSelected(index))
        selectionModel->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
}

void SidebarView::listSelectionChanged()
{
    if (m_updatingList)
        return;
    const QModelIndexList selected = m_tagList->selectionModel()->selectedIndexes();
    m_selection->setSelectedTag(selected.isEmpty() ? nullptr : m_tagModel->tagAt(selected.first()));
}

void SidebarView::showTagMenu(const QPoint &position)
{
    Tag *tag = m_tagModel->tagAt(m_tagList->indexAt(position));
    if (!tag)
        return;
    auto *menu = new QMenu(this);
    menu->setObjectName(u"tagMenu"_s);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    QAction *deleteAction =
        menu->addAction(withoutMnemonics(u"Delete Tag "_s + quoted(tag->name())));
    connect(deleteAction, &QAction::triggered, this, [this, guarded = QPointer<Tag>(tag)] {
        if (guarded)
            confirmDeletion(guarded);
    });
    menu->popup(m_tagList->viewport()->mapToGlobal(position));
}

// Opened with open(), not exec(): the window stays blocked but the event loop runs on.
void SidebarView::confirmDeletion(Tag *tag)
{
    auto *alert = new QMessageBox(this);
    alert->setObjectName(u"deleteTagAlert"_s);
    alert->setAttribute(Qt::WA_DeleteOnClose);
    alert->setWindowModality(Qt::WindowModal);
    alert->setIcon(QMessageBox::Warning);
    alert->setWindowTitle(u"Delete Tag"_s);
    alert->setTextFormat(Qt::PlainText);
    alert->setText(u"Are you sure you want to delete the tag "_s + quoted(tag->name()) +
                   u"? This cannot be undone."_s);
    QPushButton *deleteButton = alert->addButton(
        withoutMnemonics(u"Delete "_s + quoted(tag->name())), QMessageBox::DestructiveRole);
    QPushButton *cancelButton = alert->addButton(u"Cancel"_s, QMessageBox::RejectRole);
    alert->setDefaultButton(cancelButton);
    alert->setEscapeButton(cancelButton);
    connect(alert, &QMessageBox::buttonClicked, this,
            [this, deleteButton, guarded = QPointer<Tag>(tag)](QAbstractButton *clicked) {
                if (clicked == deleteButton && guarded)
                    m_modelContext->deleteTag(guarded);
            });
    alert->open();
}
