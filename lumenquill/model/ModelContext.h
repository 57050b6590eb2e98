#pragma once

#include "model/Note.h"
#include "model/PersistentIdentifier.h"
#include "model/Tag.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QSqlDatabase>
#include <QString>
#include <QTimer>

// The outcome of a one-result fetch: a record, no record, or the store's error.
template<typename Record>
struct FetchResult
{
    Record *record = nullptr;
    QString error;
    bool ok() const { return error.isEmpty(); }
};

// The unit of work over the journal's store, on the GUI thread.
//
// It keeps one live object per stored row (an identity map), gives an inserted record its
// identifier at once and shows it to fetches and live queries before any save, and writes
// everything pending in one transaction when saved. Changes are also saved on their own a
// short while after they are made. A failed save keeps the changes pending and is retried.
class ModelContext : public QObject
{
    Q_OBJECT

public:
    // Used by ModelContainer, which owns the connection.
    explicit ModelContext(const QString &connectionName, QObject *parent = nullptr);
    ~ModelContext() override;

    // Takes ownership of a record made by its initialiser and gives it an identifier.
    // Refuses (false, ownership stays with the caller) a second note for a day or a second
    // tag of a name, and a record it cannot check because the store cannot be read.
    bool insert(Note *note);
    bool insert(Tag *tag);
    // Removes the tag from the store and from every note's tags; the notes stay as they are.
    // Holders are told by tagAboutToBeDeleted; the handle itself is destroyed later.
    void deleteTag(Tag *tag);

    // Writes every pending insert, change and deletion in one transaction. On failure the
    // changes stay pending, lastSaveError() says why, and a retry is scheduled.
    bool save();
    bool hasChanges() const;
    // The notes whose latest text is not on disk yet.
    QList<Note *> unsavedNotes() const;
    QString lastSaveError() const { return m_lastSaveError; }

    // Delay of the automatic save after a change, and of the retry after a failed save.
    void setAutosaveDelay(int milliseconds);
    void setRetryDelay(int milliseconds) { m_retryDelay = milliseconds; }

    // One-result fetches; records inserted but not yet saved take part.
    FetchResult<Note> fetchNote(QDate day);
    FetchResult<Tag> fetchTag(const QString &name);

    // Live queries: the current lists, kept in step by the signals below.
    QList<Note *> allNotes(); // newest day first; texts are loaded when read
    QList<Tag *> allTags();   // in the store's own order
    // The days between first and last (inclusive) that have a note: all the calendar needs.
    QSet<QDate> noteDaysBetween(QDate first, QDate last);

Q_SIGNALS:
    void noteInserted(Note *note);
    void tagInserted(Tag *tag);
    void tagAboutToBeDeleted(Tag *tag);
    // Any record was inserted, changed or deleted.
    void changed();
    // A save ended; ok is false when it failed and the changes are still pending.
    void saveFinished(bool ok);

private:
    friend class Note;
    friend class Tag;
    friend class ModelContainer;

    bool prepareIdentifiers(QString *error);
    QSqlDatabase database() const;

    Note *noteHandle(PersistentIdentifier id, QDate day);
    Tag *tagHandle(PersistentIdentifier id, const QString &name, const QDateTime &createdAt);

    void loadContent(const Note *note);
    void loadTags(const Note *note);
    void loadNotes(const Tag *tag);
    void loadLatestNoteDays();

    void contentChanged(Note *note);
    void dateChanged(Note *note);
    void tagChanged(Tag *tag);
    void linkChanged(Note *note, Tag *tag, bool linked);
    void markChanged();
    bool writePending(QString *error);

    struct LinkChange
    {
        PersistentIdentifier note;
        PersistentIdentifier tag;
        bool linked;
    };

    QString m_connectionName;
    PersistentIdentifier m_nextNoteId = 1;
    PersistentIdentifier m_nextTagId = 1;

    QHash<PersistentIdentifier, Note *> m_notesById;
    QHash<QDate, Note *> m_notesByDay;
    QHash<PersistentIdentifier, Tag *> m_tagsById;
    QHash<QString, Tag *> m_tagsByName;
    QList<Tag *> m_allTags;
    bool m_allTagsLoaded = false;

    // Pending work, written by the next save.
    QList<Note *> m_insertedNotes;
    QSet<Note *> m_changedNotes;
    QList<Tag *> m_insertedTags;
    QSet<Tag *> m_changedTags;
    QList<PersistentIdentifier> m_deletedTags;
    QList<LinkChange> m_linkChanges;

    QTimer m_autosaveTimer;
    int m_autosaveDelay = 1000;
    int m_retryDelay = 5000;
    QString m_lastSaveError;
};
