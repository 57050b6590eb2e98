// The journal and its file: notes, tags, failed writes, refused files, search, upgrade,
// export, import and the daily backups; and the models behind the tag list and a tag's notes.

#include "TestEnvironment.h"

#include "core/DailyBackup.h"
#include "core/JournalHeader.h"
#include "core/TagFilterModel.h"
#include "core/TagListModel.h"
#include "core/TagNotesModel.h"
#include "core/TagSync.h"

#include <QAbstractItemModelTester>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>
#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

const QDate day1(2026, 3, 1);
const QDate day2(2026, 3, 2);

QString key(QDate day)
{
    return day.toString(Qt::ISODate);
}

const Note *noteOn(Journal *journal, QDate day)
{
    const auto note = journal->noteForDay(day);
    return note ? *note : nullptr;
}

const Tag *tagNamed(Journal *journal, const QString &name)
{
    const QList<const Tag *> tags = journal->tags().value();
    const auto found = std::ranges::find(tags, name, &Tag::name);
    return found == tags.end() ? nullptr : *found;
}

// What a search shows: each day, newest first, with its matches in brackets.
QStringList searched(Journal *journal, const QString &typed)
{
    const auto hits = journal->search(typed, 0, 50);
    if (!hits)
        return {hits.error()};
    QStringList shown;
    for (const SearchHit &hit : hits->hits) {
        QString snippet = hit.snippet;
        for (auto it = hit.matches.crbegin(); it != hit.matches.crend(); ++it)
            snippet.insert(it->start + it->length, u']').insert(it->start, u'[');
        shown.append(key(hit.note->day) + u' ' + snippet);
    }
    return shown;
}

// FTS5's check of the index against the notes (a failure fails the test), then SQLite's.
QString problems(const QString &path)
{
    lqtest::queryFile(path, u"INSERT INTO notes_search (notes_search, rank)"
                            u" VALUES ('integrity-check', 1)"_s);
    return lqtest::column(path, u"PRAGMA integrity_check"_s).value(0);
}

// What the rows show, from the top.
QStringList rowsOf(const QAbstractItemModel &model)
{
    QStringList result;
    for (int row = 0; row < model.rowCount(); ++row)
        result.append(model.index(row, 0).data().toString());
    return result;
}

// Every note's day and exact bytes, and every day's tags.
QStringList contents(const QString &path)
{
    return lqtest::column(path, u"SELECT day || '=' || hex(content) FROM notes ORDER BY day"_s) +
           lqtest::column(
               path, u"SELECT n.day || ' #' || t.name FROM note_tags l JOIN notes n ON"
                     u" n.id = l.note_id JOIN tags t ON t.id = l.tag_id ORDER BY n.day, t.name"_s);
}

bool copyOldJournal(const QString &path)
{
    return QFile::copy(QStringLiteral(LQ_TEST_DATA "/journal-1.0.0.sqlite"), path) &&
           QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
}

} // namespace

class JournalTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { lqtest::pinEnvironment(); }
    // A statement of the test's own that SQLite refuses fails the test.
    void init()
    {
        QTest::failOnWarning(QRegularExpression(u"^[A-Z]+ .*: "_s));
        m_store = std::make_unique<lqtest::TemporaryJournal>();
    }
    void cleanup()
    {
        m_store.reset();
        lqtest::setTimeZone("Europe/Berlin");
    }

    // A new journal is the user's alone and held by one LumenQuill by any path; its note is made
    // once, written at once, read back from the log after a crash and on its day in every zone.
    void noteForDay_givesOneNotePerDay_writtenAtOnce_onItsDayEverywhere()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"new/journal.sqlite"_s);
        auto journal = Journal::open(path).value();
        const QDate day(2026, 3, 29); // the clocks change in Berlin
        const Note *note = noteOn(journal.get(), day);
        QCOMPARE(noteOn(journal.get(), day), note);
        QCOMPARE(QFileInfo(dir.filePath(u"new"_s)).permissions() & 0x0777,
                 QFile::Permissions(0x0700));
        for (const QString &file : QStringList{path, path + u"-wal"_s})
            QCOMPARE(QFileInfo(file).permissions() & 0x0777, QFile::Permissions(0x0600));
        QCOMPARE(lqtest::column(path, u"SELECT day || '=' || content FROM notes"_s),
                 QStringList{key(day) + u'='});

        const QString text = u"Dear diary 😀\r\nline"_s;
        journal->setText(note, text);
        // Where a search matches it counts CR LF and the emoji as two units each, as QString does.
        QCOMPARE(findMatches(text, u"LIN"_s), (QList<TextRange>{{15, 4}}));
        // Killed before its first checkpoint, the journal's tables are only in its log.
        QTemporaryDir crashed;
        for (const QString &suffix : {QString(), u"-wal"_s})
            QVERIFY(QFile::copy(path + suffix, crashed.filePath(u"journal.sqlite"_s) + suffix));
        auto copy = Journal::open(crashed.filePath(u"journal.sqlite"_s));
        QVERIFY2(copy, qPrintable(copy.error()));
        QCOMPARE((*copy)->text(noteOn(copy->get(), day)).value(), text);
        // A symbolic link whose name looks like a template, and a hard link.
        const QString symlink = crashed.filePath(u"100%1 journal.sqlite"_s);
        const QString hardlink = crashed.filePath(u"hard.sqlite"_s);
        QVERIFY(QFile::link(path, symlink));
        QCOMPARE(::link(QFile::encodeName(path), QFile::encodeName(hardlink)), 0);
        for (const QString &other : {path, symlink, hardlink}) {
            const QString error = Journal::open(other).error();
            QVERIFY2(error.contains(u"already open in another LumenQuill (process %1)"_s.arg(
                         QCoreApplication::applicationPid())),
                     qPrintable(error));
        }

        for (const QByteArray zone : {"America/New_York", "Asia/Tokyo"}) {
            journal.reset();
            lqtest::setTimeZone(zone);
            journal = Journal::open(path).value();
            QCOMPARE(journal->text(noteOn(journal.get(), day)).value(), text);
            QCOMPARE(journal->noteDaysBetween(day, day.addDays(1)).value(), QSet<QDate>{day});
            QCOMPARE(lqtest::column(path, u"SELECT day FROM notes"_s), QStringList{key(day)});
        }
    }

    void setText_linksTheTagsOfTheText_data()
    {
        QTest::addColumn<QStringList>("texts"); // set one after the other; "-x" removes tag x
        QTest::addColumn<QStringList>("linked");
        QTest::addColumn<QStringList>("tags"); // every tag of the journal, oldest first

        QTest::newRow("Hashtags become tags in the order written, #Work and #work two of them")
            << QStringList{"#work and #home, #Work, #work again"}
            << QStringList{"work", "home", "Work"} << QStringList{"work", "home", "Work"};
        QTest::newRow("A hashtag gone from the text unlinks its tag, which stays")
            << QStringList{"#a #b", "#b"} << QStringList{"b"} << QStringList{"a", "b"};
        QTest::newRow("A tag comes back to its note without a second tag")
            << QStringList{"#a", "", "#a"} << QStringList{"a"} << QStringList{"a"};
        QTest::newRow("An edit of the same length is written")
            << QStringList{"#abc", "#abd"} << QStringList{"abd"} << QStringList{"abc", "abd"};
        QTest::newRow("A removed tag leaves its notes, their text and their other tags")
            << QStringList{"#x #y", "-x"} << QStringList{"y"} << QStringList{"y"};
        QTest::newRow("Written again, a removed tag's hashtag makes a new tag")
            << QStringList{"#x #y", "-x", "#x #y again"} << QStringList{"y", "x"}
            << QStringList{"y", "x"};
    }

    void setText_linksTheTagsOfTheText()
    {
        QFETCH(QStringList, texts);
        QFETCH(QStringList, linked);
        QFETCH(QStringList, tags);
        QString written;
        for (const QString &text : texts) {
            if (text.startsWith(u'-'))
                m_store->journal()->removeTag(tagNamed(m_store->journal(), text.mid(1)));
            else
                m_store->write(day1, written = text);
        }
        QCOMPARE(lqtest::storedText(m_store->path(), key(day1)), written);
        QCOMPARE(lqtest::column(m_store->path(), u"SELECT t.name FROM note_tags l JOIN tags t"
                                                 u" ON t.id = l.tag_id ORDER BY l.rowid"_s),
                 linked);
        QCOMPARE(lqtest::column(m_store->path(), u"SELECT name FROM tags ORDER BY id"_s), tags);
        QStringList inMemory;
        for (const Tag *tag : m_store->journal()->tags().value())
            inMemory.append(tag->name);
        QCOMPARE(inMemory, tags);
    }

    void failedSave_keepsTheTextPending_untilItCanBeWritten_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("error"); // in the message, besides SQLite's own words
        QTest::newRow("Another program holds the write lock") << u"lock"_s << QString();
        QTest::newRow("The disk is full") << u"full"_s << QString();
        QTest::newRow("The journal is moved away and back") << u"moved"_s << u"deleted"_s;
        QTest::newRow("The journal is replaced by another file") << u"replaced"_s << u"replaced"_s;
    }

    void failedSave_keepsTheTextPending_untilItCanBeWritten()
    {
        QFETCH(QString, fault);
        QFETCH(QString, error);
        Journal *journal = m_store->journal();
        journal->setRetryInterval(100);
        const Note *note = noteOn(journal, day1);
        const QString aside = m_store->path() + u".aside"_s;
        std::unique_ptr<lqtest::WriteLock> lock;
        struct rlimit limit = {};
        QCOMPARE(::getrlimit(RLIMIT_FSIZE, &limit), 0);
        struct rlimit full = limit;
        full.rlim_cur =
            QFileInfo(m_store->path()).size() + QFileInfo(m_store->path() + u"-wal"_s).size();
        std::signal(SIGXFSZ, SIG_IGN);
        const auto setFault = [&](bool on) {
            if (fault == u"lock")
                lock = on ? std::make_unique<lqtest::WriteLock>(m_store->path()) : nullptr;
            else if (fault == u"full")
                return ::setrlimit(RLIMIT_FSIZE, on ? &full : &limit) == 0;
            else if (on)
                return QFile::rename(m_store->path(), aside) &&
                       (fault != u"replaced" || QFile::copy(aside, m_store->path()));
            else if (fault == u"moved")
                return QFile::rename(aside, m_store->path());
            return true;
        };
        const QString text = u"kept #safe "_s + QString(200000, u'x');
        QVERIFY(setFault(true));
        journal->setText(note, text);
        const QString failure = journal->saveError();
        const QList<const Note *> unsaved = journal->unsavedNotes();
        QVERIFY(setFault(false));
        QVERIFY2(!failure.isEmpty() && failure.contains(error), qPrintable(failure));
        QCOMPARE(unsaved, QList<const Note *>{note});
        QCOMPARE(journal->text(note).value(), text);
        if (fault == u"replaced")
            return;
        QTRY_VERIFY(journal->saveError().isEmpty());
        QCOMPARE(lqtest::storedText(m_store->path(), key(day1)), text);
        QVERIFY(tagNamed(journal, u"safe"_s));
        QCOMPARE(problems(m_store->path()), u"ok"_s);
    }

    void failedRead_isReportedRatherThanShownAsEmpty()
    {
        m_store->write(day1, u"#kept"_s);
        m_store->reopen();
        Journal *journal = m_store->journal();
        const Tag *tag = tagNamed(journal, u"kept"_s);
        const Note *unread = journal->notesOfTag(tag).value().value(0);
        QVERIFY(unread && !unread->text);

        lqtest::queryFile(m_store->path(), u"ALTER TABLE notes RENAME TO gone"_s);
        QVERIFY(!journal->noteForDay(day2) && !journal->text(unread) && !journal->notesOfTag(tag) &&
                !journal->noteDaysBetween(day1, day2));
        // Nothing was written over the note on the way.
        lqtest::queryFile(m_store->path(), u"ALTER TABLE gone RENAME TO notes"_s);
        QCOMPARE(lqtest::storedText(m_store->path(), key(day1)), u"#kept"_s);
        QCOMPARE(journal->text(unread).value(), u"#kept"_s);
    }

    void unusableFile_isRefusedAndLeftUntouched_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("a truncated journal") << u"truncated"_s << u"truncated"_s;
        QTest::newRow("a journal of a newer version") << u"newer"_s << u"newer version"_s;
        QTest::newRow("another program's SQLite file") << u"foreign"_s << u"not a journal"_s;
        QTest::newRow("a folder in its place") << u"folder"_s << u"folder"_s;
        // It fails after dropping an index trigger of a journal set back by hand.
        QTest::newRow("a 1.0.0 journal whose upgrade fails halfway")
            << u"upgrade"_s << u"could not be upgraded"_s;
    }

    void unusableFile_isRefusedAndLeftUntouched()
    {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        // A path is quoted as it is, never read as a template: the folder's name looks like one.
        const QString path = dir.filePath(u"100%1 %2/journal.sqlite"_s);
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        QFile file(path);
        if (kind == u"truncated" || kind == u"newer") {
            auto journal = Journal::open(path).value();
            for (int i = 0; i < 300; ++i)
                journal->setText(noteOn(journal.get(), day1.addDays(i)), QString(1000, u'x'));
        } else if (kind == u"upgrade") {
            QVERIFY(copyOldJournal(path));
        }
        if (kind == u"truncated")
            QVERIFY(file.resize(file.size() / 2));
        else if (kind == u"newer")
            lqtest::queryFile(
                path, u"PRAGMA user_version = %1"_s.arg(JournalDatabase::schemaVersion + 1));
        else if (kind == u"foreign")
            lqtest::queryFile(path, u"CREATE TABLE bookmarks (url TEXT)"_s);
        else if (kind == u"folder")
            QVERIFY(QDir().mkpath(path));
        else if (kind == u"upgrade")
            for (const QString &sql : {u"CREATE TRIGGER notes_search_update AFTER UPDATE ON tags"
                                       u" BEGIN SELECT 1; END"_s,
                                       u"CREATE TABLE notes_search_data (x)"_s})
                lqtest::queryFile(path, sql);
        const QByteArray before = lqtest::fileBytes(path);

        const auto opened = Journal::open(path);
        QVERIFY2(opened.error().startsWith(path + u' ') && opened.error().contains(reason),
                 qPrintable(opened.error()));
        QCOMPARE(lqtest::fileBytes(path), before);
        QVERIFY(!QFile::exists(path + u"-wal"_s));
    }

    // Journals changed by hand as the program never would open, save, and keep what they hold.
    void handEditedJournal_opensAndKeepsWhatItDoesNotKnow_data()
    {
        QTest::addColumn<QStringList>("edits");
        QTest::addColumn<QString>("untouched"); // a query whose answer must not change
        QTest::newRow("Days that are no day, a tag with no name, one differing only in case,"
                      " links to a missing note and a missing tag")
            << QStringList{"INSERT INTO notes (day, content) VALUES ('2026-02-28T10:00', 'odd'),"
                           " ('2026-03-02 10:00', 'odd'), ('yesterday', 'odd'),"
                           " ('2026-13-45', 'odd')",
                           "INSERT INTO note_tags SELECT id, 1 FROM notes WHERE content = 'odd'",
                           "INSERT INTO tags (name, created_at) VALUES ('', 'x'), ('Old', 'x')",
                           "INSERT INTO note_tags VALUES (999, 1), (1, 999)"}
            << u"SELECT day || content FROM notes WHERE content = 'odd' UNION ALL SELECT name"
               " FROM tags WHERE name IN ('', 'Old', 'old') UNION ALL SELECT count(*)"
               " FROM note_tags WHERE note_id = 999 OR tag_id = 999"_s;
        QTest::newRow("Text that is not UTF-8")
            << QStringList{"UPDATE notes SET content = CAST(X'C328A0FF' AS TEXT) WHERE id = 1"}
            << u"SELECT hex(content) FROM notes WHERE id = 1"_s;
        QTest::newRow("NULL text in a table made without NOT NULL")
            << QStringList{"CREATE TABLE kept AS SELECT * FROM notes", "DROP TABLE notes",
                           "CREATE TABLE notes (id INTEGER PRIMARY KEY AUTOINCREMENT,"
                           " day TEXT UNIQUE, content TEXT)",
                           "INSERT INTO notes SELECT id, day, NULL FROM kept", "DROP TABLE kept"}
            << u"SELECT typeof(content) FROM notes WHERE id = 1"_s;
        QTest::newRow("An unknown table and column, a missing index, an older version")
            << QStringList{"CREATE TABLE moods (day TEXT, mood TEXT)",
                           "INSERT INTO moods VALUES ('2026-03-01', 'calm')",
                           "ALTER TABLE notes ADD COLUMN weather TEXT",
                           "UPDATE notes SET weather = 'rain'",
                           "DROP INDEX note_tags_by_tag",
                           "PRAGMA user_version = 9000"}
            << u"SELECT (SELECT group_concat(mood) FROM moods) || (SELECT weather FROM notes"
               " WHERE id = 1)"_s;
    }

    void handEditedJournal_opensAndKeepsWhatItDoesNotKnow()
    {
        QFETCH(QStringList, edits);
        QFETCH(QString, untouched);
        m_store->write(day1, u"#old first"_s);
        m_store->close();
        for (const QString &edit : edits)
            lqtest::queryFile(m_store->path(), edit);
        const QVariantList before = lqtest::queryFile(m_store->path(), untouched);

        m_store->reopen();
        Journal *journal = m_store->journal();
        const Tag *old = tagNamed(journal, u"old"_s);
        QCOMPARE(journal->notesOfTag(old).value(), QList<const Note *>{noteOn(journal, day1)});
        QCOMPARE(journal->latestNoteDay(old).value(), day1);
        QCOMPARE(journal->noteDaysBetween(day1.addDays(-1), day1).value(), QSet<QDate>{day1});
        QVERIFY(journal->text(noteOn(journal, day1)));
        journal->setText(noteOn(journal, day2), u"written after #new"_s);
        QVERIFY2(journal->saveError().isEmpty(), qPrintable(journal->saveError()));
        m_store->close();
        QCOMPARE(lqtest::queryFile(m_store->path(), untouched), before);
        QCOMPARE(lqtest::queryFile(m_store->path(), u"PRAGMA integrity_check"_s).value(0), u"ok"_s);
        QCOMPARE(lqtest::storedText(m_store->path(), key(day2)), u"written after #new"_s);
    }

    // Each row writes its texts through the journal, one save after another, and searches.
    void search_findsWhatWasWritten_asTheUserTypesIt_data()
    {
        QTest::addColumn<QStringList>("texts"); // "day=text", written in this order
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("shown");

        const QStringList cities = {"2026-03-01=Zug nach Köln", "2026-03-03=Ko\u0308ln again",
                                    "2026-03-02=Berlin"};
        QTest::newRow("Case and accents never matter, composed or not")
            << cities << u"KOLN"_s
            << QStringList{"2026-03-03 [Ko\u0308ln] again", "2026-03-01 Zug nach [Köln]"};
        QTest::newRow("Every word must be there, as the beginning of a word typed so far")
            << QStringList{"2026-03-01=walk by the river", "2026-03-02=river only",
                           "2026-03-03=arrive walking"}
            << u"riv walk"_s << QStringList{"2026-03-01 [walk] by the [river]"};
        QTest::newRow("A phrase in quotes is found exactly")
            << QStringList{"2026-03-01=a quiet evening", "2026-03-02=evening, quiet"}
            << u"\"quiet evening\""_s << QStringList{"2026-03-01 a [quiet evening]"};
        QTest::newRow("A hashtag finds the tag only")
            << QStringList{"2026-03-01=#work today", "2026-03-02=work without a tag"} << u"#work"_s
            << QStringList{"2026-03-01 [#work] today"};
        QTest::newRow("A word finds the tag too")
            << QStringList{"2026-03-01=#work today", "2026-03-02=work without a tag"} << u"work"_s
            << QStringList{"2026-03-02 [work] without a tag", "2026-03-01 [#work] today"};
        QTest::newRow("Operators, stray quotes and dashes are only text")
            << QStringList{"2026-03-01=this OR that", "2026-03-02=NEAR the end"} << u"OR - \"th"_s
            << QStringList{"2026-03-01 [this] [OR] [that]"};
        QTest::newRow("Text written over is no longer found, its new text is")
            << QStringList{"2026-03-01=old words", "2026-03-01=new words"} << u"old"_s
            << QStringList{};
        QTest::newRow("Nothing typed finds nothing") << cities << u" \" "_s << QStringList{};
    }

    void search_findsWhatWasWritten_asTheUserTypesIt()
    {
        QFETCH(QStringList, texts);
        QFETCH(QString, typed);
        QFETCH(QStringList, shown);
        for (const QString &entry : texts) {
            const QDate day = QDate::fromString(entry.section(u'=', 0, 0), Qt::ISODate);
            m_store->write(day, entry.section(u'=', 1));
        }
        QCOMPARE(searched(m_store->journal(), typed), shown);
        // The index kept in step with the notes at every save, and survives reopening.
        QCOMPARE(problems(m_store->path()), u"ok"_s);
        m_store->reopen();
        QCOMPARE(searched(m_store->journal(), typed), shown);
    }

    void oldJournal_isUpgradedOnFirstOpen_andRefusedByTheOldVersion()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"journal.sqlite"_s);
        QVERIFY(copyOldJournal(path));
        const auto notes = [&] {
            return lqtest::column(path, u"SELECT day || '=' || hex(content) FROM notes"_s) +
                   lqtest::column(path, u"SELECT n.day || ' #' || t.name FROM note_tags l JOIN"
                                        u" notes n ON n.id = l.note_id JOIN tags t"
                                        u" ON t.id = l.tag_id ORDER BY l.rowid"_s);
        };
        const QStringList before = notes();
        {
            auto journal = Journal::open(path);
            QVERIFY2(journal, qPrintable(journal.error()));
            QCOMPARE(searched(journal->get(), u"koln family"_s),
                     QStringList{u"2025-12-24 Christmas Eve in [Köln] with [#family]. Snow on "
                                 u"the Dom."_s});
        }
        QCOMPARE(notes(), before);
        QCOMPARE(problems(path), u"ok"_s);

        // 1.0.0 reads the header and refuses, as it refuses any newer journal.
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const auto header = parseJournalHeader(file.read(JournalHeader::size), file.size(),
                                               QFile::exists(path + u"-wal"_s), path);
        QCOMPARE(
            checkJournalVersion(header.value(), JournalDatabase::firstSchemaVersion, path).error(),
            path + u" was written by a newer version of LumenQuill (store version 1.1.0;"
                   u" this version reads 1.0.0 and older)"_s);
    }

    void tags_areOrderedAndSearched_data()
    {
        QTest::addColumn<TagOrder>("order");
        QTest::addColumn<QString>("search");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("A to Z ignores case and keeps equal names in the order made")
            << TagOrder::NameAscending << QString()
            << QStringList{"Alpha", "alpha", "beta", "gamma", "strasse", "zeta"};
        QTest::newRow("Z to A keeps equal names in the order made too")
            << TagOrder::NameDescending << QString()
            << QStringList{"zeta", "strasse", "gamma", "beta", "Alpha", "alpha"};
        QTest::newRow("Most Recent puts the tag of the latest note first")
            << TagOrder::MostRecent << QString()
            << QStringList{"alpha", "gamma", "beta", "Alpha", "zeta", "strasse"};
        QTest::newRow("The search folds case fully")
            << TagOrder::MostRecent << u"STRAß"_s << QStringList{"strasse"};
        QTest::newRow("An accented letter does not match a bare one")
            << TagOrder::NameAscending << u"bé"_s << QStringList{};
    }

    void tags_areOrderedAndSearched()
    {
        QFETCH(TagOrder, order);
        QFETCH(QString, search);
        QFETCH(QStringList, shown);
        writeTags();
        TagListModel tags(m_store->journal());
        TagFilterModel model(&tags);
        QAbstractItemModelTester tester(&model);
        model.setOrder(order);
        model.setSearchText(search);
        QCOMPARE(rowsOf(model), shown);
    }

    void tagsAndATagsNotes_followTheJournal()
    {
        writeTags();
        Journal *journal = m_store->journal();
        TagListModel tags(journal);
        TagFilterModel model(&tags);
        QAbstractItemModelTester tester(&model);
        model.setOrder(TagOrder::MostRecent);
        QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);

        m_store->write(QDate(2026, 2, 1), u"#zeta again"_s);
        m_store->write(QDate(2026, 1, 20), u"#new1 #new2"_s);
        QCOMPARE(inserted.count(), 1);
        QCOMPARE(rowsOf(model), (QStringList{"zeta", "new1", "new2", "alpha", "gamma", "beta",
                                             "Alpha", "strasse"}));
        // Losing its latest note sends a tag back to its earlier one.
        m_store->write(QDate(2026, 2, 1), QString());
        journal->removeTag(model.tagAt(model.index(0, 0)));
        QCOMPARE(rowsOf(model),
                 (QStringList{"new2", "alpha", "gamma", "beta", "Alpha", "zeta", "strasse"}));

        // A tag's notes are newest first.
        const QDate d1(2026, 5, 1), d2(2026, 5, 2), d3(2026, 5, 3);
        m_store->write(d3, u"#a third"_s);
        m_store->write(d1, u"#a first"_s);
        const Tag *a = journal->tags().value().last();
        TagNotesModel notes(journal, a);
        QAbstractItemModelTester notesTester(&notes);
        QCOMPARE(rowsOf(notes), (QStringList{"#a third", "#a first"}));

        m_store->write(d2, u"#a second"_s);
        QCOMPARE(rowsOf(notes), (QStringList{"#a third", "#a second", "#a first"}));
        QSignalSpy changed(&notes, &QAbstractItemModel::dataChanged);
        m_store->write(d1, u"#a first, longer\nand a second line"_s);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(rowsOf(notes), (QStringList{"#a third", "#a second", "#a first, longer"}));
        m_store->write(d3, u"untagged"_s);
        QCOMPARE(rowsOf(notes), (QStringList{"#a second", "#a first, longer"}));

        journal->removeTag(a);
        QCOMPARE(notes.tag(), nullptr);
        QCOMPARE(notes.rowCount(), 0);
    }

    void exportThenImport_restoresEveryNoteByteForByte_andTheFirstSaveOfTheDayBacksUp()
    {
        lqtest::TemporaryJournal &source = *m_store;
        source.close();
        const QStringList pieces = {u"plain words"_s,        u"Köln, 東京 and 😀 #trip"_s,
                                    u"CR LF\r\nlines\r\n"_s, QString(),
                                    u"#work-notes\n\n"_s,    u"e\u0301 \u00A0\u2028 #a_b"_s};
        {
            auto database = JournalDatabase::open(source.path()).value();
            Transaction transaction = database->transaction();
            for (int i = 0; i < 3650; ++i) {
                const QString text =
                    i % 7 == 3 ? QString() : pieces.at(i % pieces.size()) + u" %1"_s.arg(i);
                const RowId note = database->insertNote(day1.addDays(-i), text).value();
                QVERIFY(syncTags(*database, note, text, QDateTime::currentDateTimeUtc()));
            }
            QVERIFY(transaction.commit());
        }
        source.reopen();
        QTemporaryDir folder;
        QCOMPARE(exportJournal(source.path(), folder.path()).value(), 3650);
        QCOMPARE(lqtest::fileBytes(folder.filePath(u"2026/02/2026-02-28.md"_s)),
                 (pieces.at(1) + u" 1"_s).toUtf8());
        QCOMPARE(lqtest::fileBytes(folder.filePath(u"2026/02/2026-02-26.md"_s)), QByteArray());
        const QByteArray whole = lqtest::fileBytes(folder.filePath(u"journal.md"_s));
        QVERIFY(whole.startsWith("# 2016-03-04\n\n"));
        QVERIFY(whole.contains("\n# 2026-02-27\n\nCR LF\r\nlines\r\n 2\n\n# 2026-02-28\n\n"));
        QVERIFY(whole.endsWith("\n# 2026-03-01\n\nplain words 0\n\n"));
        QVERIFY(!whole.contains("# 2026-02-26"));

        lqtest::TemporaryJournal restored;
        const auto days = readExportedDays(folder.path());
        QVERIFY2(days, qPrintable(days.error()));
        const auto summary = restored.journal()->importDays(*days);
        QCOMPARE(summary->added, 3650);
        QCOMPARE(contents(restored.path()), contents(source.path()));
        // The first save of the day copied the journal, for the user alone; later ones leave it.
        const QString backups = DailyBackup::folder(restored.path());
        const QString copy = QDir(backups).filePath(DailyBackup::fileName(QDate::currentDate()));
        QTRY_VERIFY(QFile::exists(copy) && !restored.journal()->backup()->isRunning());
        restored.write(day1, u"second save"_s);
        QVERIFY(!restored.journal()->backup()->isRunning());
        QCOMPARE(QDir(backups).entryList(QDir::Files), QStringList{QFileInfo(copy).fileName()});
        QCOMPARE(QFileInfo(backups).permissions() & 0x0777, QFile::Permissions(0x0700));
        QCOMPARE(QFileInfo(copy).permissions() & 0x0777, QFile::Permissions(0x0600));
        QVERIFY(Journal::open(copy));
        QCOMPARE(contents(copy), contents(source.path()));
        // What it could not restore exactly is refused: nothing, or a file not in UTF-8.
        QVERIFY(!readExportedDays(QTemporaryDir().path()));
        QFile file(folder.filePath(u"2026/03/2026-03-01.md"_s));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("\xff\xfe not UTF-8") > 0);
        file.close();
        const auto refused = readExportedDays(folder.path());
        QVERIFY2(!refused && refused.error().contains(u"not UTF-8"_s), qPrintable(refused.error()));
    }

    void import_neverOverwritesADaysText_data()
    {
        QTest::addColumn<QString>("existing"); // a null string: the day has no note
        QTest::addColumn<QString>("imported");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QList<qsizetype>>("counts"); // added, merged, unchanged
        QTest::newRow("A day without a note gets the text")
            << QString() << u"theirs"_s << u"theirs"_s << QList<qsizetype>{1, 0, 0};
        QTest::newRow("An empty note gets the text")
            << u""_s << u"theirs"_s << u"theirs"_s << QList<qsizetype>{1, 0, 0};
        QTest::newRow("A day with text gets the import below a separator")
            << u"mine #a"_s << u"theirs #b"_s << u"mine #a\n\n---\n\ntheirs #b"_s
            << QList<qsizetype>{0, 1, 0};
        QTest::newRow("The same text again changes nothing")
            << u"same"_s << u"same"_s << u"same"_s << QList<qsizetype>{0, 0, 1};
        QTest::newRow("A second import of the same folder changes nothing")
            << u"mine\n\n---\n\ntheirs"_s << u"theirs"_s << u"mine\n\n---\n\ntheirs"_s
            << QList<qsizetype>{0, 0, 1};
    }

    void import_neverOverwritesADaysText()
    {
        QFETCH(QString, existing);
        QFETCH(QString, imported);
        QFETCH(QString, stored);
        QFETCH(QList<qsizetype>, counts);
        if (!existing.isNull())
            m_store->write(day1, existing);
        m_store->reopen();
        const ImportSummary summary = m_store->journal()->importDays({{day1, imported}}).value();
        QCOMPARE(lqtest::storedText(m_store->path(), key(day1)), stored);
        QCOMPARE((QList<qsizetype>{summary.added, summary.merged, summary.unchanged}), counts);
        // The tags follow the merged text.
        QCOMPARE(lqtest::column(m_store->path(), u"SELECT t.name FROM note_tags l JOIN tags t"
                                                 u" ON t.id = l.tag_id ORDER BY t.name"_s)
                     .join(u' '),
                 summary.merged ? u"a b"_s : QString());
    }

    void expiredBackups_leaveSevenDailyAndFourWeeklyCopies()
    {
        // Sixty daily copies up to newest; the days back from it of those left, newest first.
        const auto kept = [](QDate newest) {
            QList<QDate> copies;
            for (int i = 0; i < 60; ++i)
                copies.append(newest.addDays(i - 59));
            const QList<QDate> expired = expiredBackups(copies);
            QList<qint64> left;
            for (const QDate day : copies) {
                if (!expired.contains(day))
                    left.prepend(day.daysTo(newest));
            }
            return left;
        };
        // Before the daily ones, the newest copy of each of four weeks; 2026-03-01 is a Sunday.
        QCOMPARE(kept(QDate(2026, 3, 1)), (QList<qint64>{0, 1, 2, 3, 4, 5, 6, 7, 14, 21, 28}));
        // The week of the oldest daily copy has no weekly one.
        QCOMPARE(kept(QDate(2026, 3, 4)), (QList<qint64>{0, 1, 2, 3, 4, 5, 6, 10, 17, 24, 31}));
    }

private:
    // Writes the tags beta, Alpha, alpha, gamma, zeta and strasse, in this order.
    void writeTags()
    {
        m_store->write(QDate(2026, 1, 5), u"#beta #Alpha"_s);
        m_store->write(QDate(2026, 1, 9), u"#alpha #gamma"_s);
        m_store->write(QDate(2026, 1, 2), u"#zeta #strasse"_s);
    }

    std::unique_ptr<lqtest::TemporaryJournal> m_store;
};

QTEST_GUILESS_MAIN(JournalTest)
#include "tst_journal.moc"
