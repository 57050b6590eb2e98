#pragma once

#include "core/Journal.h"

#include <QAbstractListModel>
#include <QList>

// The notes that match what the user typed into the note search, newest day first. Only
// the first page is read when the query changes, so a keystroke costs the same on a journal
// of a hundred years; views read further pages as they scroll.
class SearchResultsModel : public QAbstractListModel
{
    Q_OBJECT

public:
    static constexpr int pageSize = 30;

    enum Role
    {
        NoteRole = Qt::UserRole + 1, // const Note *
        DayRole,                     // QDate
        MatchesRole,                 // QList<TextRange> within the display text
    };

    explicit SearchResultsModel(Journal *journal, QObject *parent = nullptr);

    const QString &query() const { return m_query; }
    void setQuery(const QString &typed);
    const Note *noteAt(const QModelIndex &index) const;
    // Why the notes could not be searched; empty while they could.
    const QString &error() const { return m_error; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    // The display role is the snippet; screen readers hear the day, then the snippet.
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex &parent) const override;
    void fetchMore(const QModelIndex &parent) override;

Q_SIGNALS:
    void errorChanged();

private:
    Result<SearchHits> readPage();
    void setError(const QString &error);

    Journal *m_journal;
    QString m_query;
    QList<SearchHit> m_hits;
    // Rows the journal has gone through, matching days that are no days included.
    int m_offset = 0;
    bool m_hasMore = false;
    QString m_error;
};
