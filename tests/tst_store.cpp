// The records and the journal store: identity, links kept on both sides, unique days and
// names, deletion, durability across reopening, and the day kept as a calendar day.

#include "TestEnvironment.h"

#include "model/ModelContainer.h"
#include "model/ModelContext.h"
#include "model/Note.h"
#include "model/Tag.h"

#include <QFile>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>

namespace {

QDateTime at(int year, int month, int day, int hour = 12, int minute = 0, int second = 0)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second));
}

Note *insertNote(ModelContext *context, QDate day, const QString &content = QString())
{
    auto *note = new Note(day.startOfDay(), content);
    context->insert(note);
    return note;
}

Tag *insertTag(ModelContext *context, const QString &name)
{
    auto *tag = new Tag(name, QDateTime::currentDateTime());
    context->insert(tag);
    return tag;
}

QStringList names(const QList<Tag *> &tags)
{
    QStringList result;
    for (const Tag *tag : tags)
        result.append(tag->name());
    return result;
}

} // namespace

class StoreTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { lqtest::pinEnvironment(); }
    void cleanup() { lqtest::setTimeZone("Europe/Berlin"); }

    void newNote_isNormalisedToItsLocalDay_data();
    void newNote_isNormalisedToItsLocalDay();
    void insert_givesIdentifierAndIsFetchedBeforeAnySave();
    void fetch_givesTheSameHandleForTheSameRow();
    void links_areKeptOnBothSides();
    void links_unsavedChangesShowInListsLoadedLater();
    void uniqueValues_secondRecordIsRefused();
    void deleteTag_unlinksEveryNoteAndKeepsTheirText();
    void deleteTag_thenSameNameAgain_savesCleanly();
    void savedData_survivesReopening();
    void journalLeftByACrash_opensWithWhatItsLogHolds();
    void journalOpenElsewhere_isRefusedUntilClosed();
    void autosave_writesPendingChangesWithoutAnExplicitSave();
    void failedSave_keepsChangesPendingAndSucceedsLater();
    void noteDay_staysOnItsCalendarDayAcrossTimeZones_data();
    void noteDay_staysOnItsCalendarDayAcrossTimeZones();
    void liveQueries_listNotesNewestFirstAndTagsInStoreOrder();
    void noteDaysBetween_coversSavedAndPendingNotes();
    void latestNoteDay_followsSavedAndPendingLinks();
};

void StoreTest::newNote_isNormalisedToItsLocalDay_data()
{
    QTest::addColumn<QDateTime>("given");
    QTest::addColumn<QDate>("day");
    QTest::newRow("last second of the day") << at(2026, 3, 29, 23, 59, 59) << QDate(2026, 3, 29);
    QTest::newRow("a day start") << QDate(2026, 3, 29).startOfDay() << QDate(2026, 3, 29);
    QTest::newRow("next midnight") << QDate(2026, 3, 30).startOfDay() << QDate(2026, 3, 30);
    QTest::newRow("an instant given in UTC")
        << QDateTime(QDate(2026, 7, 1), QTime(22, 30), QTimeZone::utc()) << QDate(2026, 7, 2);
}

void StoreTest::newNote_isNormalisedToItsLocalDay()
{
    QFETCH(QDateTime, given);
    QFETCH(QDate, day);
    Note note(given, QStringLiteral("text"));
    QCOMPARE(note.day(), day);
    QCOMPARE(note.date(), day.startOfDay());
    QCOMPARE(note.content(), QStringLiteral("text"));
    QVERIFY(note.tags().isEmpty());
}

void StoreTest::insert_givesIdentifierAndIsFetchedBeforeAnySave()
{
    lqtest::TemporaryStore store;
    ModelContext *context = store.context();
    QSignalSpy inserted(context, &ModelContext::noteInserted);
    Note *note = insertNote(context, QDate(2026, 12, 6), QStringLiteral("hello"));
    QVERIFY(note->id() > 0);
    QCOMPARE(inserted.count(), 1);
    QCOMPARE(context->fetchNote(QDate(2026, 12, 6)).record, note);
    QVERIFY(context->allNotes().contains(note));
    Tag *tag = insertTag(context, QStringLiteral("work"));
    QVERIFY(tag->id() > 0);
    QCOMPARE(context->fetchTag(QStringLiteral("work")).record, tag);
    QCOMPARE(context->fetchTag(QStringLiteral("Work")).record, nullptr);
    QVERIFY(context->allTags().contains(tag));
    QVERIFY(context->hasChanges());
}

