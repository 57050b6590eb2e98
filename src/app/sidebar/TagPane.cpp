#include "app/sidebar/TagPane.h"

#include "app/Icons.h"
#include "app/SelectionState.h"
#include "app/TextStyles.h"
#include "app/ToolButton.h"
#include "app/sidebar/TagRowDelegate.h"
#include "app/sidebar/TagSearchField.h"
#include "core/Journal.h"
#include "core/TagFilterModel.h"
#include "core/TagListModel.h"

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
#include <QPushButton>
#include <QScopedValueRollback>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

constexpr int sectionSpacing = 16;
constexpr int symbolSize = 16;

// A name in quotes, cut short with an ellipsis when it is too long for a menu or a dialog.
QString quoted(const QString &name)
{
    constexpr qsizetype longest = 60;
    return u'"' + (name.size() > longest ? name.left(longest) + u'\u2026' : name) + u'"';
}

// Menu and button texts would otherwise take an ampersand as a mnemonic marker.
QString withoutMnemonics(QString text)
{
    return text.replace(u'&', u"&&"_s);
}

// Only the user picks a tag: when the current row goes, the view moves the current index to a
// neighbour, which must not select that neighbour's tag.
class TagListView : public QListView
{
public:
    using QListView::QListView;

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex &index,
                                                         const QEvent *event) const override
    {
        return event ? QListView::selectionCommand(index, event) : QItemSelectionModel::NoUpdate;
    }
};

} // namespace

