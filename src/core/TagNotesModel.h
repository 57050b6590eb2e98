#pragma once

#include <QAbstractListModel>
#include <QList>

class Journal;
struct Note;
struct Tag;
struct TagLink;

// The notes that carry one tag, newest day first, kept in step with the journal's links and
// texts. The model reads a note's text only when a view asks for it, so a tag with
// thousands of notes opens without loading them.
class TagNotesModel : public QAbstractListModel
{
    Q_OBJECT

public:
    enum Role
    {
        NoteRole = Qt::UserRole + 1, // const Note *
    };

    TagNotesModel(Journal *journal, const Tag *tag, QObject *parent = nullptr);

    // Null once the tag has been removed.
    const Tag *tag() const { return m_tag; }
    const Note *noteAt(const QModelIndex &index) const;
    QModelIndex indexOf(const Note *note) const;
    // Why the tag's notes could not be read; empty while they could.
    const QString &error() const { return m_error; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    // The display role is the note's first line, and so is the name a screen reader speaks;
    // the accessible description is the rest of the card: the text after that line, then
    // the day.
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

private:
    void applyLinks(const QList<TagLink> &links);
    void updateText(const Note *note);
    void forgetTag(const Tag *tag);

    Journal *m_journal;
    const Tag *m_tag;
    QList<const Note *> m_notes;
    QString m_error;
};