void StoreTest::fetch_givesTheSameHandleForTheSameRow()
{
    lqtest::TemporaryStore store;
    insertNote(store.context(), QDate(2026, 1, 1), QString());
    insertNote(store.context(), QDate(2026, 1, 2), QString());
    QVERIFY2(store.context()->save(), qPrintable(store.context()->lastSaveError()));
    store.reopen();
    ModelContext *context = store.context();
    Note *first = context->fetchNote(QDate(2026, 1, 1)).record;
    QVERIFY(first);
    first->setContent(QStringLiteral("changed"));
    QCOMPARE(context->fetchNote(QDate(2026, 1, 1)).record, first);
    QVERIFY(context->allNotes().contains(first));
    // Two notes with equal (empty) texts are still two records.
    Note *second = context->fetchNote(QDate(2026, 1, 2)).record;
    QVERIFY(second && second != first);
    QVERIFY(second->id() != first->id());
}

void StoreTest::links_areKeptOnBothSides()
{
    lqtest::TemporaryStore store;
    ModelContext *context = store.context();
    Note *note = insertNote(context, QDate(2026, 5, 1));
    Tag *tag = insertTag(context, QStringLiteral("a"));
    QSignalSpy tagNotesChanged(tag, &Tag::notesChanged);

    note->addTag(tag);
    QCOMPARE(tag->notes(), QList<Note *>{note});
    QCOMPARE(tagNotesChanged.count(), 1);
    note->addTag(tag);
    QCOMPARE(note->tags().size(), 1);

    note->removeTag(tag);
    QVERIFY(tag->notes().isEmpty());

    tag->setNotes({note});
    QCOMPARE(note->tags(), QList<Tag *>{tag});
    QVERIFY2(context->save(), qPrintable(context->lastSaveError()));
    store.reopen();
    Note *reloaded = store.context()->fetchNote(QDate(2026, 5, 1)).record;
    QCOMPARE(names(reloaded->tags()), QStringList{QStringLiteral("a")});
    QCOMPARE(reloaded->tags().first()->notes(), QList<Note *>{reloaded});
}

void StoreTest::links_unsavedChangesShowInListsLoadedLater()
{
    lqtest::TemporaryStore store;
    Note *note = insertNote(store.context(), QDate(2026, 5, 1));
    note->setTags({insertTag(store.context(), QStringLiteral("a")),
                   insertTag(store.context(), QStringLiteral("b"))});
    QVERIFY2(store.context()->save(), qPrintable(store.context()->lastSaveError()));
    store.reopen();
    ModelContext *context = store.context();
    // The note's list is loaded; the tags' lists are not yet.
    Note *reloaded = context->fetchNote(QDate(2026, 5, 1)).record;
    Tag *a = context->fetchTag(QStringLiteral("a")).record;
    Tag *b = context->fetchTag(QStringLiteral("b")).record;
    reloaded->setTags({b, insertTag(context, QStringLiteral("c"))});
    QVERIFY(a->notes().isEmpty());
    QCOMPARE(b->notes(), QList<Note *>{reloaded});
    QCOMPARE(names(reloaded->tags()), (QStringList{QStringLiteral("b"), QStringLiteral("c")}));
}

void StoreTest::uniqueValues_secondRecordIsRefused()
{
    lqtest::TemporaryStore store;
    ModelContext *context = store.context();
    insertNote(context, QDate(2026, 2, 2), QStringLiteral("first"));
    insertTag(context, QStringLiteral("x"));
    QVERIFY2(context->save(), qPrintable(context->lastSaveError()));
    store.reopen();
    context = store.context();

    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(QStringLiteral("already in the journal")));
    Note second(at(2026, 2, 2, 18), QStringLiteral("second"));
    QVERIFY(!context->insert(&second));
    QCOMPARE(second.id(), 0);
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(QStringLiteral("already in the journal")));
    Tag duplicate(QStringLiteral("x"), QDateTime::currentDateTime());
    QVERIFY(!context->insert(&duplicate));
    QCOMPARE(duplicate.id(), 0);
    QVERIFY2(context->save(), qPrintable(context->lastSaveError()));
    QCOMPARE(context->fetchNote(QDate(2026, 2, 2)).record->content(), QStringLiteral("first"));
}

