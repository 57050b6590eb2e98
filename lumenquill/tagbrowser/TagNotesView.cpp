#include "tagbrowser/TagNotesView.h"

#include "SelectionState.h"
#include "model/Note.h"
#include "model/Tag.h"
#include "tagbrowser/NoteCardView.h"
#include "tagbrowser/TagNotesGrid.h"
#include "tagbrowser/TagNotesModel.h"

#include <QEvent>
#include <QLabel>
#include <QStyle>
#include <QVBoxLayout>

namespace {

constexpr int stackSpacing = 16;
// The title text style against a 13 pt body.
constexpr qreal titleScale = 22.0 / 13.0;

} // namespace

TagNotesView::TagNotesView(Tag *tag, SelectionState *selection, QWidget *parent)
    : QWidget(parent), m_selection(selection), m_heading(new QLabel(this)),
      m_grid(new TagNotesGrid(this)), m_model(new TagNotesModel(tag, this))
{
    // Cards have the window's colour, so the pane behind them takes the content colour.
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);

    m_heading->setObjectName(QStringLiteral("tagNotesHeading"));
    m_heading->setTextFormat(Qt::PlainText);
    m_heading->setWordWrap(true);
    m_heading->setContentsMargins(0, 0, 0, style()->pixelMetric(QStyle::PM_LayoutBottomMargin));
    updateHeadingFont();

    m_grid->setObjectName(QStringLiteral("tagNotesGrid"));
    m_grid->setModel(m_model);
    m_grid->setItemDelegate(new NoteCardView(m_grid));

    auto *layout = new QVBoxLayout(this);
    layout->setSpacing(stackSpacing);
    layout->addWidget(m_heading);
    layout->addWidget(m_grid, 1);

    connect(m_grid, &QListView::clicked, this,
            [this](const QModelIndex &index) { openNote(m_model->noteAt(index.row())); });
    connect(m_grid, &TagNotesGrid::cardEntered, this,
            [this](const QModelIndex &index) { openNote(m_model->noteAt(index.row())); });
    if (tag)
        connect(tag, &Tag::nameChanged, this, &TagNotesView::updateTexts);
    updateTexts();
}

TagNotesView::~TagNotesView() = default;

Tag *TagNotesView::tag() const
{
    return m_model->tag();
}

QListView *TagNotesView::grid() const
{
    return m_grid;
}

QString TagNotesView::headingText() const
{
    return m_heading->text();
}

QRect TagNotesView::cardRect(const Note *note) const
{
    return m_grid->visualRect(m_model->indexOf(note));
}

// Each write can rebuild the window around this view (the editor replaces it once the tag
// is cleared), so only values taken beforehand are used between them.
void TagNotesView::openNote(Note *note)
{
    if (!note)
        return;
    SelectionState *selection = m_selection;
    const QDateTime date = note->date();
    selection->setSelectedNoteToEdit(note);
    selection->setSelectedDate(date);
    selection->setHighlightedDate(date);
    selection->setSelectedTag(nullptr);
}

void TagNotesView::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        updateTexts();
    else if (event->type() == QEvent::FontChange)
        updateHeadingFont();
}

void TagNotesView::updateTexts()
{
    if (const Tag *shown = m_model->tag())
        m_tagName = shown->name();
    m_heading->setText(tr("Notes tagged with #%1").arg(m_tagName));
    setWindowTitle(tr("#%1").arg(m_tagName));
}

void TagNotesView::updateHeadingFont()
{
    QFont title = font();
    if (title.pointSizeF() > 0)
        title.setPointSizeF(title.pointSizeF() * titleScale);
    else
        title.setPixelSize(qRound(title.pixelSize() * titleScale));
    m_heading->setFont(title);
}
