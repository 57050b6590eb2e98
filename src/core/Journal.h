#pragma once

#include "core/DailyBackup.h"
#include "core/JournalDatabase.h"
#include "core/JournalTransfer.h"
#include "core/Note.h"
#include "core/Result.h"
#include "core/Tag.h"
#include "core/TextSearch.h"
#include "core/UnsavedWork.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>
#include <QTimer>

#include <memory>

// A note gained or lost a tag.
struct TagLink
{
    const Tag *tag = nullptr;
    const Note *note = nullptr;
    bool linked = false;
};

// A note that matched a search, with a few words around its matches.
struct SearchHit
{
    const Note *note = nullptr;
    QString snippet;
    // Within the snippet.
    QList<TextRange> matches;
};

struct SearchHits
{
    QList<SearchHit> hits;
    // Whether more notes may follow the page.
    bool hasMore = false;
};

// What an import did to the journal's days.
struct ImportSummary
{
    // Days without text before, which now have the imported one.
    qsizetype added = 0;
    // Days whose own text now has the imported one below a separator.
    qsizetype merged = 0;
    // Days that already held the imported text.
    qsizetype unchanged = 0;
};

// The journal as the program sees it: one live record per row, the changes not yet on
// disk, and a signal for every change. Everything runs on the GUI thread.
//
// A change is written as soon as it is made: a day's new note when the day is first opened,
// a note's text (with its tags, in the same transaction) when the editor hands it over, a
// tag's removal when it is confirmed. A write that fails keeps everything pending, says so
// through saveErrorChanged(), and is tried again a few seconds later and with every change.
class Journal : public QObject
{
    Q_OBJECT

public:
    static Result<std::unique_ptr<Journal>> open(const QString &path);

    explicit Journal(std::unique_ptr<JournalDatabase> database, QObject *parent = nullptr);
    // Writes what is still pending.
    ~Journal() override;

    QString path() const { return m_database->path(); }

    // The day's note with its text; a day without one gets a new, empty note.
    Result<const Note *> noteForDay(QDate day);
    Result<QString> text(const Note *note);
    // Takes the note's new text and writes it with its tags. A text the same as the note's
    // (canonically) writes nothing.
    void setText(const Note *note, const QString &text);
    // The days between first and last (inclusive) that have a note, written or not.
    Result<QSet<QDate>> noteDaysBetween(QDate first, QDate last);

    // In the order they were made.
    Result<QList<const Tag *>> tags();
    // Newest day first.
    Result<QList<const Note *>> notesOfTag(const Tag *tag);
    // Invalid when the tag has no notes.
    Result<QDate> latestNoteDay(const Tag *tag);
    // How many notes carry each tag, as last saved; tags without notes are left out. Read
    // from the links alone, never from a note; linksChanged() tells what changes it.
    Result<QHash<const Tag *, int>> noteCounts();
    // Removes the tag and its links; its notes and their texts stay.
    void removeTag(const Tag *tag);

    // The written notes that match what the user typed (see fullTextQuery()), newest day
    // first, limit of them from the offset-th on.
    Result<SearchHits> search(const QString &typed, int offset, int limit);

    // Puts each day's text into the journal and writes them all in one transaction. A day
    // with text of its own keeps it: the imported text goes below it, after importSeparator,
    // unless the day already holds it. A failed write stays pending like any other.
    Result<ImportSummary> importDays(const QList<DayText> &days);
    static const QString importSeparator;

    // Copies the journal once a day, on the day's first save.
    DailyBackup *backup() { return &m_backup; }

    // Writes everything pending in one transaction.
    bool save();
    bool hasUnsavedChanges() const;
    // The notes whose text is not on disk yet, by day; new empty notes hold nothing to lose.
    QList<const Note *> unsavedNotes() const;
    // Empty while everything is written.
    const QString &saveError() const { return m_saveError; }
    void setRetryInterval(int milliseconds) { m_retryTimer.setInterval(milliseconds); }

Q_SIGNALS:
    void noteAdded(const Note *note);
    void noteTextChanged(const Note *note);
    // After the save that made them.
    void tagsAdded(const QList<const Tag *> &tags);
    // Drop every pointer to the tag now.
    void tagAboutToBeRemoved(const Tag *tag);
    // After the save that changed them.
    void linksChanged(const QList<TagLink> &links);
    void saveErrorChanged(const QString &error);

private:
    struct Written;

    Note *noteRecord(RowId id, QDate day);
    Tag *tagRecord(const TagRow &row);
    Result<Written> writePending();
    void takeWritten(const Written &written);
    void setSaveError(const QString &error);

    std::unique_ptr<JournalDatabase> m_database;

    // The records own themselves through these maps; a removed tag is kept until the
    // journal closes, so a stale pointer somewhere never reads freed memory.
    QHash<QDate, Note *> m_notesByDay;
    QHash<RowId, Note *> m_notesById;
    QHash<RowId, Tag *> m_tagsById;
    QList<Tag *> m_removedTags;
    QList<const Tag *> m_tags;
    bool m_tagsLoaded = false;
    QHash<RowId, QDate> m_latestNoteDays;
    bool m_latestNoteDaysLoaded = false;

    QList<Note *> m_unsavedNotes;
    QList<RowId> m_removedTagIds;
    UnsavedWork m_unsavedWork;
    QString m_saveError;
    QTimer m_retryTimer;
    DailyBackup m_backup;
};
