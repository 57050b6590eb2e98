#pragma once

#include <QAbstractListModel>
#include <QList>
#include <QPointer>

class Note;
class Tag;

// The notes that carry one tag, newest day first, kept in step with the tag's links and the
// notes' days and texts. The model itself never reads a text, so a tag with thousands of
// notes opens without loading them; a card reads its note's text when it is painted.
class TagNotesModel : public QAbstractListModel
{
    Q_OBJECT

public:
    enum Role
    {
        NoteRole = Qt::UserRole + 1, // the Note *
        DateRole,                    // the note's day start
    };

    explicit TagNotesModel(Tag *tag, QObject *parent = nullptr);
    ~TagNotesModel() override;

    Tag *tag() const;
    Note *noteAt(int row) const;
    QModelIndex indexOf(const Note *note) const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QHash<int, QByteArray> roleNames() const override;

private:
    void syncWithTag();
    void resetTo(const QList<Note *> &notes);
    void forgetTag(Tag *tag);
    void noteContentChanged(Note *note);
    void noteDateChanged(Note *note);
    void watch(Note *note);
    void unwatch(Note *note);

    QPointer<Tag> m_tag;
    QList<Note *> m_notes;
};