void StoreTest::deleteTag_unlinksEveryNoteAndKeepsTheirText()
{
    lqtest::TemporaryStore store;
    ModelContext *context = store.context();
    Note *first = insertNote(context, QDate(2026, 6, 1), QStringLiteral("#x one"));
    Note *second = insertNote(context, QDate(2026, 6, 2), QStringLiteral("#x #y two"));
    Tag *x = insertTag(context, QStringLiteral("x"));
    Tag *y = insertTag(context, QStringLiteral("y"));
    first->addTag(x);
    second->setTags({x, y});
    QVERIFY2(context->save(), qPrintable(context->lastSaveError()));

    QSignalSpy aboutToBeDeleted(context, &ModelContext::tagAboutToBeDeleted);
    QSignalSpy secondTagsChanged(second, &Note::tagsChanged);
    QPointer<Tag> handle(x);
    context->deleteTag(x);
    QCOMPARE(aboutToBeDeleted.count(), 1);
    QVERIFY(first->tags().isEmpty());
    QCOMPARE(second->tags(), QList<Tag *>{y});
    QCOMPARE(secondTagsChanged.count(), 1);
    QVERIFY(!context->allTags().contains(x));
    QCOMPARE(context->fetchTag(QStringLiteral("x")).record, nullptr);
    QTRY_VERIFY(handle.isNull());

    QVERIFY2(context->save(), qPrintable(context->lastSaveError()));
    store.reopen();
    context = store.context();
    QCOMPARE(context->fetchNote(QDate(2026, 6, 1)).record->content(), QStringLiteral("#x one"));
    QCOMPARE(context->fetchNote(QDate(2026, 6, 1)).record->tags().size(), 0);
    QCOMPARE(names(context->fetchNote(QDate(2026, 6, 2)).record->tags()),
             QStringList{QStringLiteral("y")});
    QCOMPARE(lqtest::queryFile(store.path(), QStringLiteral("SELECT count(*) FROM note_tags"))
                 .value(0)
                 .toInt(),
             1);
}

void StoreTest::deleteTag_thenSameNameAgain_savesCleanly()
{
    lqtest::TemporaryStore store;
    ModelContext *context = store.context();
    Note *note = insertNote(context, QDate(2026, 6, 1), QStringLiteral("#x"));
    Tag *old = insertTag(context, QStringLiteral("x"));
    note->addTag(old);
    QVERIFY2(context->save(), qPrintable(context->lastSaveError()));
    const PersistentIdentifier oldId = old->id();
    context->deleteTag(old);
    Tag *again = insertTag(context, QStringLiteral("x"));
    note->addTag(again);
    QVERIFY2(context->save(), qPrintable(context->lastSaveError()));
    const PersistentIdentifier newId = again->id();
    QVERIFY(newId > oldId);
    store.reopen();
    QCOMPARE(store.context()->fetchTag(QStringLiteral("x")).record->id(), newId);
}

void StoreTest::savedData_survivesReopening()
{
    lqtest::TemporaryStore store;
    ModelContext *context = store.context();
    const QDateTime created = QDateTime(QDate(2026, 12, 6), QTime(9, 15, 30, 250));
    Note *note = insertNote(context, QDate(2026, 12, 6), QStringLiteral("Dear diary 😀\r\n#today"));
    auto *tag = new Tag(QStringLiteral("today"), created);
    context->insert(tag);
    note->addTag(tag);
    QVERIFY2(context->save(), qPrintable(context->lastSaveError()));
    QVERIFY(!context->hasChanges());
    store.reopen();

    context = store.context();
    Note *reloaded = context->fetchNote(QDate(2026, 12, 6)).record;
    QVERIFY(reloaded);
    QCOMPARE(reloaded->content(), QStringLiteral("Dear diary 😀\r\n#today"));
    QCOMPARE(reloaded->date(), QDate(2026, 12, 6).startOfDay());
    QCOMPARE(reloaded->tags().size(), 1);
    QCOMPARE(reloaded->tags().first()->createdAt(), created);
    QCOMPARE(
        lqtest::queryFile(store.path(), QStringLiteral("PRAGMA journal_mode")).value(0).toString(),
        QStringLiteral("wal"));
    QCOMPARE(
        lqtest::queryFile(store.path(), QStringLiteral("PRAGMA user_version")).value(0).toInt(),
        ModelContainer::schemaVersion);
}

