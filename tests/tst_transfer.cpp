// The journal in and out of other files: export, import and the daily backups beside it.

#include "TestEnvironment.h"

#include "core/DailyBackup.h"
#include "core/TagSync.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QDate day1(2026, 3, 1);

// Every note's day and exact bytes, and every day's tags.
QStringList contents(const QString &path)
{
    return lqtest::column(path, u"SELECT day || '=' || hex(content) FROM notes ORDER BY day"_s) +
           lqtest::column(
               path, u"SELECT n.day || ' #' || t.name FROM note_tags l JOIN notes n ON"
                     u" n.id = l.note_id JOIN tags t ON t.id = l.tag_id ORDER BY n.day, t.name"_s);
}

} // namespace

class TransferTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { lqtest::pinEnvironment(); }

    void exportThenImport_restoresEveryNoteByteForByte_andTheFirstSaveOfTheDayBacksUp()
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
        lqtest::TemporaryJournal store;
        if (!existing.isNull())
            store.write(day1, existing);
        store.reopen();
        const ImportSummary summary = store.journal()->importDays({{day1, imported}}).value();
        QCOMPARE(lqtest::storedText(store.path(), day1.toString(Qt::ISODate)), stored);
        QCOMPARE((QList<qsizetype>{summary.added, summary.merged, summary.unchanged}), counts);
        // The tags follow the merged text.
        QCOMPARE(lqtest::column(store.path(), u"SELECT t.name FROM note_tags l JOIN tags t"
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
};

QTEST_GUILESS_MAIN(TransferTest)
#include "tst_transfer.moc"
