#include "app/search/SearchPage.h"

#include "app/search/SearchResultDelegate.h"
#include "core/SearchResultsModel.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QStyle>
#include <QVBoxLayout>

SearchPage::SearchPage(Journal *journal, QWidget *parent)
    : QWidget(parent), m_field(new QLineEdit(this)), m_results(new QListView(this)),
      m_status(new QLabel(this)), m_model(new SearchResultsModel(journal, this))
{
    m_field->setObjectName(QStringLiteral("noteSearchField"));
    m_field->setPlaceholderText(tr("Search Notes"));
    m_field->setAccessibleName(tr("Search Notes"));
    m_field->setClearButtonEnabled(true);

    m_results->setObjectName(QStringLiteral("searchResults"));
    m_results->setAccessibleName(tr("Search Results"));
    m_results->setModel(m_model);
    m_results->setItemDelegate(new SearchResultDelegate(m_results));
    m_results->setSelectionMode(QAbstractItemView::SingleSelection);
    m_results->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_results->setUniformItemSizes(true);
    m_results->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_results->setFrameShape(QFrame::NoFrame);

    m_status->setObjectName(QStringLiteral("searchStatus"));
    m_status->setWordWrap(true);
    m_status->setTextFormat(Qt::PlainText);
    m_status->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    m_status->hide();

    const int inset = style()->pixelMetric(QStyle::PM_LayoutLeftMargin, nullptr, this);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(inset, 12, inset, 0);
    layout->addWidget(m_field);
    layout->addWidget(m_status);
    layout->addWidget(m_results, 1);
    setFocusProxy(m_field);

    m_field->installEventFilter(this);
    m_results->installEventFilter(this);
    connect(m_field, &QLineEdit::textChanged, this, &SearchPage::search);
    connect(m_results, &QListView::clicked, this, &SearchPage::choose);
}

void SearchPage::focusField()
{
    m_field->setFocus(Qt::ShortcutFocusReason);
    m_field->selectAll();
}

void SearchPage::search(const QString &typed)
{
    m_model->setQuery(typed);
    // Enter in the field opens the newest match.
    if (m_model->rowCount() > 0)
        m_results->setCurrentIndex(m_model->index(0));
    const QString &error = m_model->error();
    const bool nothing = m_model->rowCount() == 0 && !typed.trimmed().isEmpty();
    m_status->setText(!error.isEmpty() ? tr("The notes could not be searched: %1").arg(error)
                                       : tr("No Results"));
    m_status->setVisible(!error.isEmpty() || nothing);
}

void SearchPage::choose(const QModelIndex &index)
{
    if (const Note *note = m_model->noteAt(index))
        Q_EMIT resultChosen(note, m_model->query());
}

bool SearchPage::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    switch (key->key()) {
    case Qt::Key_Escape:
        Q_EMIT closeRequested();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        choose(m_results->currentIndex());
        return true;
    case Qt::Key_Down:
        // From the field down into the results, the newest one current.
        if (watched == m_field && m_model->rowCount() > 0) {
            m_results->setFocus(Qt::TabFocusReason);
            m_results->setCurrentIndex(m_model->index(0));
            return true;
        }
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}
