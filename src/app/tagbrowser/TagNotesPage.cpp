#include "app/tagbrowser/TagNotesPage.h"

#include "app/ElidedLabel.h"
#include "app/SelectionState.h"
#include "app/TextStyles.h"
#include "app/tagbrowser/NoteCardDelegate.h"
#include "app/tagbrowser/NoteCardGrid.h"
#include "core/Journal.h"
#include "core/TagNotesModel.h"

#include <QEvent>
#include <QLabel>
#include <QStyle>
#include <QVBoxLayout>

namespace {

constexpr int stackSpacing = 16;

} // namespace

TagNotesPage::TagNotesPage(Journal *journal, const Tag *tag, SelectionState *selection,
                           QWidget *parent)
    : QWidget(parent), m_selection(selection), m_heading(new ElidedLabel(this)),
      m_grid(new NoteCardGrid(this)), m_model(new TagNotesModel(journal, tag, this)),
      m_readError(new QLabel(this))
{
    // Cards have the window's colour, so the pane behind them takes the content colour.
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);

    m_heading->setObjectName(QStringLiteral("tagNotesHeading"));
    m_heading->setContentsMargins(0, 0, 0, style()->pixelMetric(QStyle::PM_LayoutBottomMargin));
    m_heading->setFont(styledFont(font(), TextStyle::Title));
    m_heading->setText(tr("Notes tagged with #%1").arg(tag->name));

    m_grid->setObjectName(QStringLiteral("noteCardGrid"));
    m_grid->setAccessibleName(m_heading->text());
    m_grid->setModel(m_model);
    m_grid->setItemDelegate(new NoteCardDelegate(journal, m_grid));

    m_readError->setObjectName(QStringLiteral("readError"));
    m_readError->setWordWrap(true);
    m_readError->setTextFormat(Qt::PlainText);
    m_readError->setAlignment(Qt::AlignTop | Qt::AlignLeading);
    m_readError->setVisible(!m_model->error().isEmpty());
    m_readError->setText(tr("The notes of this tag could not be read: %1").arg(m_model->error()));
    m_grid->setVisible(m_model->error().isEmpty());

    auto *layout = new QVBoxLayout(this);
    layout->setSpacing(stackSpacing);
    layout->addWidget(m_heading);
    layout->addWidget(m_grid, 1);
    layout->addWidget(m_readError, 1);

    connect(m_grid, &QListView::clicked, this,
            [this](const QModelIndex &index) { openNote(m_model->noteAt(index)); });
    connect(m_grid, &NoteCardGrid::cardEntered, this,
            [this](const QModelIndex &index) { openNote(m_model->noteAt(index)); });
}

const Tag *TagNotesPage::tag() const
{
    return m_model->tag();
}

QString TagNotesPage::headingText() const
{
    return m_heading->text();
}

// Each write can rebuild the window around this page (the editor replaces it once the tag
// is cleared), so only values taken beforehand are used between them.
void TagNotesPage::openNote(const Note *note)
{
    if (!note)
        return;
    SelectionState *selection = m_selection;
    const QDateTime date = note->day.startOfDay();
    selection->setOpenNote(note);
    selection->setSelectedDate(date);
    selection->setHighlightedDate(date);
    selection->setSelectedTag(nullptr);
}

void TagNotesPage::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        m_heading->setFont(styledFont(font(), TextStyle::Title));
}