// A session killed before its first checkpoint leaves the tables only in the write-ahead
// log, while the file's own header still looks like an empty database.
void StoreTest::journalLeftByACrash_opensWithWhatItsLogHolds()
{
    lqtest::TemporaryStore store;
    insertNote(store.context(), QDate(2026, 4, 4), QStringLiteral("in the log"));
    QVERIFY(store.context()->save());
    QTemporaryDir crashed;
    const QString copy = crashed.filePath(QStringLiteral("journal.sqlite"));
    for (const QString &suffix : {QString(), QStringLiteral("-wal")})
        QVERIFY(QFile::copy(store.path() + suffix, copy + suffix));
    QFile file(copy);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.read(44).right(4), QByteArray(4, '\0')); // no schema in the file itself yet

    QString error;
    auto reopened = ModelContainer::open(copy, &error);
    QVERIFY2(reopened, qPrintable(error));
    Note *note = reopened->mainContext()->fetchNote(QDate(2026, 4, 4)).record;
    QVERIFY(note);
    QCOMPARE(note->content(), QStringLiteral("in the log"));
}

void StoreTest::journalOpenElsewhere_isRefusedUntilClosed()
{
    lqtest::TemporaryStore store;
    QString error;
    QVERIFY(!ModelContainer::open(store.path(), &error));
    QVERIFY2(error.contains(QStringLiteral("already open")), qPrintable(error));
    store.close();
    QVERIFY2(ModelContainer::open(store.path(), &error), qPrintable(error));
}

void StoreTest::autosave_writesPendingChangesWithoutAnExplicitSave()
{
    lqtest::TemporaryStore store;
    ModelContext *context = store.context();
    context->setAutosaveDelay(50);
    QSignalSpy saved(context, &ModelContext::saveFinished);
    insertNote(context, QDate(2026, 4, 4), QStringLiteral("kept"));
    QTRY_COMPARE(saved.count(), 1);
    QCOMPARE(saved.first().first().toBool(), true);
    QCOMPARE(lqtest::queryFile(store.path(), QStringLiteral("SELECT content FROM notes"))
                 .value(0)
                 .toString(),
             QStringLiteral("kept"));
}

void StoreTest::failedSave_keepsChangesPendingAndSucceedsLater()
{
    lqtest::TemporaryStore store;
    ModelContext *context = store.context();
    context->setRetryDelay(60 * 60 * 1000);
    Note *note = insertNote(context, QDate(2026, 4, 4), QStringLiteral("first"));
    QVERIFY2(context->save(), qPrintable(context->lastSaveError()));
    note->setContent(QStringLiteral("second"));

    // Another program holds the write lock for longer than the store waits.
    {
        lqtest::WriteLock lock(store.path());
        QVERIFY(!context->save());
        QVERIFY(!context->lastSaveError().isEmpty());
        QVERIFY(context->hasChanges());
    }

    QVERIFY2(context->save(), qPrintable(context->lastSaveError()));
    QVERIFY(context->lastSaveError().isEmpty());
    QCOMPARE(lqtest::queryFile(store.path(), QStringLiteral("SELECT content FROM notes"))
                 .value(0)
                 .toString(),
             QStringLiteral("second"));
}

void StoreTest::noteDay_staysOnItsCalendarDayAcrossTimeZones_data()
{
    QTest::addColumn<QByteArray>("zone");
    QTest::newRow("New York") << QByteArrayLiteral("America/New_York");
    QTest::newRow("Tokyo") << QByteArrayLiteral("Asia/Tokyo");
}

