#include "core/SearchResultsModel.h"

#include "core/DateText.h"

SearchResultsModel::SearchResultsModel(Journal *journal, QObject *parent)
    : QAbstractListModel(parent), m_journal(journal)
{}

void SearchResultsModel::setQuery(const QString &typed)
{
    beginResetModel();
    m_query = typed;
    m_hits.clear();
    m_offset = 0;
    const auto page = readPage();
    m_hits = page ? page->hits : QList<SearchHit>();
    m_hasMore = page && page->hasMore;
    endResetModel();
    setError(page ? QString() : page.error());
}

Result<SearchHits> SearchResultsModel::readPage()
{
    auto page = m_journal->search(m_query, m_offset, pageSize);
    m_offset += pageSize;
    return page;
}

const Note *SearchResultsModel::noteAt(const QModelIndex &index) const
{
    return index.isValid() && index.row() < m_hits.size() ? m_hits.at(index.row()).note : nullptr;
}

int SearchResultsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_hits.size());
}

QVariant SearchResultsModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_hits.size())
        return {};
    const SearchHit &hit = m_hits.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return hit.snippet;
    case Qt::AccessibleTextRole:
        return QString(DateText::fullDay(hit.note->day) + QStringLiteral(", ") + hit.snippet);
    case NoteRole:
        return QVariant::fromValue(hit.note);
    case DayRole:
        return hit.note->day;
    case MatchesRole:
        return QVariant::fromValue(hit.matches);
    default:
        return {};
    }
}

bool SearchResultsModel::canFetchMore(const QModelIndex &parent) const
{
    return !parent.isValid() && m_hasMore && m_error.isEmpty();
}

void SearchResultsModel::fetchMore(const QModelIndex &parent)
{
    if (!canFetchMore(parent))
        return;
    const auto page = readPage();
    if (!page) {
        m_hasMore = false;
        setError(page.error());
        return;
    }
    m_hasMore = page->hasMore;
    if (page->hits.isEmpty())
        return;
    beginInsertRows(QModelIndex(), int(m_hits.size()), int(m_hits.size() + page->hits.size() - 1));
    m_hits.append(page->hits);
    endInsertRows();
}

void SearchResultsModel::setError(const QString &error)
{
    if (error == m_error)
        return;
    m_error = error;
    Q_EMIT errorChanged();
}
