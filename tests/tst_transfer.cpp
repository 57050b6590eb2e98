// The journal in and out of other files: export to Markdown files, import back, and the daily
// backups beside it.

#include "TestEnvironment.h"

#include "core/DailyBackup.h"
#include "core/Journal.h"
#include "core/TagSync.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QDate day1(2026, 3, 1);

QStringList column(const QString &path, const QString &sql)
{
    QStringList values;
    for (const QVariant &value : lqtest::queryFile(path, sql))
        values.append(value.toString());
    return values;
}

// Every note's day and exact bytes, and every day's tags.
QStringList contents(const QString &path)
{
    return column(path, u"SELECT day || '=' || hex(content) FROM notes ORDER BY day"_s) +
           column(path,
                  u"SELECT n.day || ' #' || t.name FROM note_tags l JOIN notes n ON"
                  u" n.id = l.note_id JOIN tags t ON t.id = l.tag_id ORDER BY n.day, t.name"_s);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("unreadable");
}

} // namespace

class TransferTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { lqtest::pinEnvironment(); }

    void exportThenImport_intoAnEmptyJournal_restoresEveryNoteByteForByte()
    {
        lqtest::TemporaryJournal source;
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
        QCOMPARE(readFile(folder.filePath(u"2026/02/2026-02-28.md"_s)),
                 (pieces.at(1) + u" 1"_s).toUtf8());
        QCOMPARE(readFile(folder.filePath(u"2026/02/2026-02-26.md"_s)), QByteArray());
        const QByteArray whole = readFile(folder.filePath(u"journal.md"_s));
        QVERIFY(whole.startsWith("# 2016-03-04\n\n"));
        QVERIFY(whole.contains("\n# 2026-02-27\n\nCR LF\r\nlines\r\n 2\n\n# 2026-02-28\n\n"));
        QVERIFY(whole.endsWith("\n# 2026-03-01\n\nplain words 0\n\n"));
        QVERIFY(!whole.contains("# 2026-02-26"));

        lqtest::TemporaryJournal restored;
        const auto days = readExportedDays(folder.path());
        QVERIFY2(days, qPrintable(days.error()));
        const auto summary = restored.journal()->importDays(*days);
        QCOMPARE(summary->added, 3650);
        QVERIFY(restored.journal()->saveError().isEmpty());
        QCOMPARE(contents(restored.path()), contents(source.path()));
    }

    void import_neverOverwritesADaysText_data()
    {
        QTest::addColumn<QString>("existing"); // a null string: the day has no note
        QTest::addColumn<QString>("imported");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("outcome");
        QTest::newRow("A day without a note gets the text")
            << QString() << u"theirs"_s << u"theirs"_s << u"added"_s;
        QTest::newRow("An empty note gets the text")
            << u""_s << u"theirs"_s << u"theirs"_s << u"added"_s;
        QTest::newRow("A day with text gets the import below a separator")
            << u"mine #a"_s << u"theirs #b"_s << u"mine #a\n\n---\n\ntheirs #b"_s << u"merged"_s;
        QTest::newRow("The same text again changes nothing")
            << u"same"_s << u"same"_s << u"same"_s << u"unchanged"_s;
        QTest::newRow("A second import of the same folder changes nothing")
            << u"mine\n\n---\n\ntheirs"_s << u"theirs"_s << u"mine\n\n---\n\ntheirs"_s
            << u"unchanged"_s;
    }

    void import_neverOverwritesADaysText()
    {
        QFETCH(QString, existing);
        QFETCH(QString, imported);
        QFETCH(QString, stored);
        QFETCH(QString, outcome);
        lqtest::TemporaryJournal store;
        Journal *journal = store.journal();
        if (!existing.isNull())
            journal->setText(journal->noteForDay(day1).value(), existing);
        store.reopen();
        journal = store.journal();
        const ImportSummary summary = journal->importDays({{day1, imported}}).value();
        QCOMPARE(lqtest::storedText(store.path(), day1.toString(Qt::ISODate)), stored);
        QCOMPARE(
            (QList<qsizetype>{summary.added, summary.merged, summary.unchanged}),
            (QList<qsizetype>{outcome == u"added", outcome == u"merged", outcome == u"unchanged"}));
        // The tags follow the merged text.
        QStringList tags;
        for (const Note *note : {journal->noteForDay(day1).value()}) {
            for (const Tag *tag : journal->tags().value()) {
                if (journal->notesOfTag(tag).value().contains(note))
                    tags.append(tag->name);
            }
        }
        QCOMPARE(tags.join(u' '), outcome == u"merged" ? u"a b"_s : QString());
    }

    void readExportedDays_refusesWhatItCannotRestoreExactly()
    {
        QTemporaryDir folder;
        QVERIFY(!readExportedDays(folder.path()));
        QVERIFY(QDir(folder.path()).mkpath(u"2026/03"_s));
        QFile file(folder.filePath(u"2026/03/2026-03-01.md"_s));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("\xff\xfe not UTF-8");
        file.close();
        const auto days = readExportedDays(folder.path());
        QVERIFY(!days);
        QVERIFY2(days.error().contains(u"not UTF-8"_s), qPrintable(days.error()));
    }

    void firstSaveOfTheDay_backsUpTheJournal_asAJournalTheUserAloneReads()
    {
        lqtest::TemporaryJournal store;
        Journal *journal = store.journal();
        const QString folder = DailyBackup::folder(store.path());
        const QString copy = QDir(folder).filePath(DailyBackup::fileName(QDate::currentDate()));
        QVERIFY(journal->importDays({{day1, u"first #save"_s}}));
        QTRY_VERIFY(QFile::exists(copy) && !journal->backup()->isRunning());
        // Later saves of the day leave the day's copy as it is.
        journal->setText(journal->noteForDay(day1).value(), u"second save"_s);
        QVERIFY(!journal->backup()->isRunning());
        QCOMPARE(QFileInfo(folder).permissions() & 0x0777, QFile::Permissions(0x0700));
        QCOMPARE(QFileInfo(copy).permissions() & 0x0777, QFile::Permissions(0x0600));
        QCOMPARE(QDir(folder).entryList(QDir::Files),
                 QStringList{DailyBackup::fileName(QDate::currentDate())});

        auto opened = Journal::open(copy);
        QVERIFY2(opened, qPrintable(opened.error()));
        QCOMPARE((*opened)->text((*opened)->noteForDay(day1).value()).value(), u"first #save"_s);
        QCOMPARE((*opened)->tags().value().value(0)->name, u"save"_s);
        QCOMPARE((*opened)->search(u"first"_s, 0, 10)->hits.size(), 1);
    }

    void expiredBackups_leaveSevenDailyAndFourWeeklyCopies_data()
    {
        QTest::addColumn<QDate>("newest");
        QTest::addColumn<int>("days"); // one copy a day back from the newest
        QTest::addColumn<QList<QDate>>("kept");
        // 2026-03-01 is a Sunday.
        const QDate sunday(2026, 3, 1);
        QList<QDate> week;
        for (int i = 0; i < 7; ++i)
            week.append(sunday.addDays(-i));
        QTest::newRow("A week of copies is kept whole") << sunday << 7 << week;
        QTest::newRow("Before the daily ones, the newest copy of each of four weeks")
            << sunday << 60
            << week + QList<QDate>{sunday.addDays(-7), sunday.addDays(-14), sunday.addDays(-21),
                                   sunday.addDays(-28)};
        QTest::newRow("The week of the oldest daily copy has no weekly one")
            << sunday.addDays(3) << 60
            << QList<QDate>{
                   sunday.addDays(3),   sunday.addDays(2),   sunday.addDays(1),  sunday,
                   sunday.addDays(-1),  sunday.addDays(-2),  sunday.addDays(-3), sunday.addDays(-7),
                   sunday.addDays(-14), sunday.addDays(-21), sunday.addDays(-28)};
    }

    void expiredBackups_leaveSevenDailyAndFourWeeklyCopies()
    {
        QFETCH(QDate, newest);
        QFETCH(int, days);
        QFETCH(QList<QDate>, kept);
        QList<QDate> copies;
        for (int i = days - 1; i >= 0; --i)
            copies.append(newest.addDays(-i));
        const QList<QDate> expired = expiredBackups(copies);
        QList<QDate> left;
        for (const QDate day : copies)
            if (!expired.contains(day))
                left.prepend(day);
        QCOMPARE(left, kept);
    }
};

QTEST_GUILESS_MAIN(TransferTest)
#include "tst_transfer.moc"
