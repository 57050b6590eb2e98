#include "app/tagbrowser/NoteCardGrid.h"

#include "app/tagbrowser/NoteCardDelegate.h"

#include <QKeyEvent>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOption>

#include <algorithm>

NoteCardGrid::NoteCardGrid(QWidget *parent) : QListView(parent)
{
    setViewMode(QListView::IconMode);
    setMovement(QListView::Static);
    setFlow(QListView::LeftToRight);
    setWrapping(true);
    // Every resize sets a new grid size, which lays the cards out again by itself.
    setResizeMode(QListView::Fixed);
    setUniformItemSizes(true);
    setSpacing(0);
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setDragEnabled(false);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    const int scrollBarExtent =
        style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, verticalScrollBar());
    setMinimumWidth(columnCount * minimumCardWidth + (columnCount - 1) * spacing + 1 +
                    scrollBarExtent);
    updateGridSize();
}

QRect NoteCardGrid::visualRect(const QModelIndex &index) const
{
    const QRect cell = QListView::visualRect(index);
    if (!cell.isValid())
        return cell;
    // Each card gives up the same share of the gaps: the first sits on the leading edge,
    // the last on the trailing one, and 24 px stay between neighbours.
    const int column = index.row() % columnCount;
    const int fromLeading = isRightToLeft() ? columnCount - 1 - column : column;
    const int share = spacing * (columnCount - 1) / columnCount;
    return QRect(cell.left() + fromLeading * share / (columnCount - 1), cell.top(),
                 std::max(0, cell.width() - share), NoteCardDelegate::cardHeight);
}

void NoteCardGrid::resizeEvent(QResizeEvent *event)
{
    updateGridSize();
    QListView::resizeEvent(event);
}

void NoteCardGrid::keyPressEvent(QKeyEvent *event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        currentIndex().isValid()) {
        event->accept();
        Q_EMIT cardEntered(currentIndex());
        return;
    }
    QListView::keyPressEvent(event);
}

// Searching by typed letters would read the text of every note.
void NoteCardGrid::keyboardSearch(const QString &)
{}

// QListView wraps within the viewport less room for a vertical scroll bar, shown or not,
// so that the bar coming and going never rewraps the cards; three cells must fit in that.
int NoteCardGrid::layoutWidth() const
{
    int width = maximumViewportSize().width();
    if (style()->styleHint(QStyle::SH_ScrollView_FrameOnlyAroundContents, nullptr, this)) {
        QStyleOption option;
        option.initFrom(this);
        width -= 2 * style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, this);
    }
    if (!style()->pixelMetric(QStyle::PM_ScrollView_ScrollBarOverlap, nullptr, verticalScrollBar()))
        width -= style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, verticalScrollBar());
    return width;
}

void NoteCardGrid::updateGridSize()
{
    const int share = spacing * (columnCount - 1) / columnCount;
    const QSize cell(std::max(minimumCardWidth + share, (layoutWidth() - 1) / columnCount),
                     NoteCardDelegate::cardHeight + spacing);
    if (cell != gridSize())
        setGridSize(cell);
}
