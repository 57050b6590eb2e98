#pragma once

#include <QAbstractListModel>
#include <QIcon>
#include <QList>

class Tag;

// The rows of the sidebar's tag list: one per tag, in the order it is given. A new list is
// applied as the removals, moves and insertions that lead to it, so views keep their
// selection and scroll position across updates.
class TagListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    explicit TagListModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    const QList<Tag *> &tags() const { return m_tags; }
    void setTags(const QList<Tag *> &tags);

    Tag *tagAt(const QModelIndex &index) const;
    QModelIndex indexOf(const Tag *tag) const;

    void setTagIcon(const QIcon &icon);

private:
    void track(Tag *tag);
    void untrack(Tag *tag);

    QList<Tag *> m_tags;
    QIcon m_tagIcon;
};