void StoreTest::noteDay_staysOnItsCalendarDayAcrossTimeZones()
{
    QFETCH(QByteArray, zone);
    lqtest::TemporaryStore store;
    insertNote(store.context(), at(2026, 12, 6, 0, 30).date(), QStringLiteral("written in Berlin"));
    QVERIFY2(store.context()->save(), qPrintable(store.context()->lastSaveError()));
    store.close();

    lqtest::setTimeZone(zone);
    store.reopen();
    ModelContext *context = store.context();
    // Any instant of that calendar day in the new zone finds the note.
    for (const QTime time : {QTime(0, 0), QTime(12, 0), QTime(23, 59, 59)}) {
        const QDate day = QDateTime(QDate(2026, 12, 6), time).date();
        Note *note = context->fetchNote(day).record;
        QVERIFY(note);
        QCOMPARE(note->content(), QStringLiteral("written in Berlin"));
        QCOMPARE(note->date(), QDateTime(QDate(2026, 12, 6), QTime(0, 0)));
    }
    QCOMPARE(context->noteDaysBetween(QDate(2026, 12, 1), QDate(2026, 12, 31)),
             QSet<QDate>{QDate(2026, 12, 6)});
}

void StoreTest::liveQueries_listNotesNewestFirstAndTagsInStoreOrder()
{
    lqtest::TemporaryStore store;
    ModelContext *context = store.context();
    insertNote(context, QDate(2026, 1, 2));
    insertNote(context, QDate(2026, 1, 9));
    insertTag(context, QStringLiteral("zeta"));
    insertTag(context, QStringLiteral("alpha"));
    QVERIFY2(context->save(), qPrintable(context->lastSaveError()));
    store.reopen();
    context = store.context();
    QSignalSpy tagInserted(context, &ModelContext::tagInserted);
    insertNote(context, QDate(2026, 1, 5));
    insertTag(context, QStringLiteral("mid"));
    QCOMPARE(tagInserted.count(), 1);

    QList<QDate> days;
    for (const Note *note : context->allNotes())
        days.append(note->day());
    QCOMPARE(days, (QList<QDate>{QDate(2026, 1, 9), QDate(2026, 1, 5), QDate(2026, 1, 2)}));
    QCOMPARE(names(context->allTags()),
             (QStringList{QStringLiteral("zeta"), QStringLiteral("alpha"), QStringLiteral("mid")}));
}

void StoreTest::noteDaysBetween_coversSavedAndPendingNotes()
{
    lqtest::TemporaryStore store;
    ModelContext *context = store.context();
    insertNote(context, QDate(2026, 2, 28));
    insertNote(context, QDate(2026, 3, 31));
    QVERIFY2(context->save(), qPrintable(context->lastSaveError()));
    insertNote(context, QDate(2026, 3, 1));
    insertNote(context, QDate(2026, 4, 1));
    QCOMPARE(context->noteDaysBetween(QDate(2026, 3, 1), QDate(2026, 3, 31)),
             (QSet<QDate>{QDate(2026, 3, 1), QDate(2026, 3, 31)}));
}

void StoreTest::latestNoteDay_followsSavedAndPendingLinks()
{
    lqtest::TemporaryStore store;
    ModelContext *context = store.context();
    Tag *a = insertTag(context, QStringLiteral("a"));
    insertTag(context, QStringLiteral("b"));
    insertNote(context, QDate(2026, 1, 3))->addTag(a);
    insertNote(context, QDate(2026, 1, 9))->addTag(a);
    QVERIFY(context->save());
    store.reopen();
    context = store.context();
    a = context->fetchTag(QStringLiteral("a")).record;
    Tag *b = context->fetchTag(QStringLiteral("b")).record;
    QCOMPARE(a->latestNoteDay(), QDate(2026, 1, 9));
    QCOMPARE(b->latestNoteDay(), QDate());

    Note *later = insertNote(context, QDate(2026, 2, 1));
    later->addTag(a);
    later->addTag(b);
    QCOMPARE(a->latestNoteDay(), QDate(2026, 2, 1));
    QCOMPARE(b->latestNoteDay(), QDate(2026, 2, 1));
    later->removeTag(a);
    QCOMPARE(a->latestNoteDay(), QDate(2026, 1, 9));
    context->fetchNote(QDate(2026, 1, 9)).record->removeTag(a);
    QCOMPARE(a->latestNoteDay(), QDate(2026, 1, 3));
}

QTEST_GUILESS_MAIN(StoreTest)
#include "tst_store.moc"
