#pragma once

#include <QAbstractListModel>
#include <QDateTime>
#include <QHash>
#include <QList>

class Journal;
struct Tag;
struct TagLink;

// Every tag of the journal, one row each, in the order they were made, and once asked for,
// how many notes carry it. Rows are inserted, removed and changed as the journal reports it,
// never rebuilt: the counts are read once, in one pass over the links, and then follow each
// link made or undone.
class TagListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    enum Role
    {
        TagRole = Qt::UserRole + 1, // const Tag *
        // The day start of the tag's latest note, or when the tag was made if it has none, in
        // milliseconds since 1970.
        RecencyRole,
        NoteCountRole, // int; none until loadNoteCounts()
    };

    explicit TagListModel(Journal *journal, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    const Tag *tagAt(const QModelIndex &index) const;
    QModelIndex indexOf(const Tag *tag) const;
    // Why the tags could not be read; empty while they could.
    const QString &error() const { return m_error; }
    // What the rows show beside their names (a QIcon, kept opaque here).
    void setDecoration(const QVariant &decoration);
    // Works out every tag's recency, which is kept up to date from then on. Only the order
    // by recency needs it, and it costs a walk through the links.
    void loadRecency();
    // Counts every tag's notes, which are kept up to date from then on. The count grows with
    // the journal, so the list asks for it once the window is up.
    void loadNoteCounts();

Q_SIGNALS:
    void errorChanged();

private:
    void addTags(const QList<const Tag *> &tags);
    void removeTag(const Tag *tag);
    void applyLinks(const QList<TagLink> &links);
    void workOutRecency(const Tag *tag);
    void setError(const QString &error);

    Journal *m_journal;
    QList<const Tag *> m_tags;
    QVariant m_decoration;
    bool m_loaded = false;
    bool m_recencyLoaded = false;
    bool m_noteCountsLoaded = false;
    QHash<const Tag *, qint64> m_recency;
    // Tags without notes are left out.
    QHash<const Tag *, int> m_noteCounts;
    QString m_error;
};