TagPane::TagPane(Journal *journal, SelectionState *selection, QWidget *parent)
    : QWidget(parent), m_journal(journal), m_selection(selection),
      m_tags(new TagListModel(journal, this)), m_filter(new TagFilterModel(m_tags, this)),
      m_sortButton(makeToolButton(u"sortButton"_s, tr("Sort Order"), this)),
      m_sortMenu(new QMenu(this)), m_sortActions(new QActionGroup(this)),
      m_searchField(new TagSearchField(this)),
      m_cancelSearchButton(makeToolButton(u"cancelSearchButton"_s, tr("Cancel"), this)),
      m_searchButton(makeToolButton(u"searchButton"_s, tr("Search Tags"), this)),
      m_list(new TagListView(this)), m_findTagAction(new QAction(tr("&Find Tag"), this)),
      m_readError(new QLabel(this)), m_emptyHint(new QLabel(this))
{
    const int inset = style()->pixelMetric(QStyle::PM_LayoutLeftMargin, nullptr, this);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto *divider = new QFrame(this);
    divider->setFrameShape(QFrame::HLine);
    divider->setFrameShadow(QFrame::Plain);
    divider->setForegroundRole(QPalette::Mid);
    layout->addWidget(divider);

    auto *heading = new QLabel(tr("Tags"), this);
    heading->setObjectName(u"tagsHeading"_s);
    heading->setFont(styledFont(font(), TextStyle::Headline));
    heading->setContentsMargins(inset, 0, inset, 0);
    layout->addSpacing(sectionSpacing);
    layout->addWidget(heading);
    layout->addSpacing(sectionSpacing);

    m_sortButton->setIconSize(QSize(symbolSize, symbolSize));
    m_sortMenu->setObjectName(u"sortMenu"_s);
    m_sortMenu->addSection(tr("Sort Order"));
    m_sortActions->setExclusive(true);
    for (const TagOrder order : allTagOrders()) {
        QAction *action = m_sortMenu->addAction(displayName(order));
        action->setCheckable(true);
        action->setChecked(order == m_filter->order());
        m_sortActions->addAction(action);
        connect(action, &QAction::triggered, this, [this, order] { setOrder(order); });
    }
    // popup() rather than a tool-button menu, whose exec() would hold up the event loop.
    connect(m_sortButton, &QToolButton::clicked, this, [this] {
        m_sortMenu->popup(m_sortButton->mapToGlobal(QPoint(0, m_sortButton->height())));
    });

    m_searchField->setObjectName(u"searchBox"_s);
    m_searchField->hide();
    connect(m_searchField, &TagSearchField::textChanged, this, [this](const QString &text) {
        {
            const QScopedValueRollback updating(m_updatingList, true);
            m_filter->setSearchText(text);
        }
        // A selected tag that the search had hidden is marked again when it comes back.
        showSelectedTag();
    });

    m_cancelSearchButton->setText(tr("Cancel"));
    m_cancelSearchButton->setToolTip(QString());
    m_cancelSearchButton->setToolButtonStyle(Qt::ToolButtonTextOnly);
    m_cancelSearchButton->hide();
    connect(m_cancelSearchButton, &QToolButton::clicked, this, [this] {
        setSearching(false);
        m_searchField->clear();
    });
    m_searchButton->setIconSize(QSize(symbolSize, symbolSize));
    connect(m_searchButton, &QToolButton::clicked, this, [this] { setSearching(true); });
    m_findTagAction->setObjectName(u"findTagAction"_s);
    m_findTagAction->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F));
    m_findTagAction->setShortcutContext(Qt::WindowShortcut);
    connect(m_findTagAction, &QAction::triggered, this, [this] { setSearching(true); });
    addAction(m_findTagAction);

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
    layout->addLayout(header);
    layout->addSpacing(sectionSpacing);

    m_list->setObjectName(u"tagList"_s);
    m_list->setAccessibleName(tr("Tags"));
    m_list->setModel(m_filter);
    m_list->setItemDelegate(new TagRowDelegate(m_list));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setFrameShape(QFrame::NoFrame);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setTextElideMode(Qt::ElideRight);
    m_list->setUniformItemSizes(true);
    m_list->setIconSize(QSize(symbolSize, symbolSize));
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    m_list->viewport()->setBackgroundRole(QPalette::Window);
    m_list->viewport()->installEventFilter(this);
    m_readError->setObjectName(u"tagsError"_s);
    m_readError->setWordWrap(true);
    m_readError->setTextFormat(Qt::PlainText);
    m_readError->setAlignment(Qt::AlignTop | Qt::AlignLeading);
    m_emptyHint->setObjectName(u"tagsHint"_s);
    m_emptyHint->setWordWrap(true);
    m_emptyHint->setTextFormat(Qt::PlainText);
    m_emptyHint->setForegroundRole(QPalette::PlaceholderText);
    // Rows line up with the heading; their own padding makes up the rest of the inset.
    const int listInset = qMax(0, inset - 4);
    m_emptyHint->setContentsMargins(inset - listInset, 0, inset - listInset, 0);
    auto *listColumn = new QVBoxLayout;
    listColumn->setSpacing(0);
    listColumn->addWidget(m_emptyHint);
    listColumn->addWidget(m_list, 1);
    auto *listRow = new QHBoxLayout;
    listRow->setContentsMargins(listInset, 0, listInset, 0);
    listRow->addLayout(listColumn);
    listRow->addWidget(m_readError);
    layout->addLayout(listRow, 1);

    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TagPane::listSelectionChanged);
    connect(m_list, &QListView::customContextMenuRequested, this, &TagPane::showTagMenu);
    connect(m_selection, &SelectionState::selectedTagChanged, this, &TagPane::showSelectedTag);
    connect(m_tags, &TagListModel::errorChanged, this, &TagPane::showError);
    // Rows that come or move keep the selected tag marked.
    connect(m_filter, &QAbstractItemModel::rowsInserted, this, &TagPane::showSelectedTag);
    connect(m_filter, &QAbstractItemModel::layoutChanged, this, &TagPane::showSelectedTag);
    connect(m_filter, &QAbstractItemModel::rowsInserted, this, &TagPane::showListOrHint);
    connect(m_filter, &QAbstractItemModel::rowsRemoved, this, &TagPane::showListOrHint);

    applyIcons();
    showError();
    // A pass over every link of the journal: it waits until the window is up, so that
    // start-up stays the same however long the journal grows.
    QTimer::singleShot(0, m_tags, &TagListModel::loadNoteCounts);
}

void TagPane::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::PaletteChange)
        applyIcons();
    QWidget::changeEvent(event);
}

// A secondary click only opens the row's menu: picking the row would switch the detail
// pane away from what the user is looking at.
bool TagPane::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_list->viewport()) {
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

void TagPane::applyIcons()
{
    m_sortButton->setIcon(themedIcon(u"view-sort"_s, palette()));
    m_searchButton->setIcon(themedIcon(u"edit-find"_s, palette()));
    m_tags->setDecoration(themedIcon(u"tag"_s, palette(), QPalette::Highlight));
}

void TagPane::setSearching(bool searching)
{
    m_searchButton->setVisible(!searching);
    m_searchField->setVisible(searching);
    m_cancelSearchButton->setVisible(searching);
    if (searching)
        m_searchField->focusInput();
}

void TagPane::setOrder(TagOrder order)
{
    {
        const QScopedValueRollback updating(m_updatingList, true);
        m_filter->setOrder(order);
    }
    showSelectedTag();
    m_sortActions->actions().at(allTagOrders().indexOf(order))->setChecked(true);
}

void TagPane::showSelectedTag()
{
    const QScopedValueRollback updating(m_updatingList, true);
    QItemSelectionModel *selectionModel = m_list->selectionModel();
    const QModelIndex index = m_filter->indexOf(m_selection->selectedTag());
    if (!index.isValid()) {
        selectionModel->clearSelection();
        return;
    }
    if (!selectionModel->isSelected(index))
        selectionModel->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
}

void TagPane::listSelectionChanged()
{
    if (m_updatingList)
        return;
    const QModelIndexList selected = m_list->selectionModel()->selectedIndexes();
    m_selection->setSelectedTag(selected.isEmpty() ? nullptr : m_filter->tagAt(selected.first()));
}

// A list that could not be read is never shown as an empty one.
void TagPane::showError()
{
    const QString &error = m_tags->error();
    m_readError->setText(error.isEmpty() ? QString()
                                         : tr("The tags could not be read: %1").arg(error));
    m_readError->setVisible(!error.isEmpty());
    m_list->setVisible(error.isEmpty());
    showListOrHint();
}

// The empty list stays in place under the hint, so that nothing moves and the keyboard focus
// stays where it was.
void TagPane::showListOrHint()
{
    QString hint;
    if (m_tags->error().isEmpty() && m_filter->rowCount() == 0) {
        hint = m_tags->rowCount() == 0 ? tr("Type #word in a note to make a tag")
                                       : tr("No matching tags");
    }
    m_emptyHint->setText(hint);
    m_emptyHint->setVisible(!hint.isEmpty());
}

void TagPane::showTagMenu(const QPoint &position)
{
    const Tag *tag = m_filter->tagAt(m_list->indexAt(position));
    if (!tag)
        return;
    auto *menu = new QMenu(this);
    menu->setObjectName(u"tagMenu"_s);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    //: %1 the tag's name in quotes.
    QAction *removeAction =
        menu->addAction(withoutMnemonics(tr("Delete Tag %1").arg(quoted(tag->name))));
    connect(removeAction, &QAction::triggered, this, [this, tag] { confirmRemoval(tag); });
    menu->popup(m_list->viewport()->mapToGlobal(position));
}

// Opened with open(), not exec(): the window stays blocked but the event loop runs on.
void TagPane::confirmRemoval(const Tag *tag)
{
    auto *alert = new QMessageBox(this);
    alert->setObjectName(u"deleteTagAlert"_s);
    alert->setAttribute(Qt::WA_DeleteOnClose);
    alert->setWindowModality(Qt::WindowModal);
    alert->setIcon(QMessageBox::Warning);
    alert->setWindowTitle(tr("Delete Tag"));
    alert->setTextFormat(Qt::PlainText);
    alert->setText(tr("Are you sure you want to delete the tag %1? This cannot be undone.")
                       .arg(quoted(tag->name)));
    //: The button that deletes the tag: %1 its name in quotes.
    QPushButton *deleteButton = alert->addButton(
        withoutMnemonics(tr("Delete %1").arg(quoted(tag->name))), QMessageBox::DestructiveRole);
    QPushButton *cancelButton = alert->addButton(tr("Cancel"), QMessageBox::RejectRole);
    alert->setDefaultButton(cancelButton);
    alert->setEscapeButton(cancelButton);
    // The journal ignores a tag it has already removed.
    connect(alert, &QMessageBox::buttonClicked, this,
            [this, deleteButton, tag](QAbstractButton *clicked) {
                if (clicked == deleteButton)
                    m_journal->removeTag(tag);
            });
    alert->open();
}
