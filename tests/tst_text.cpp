// The rules without a journal: hashtags, word and character counts, what a note card shows,
// how two windows' edits of one note are merged, and the Monday-first month grid.

#include "TestEnvironment.h"

#include "core/Hashtags.h"
#include "core/MonthGrid.h"
#include "core/NoteCardText.h"
#include "core/TextCounts.h"
#include "core/TextMerge.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Days since 1 March of year 0 in the proleptic Gregorian calendar, worked out without QDate,
// to check the month grid against.
qint64 dayNumber(int year, int month, int day)
{
    const int y = month <= 2 ? year - 1 : year;
    const int m = month <= 2 ? month + 9 : month - 3;
    return 365LL * y + y / 4 - y / 100 + y / 400 + (153 * m + 2) / 5 + day - 1;
}

} // namespace

class TextTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { lqtest::pinEnvironment(); }

    void hashtags_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("Words after # are names, each once, in order, ended by punctuation")
            << u"#b then #a and #b. #end, (#in) ##double #x#y"_s
            << QStringList{"b", "a", "end", "in", "double", "x", "y"};
        QTest::newRow("Letters of both cases, digits, - and _ make a name, whose case is kept")
            << u"#Work-Notes_2026 #Tag #tag #TAG"_s
            << QStringList{"Work-Notes_2026", "Tag", "tag", "TAG"};
        QTest::newRow("A word going on in a letter, digit or mark of another script makes none")
            << u"#café #señora #über #alpha\u03B2 #priv\u0435t #tag\u65E5 #o\u212A #a\U0001D400"
               u" #日本 #\uFF41 #n\u0663 #x\uFF11 #y\U0001D7CF #cafe\u0301 #o\u0308ber and #caf"_s
            << QStringList{"caf"};
        QTest::newRow("Punctuation, symbols and spaces outside ASCII end a name too")
            << u"#stop\u3002 #em\u2014dash #nb\u00A0x #joy😀"_s
            << QStringList{"stop", "em", "nb", "joy"};
        QTest::newRow("A lone # or one before a space makes nothing")
            << u"# #. C# \uFF03full"_s << QStringList{};
        QTest::newRow("A lone surrogate does not hide the hashtags around it")
            << u"#one \xD83D #two"_s << QStringList{"one", "two"};
    }

    void hashtags()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, names);
        QCOMPARE(extractHashtags(text), names);
    }

    void counts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qsizetype>("words");
        QTest::addColumn<qsizetype>("characters");
        QTest::newRow("Nothing") << QString() << qsizetype(0) << qsizetype(0);
        QTest::newRow("White space separates words and counts; punctuation alone is a word")
            << u"  hello\n\n  world \t- ..."_s << qsizetype(4) << qsizetype(23);
        QTest::newRow("Every Unicode space separates words, with a combining mark too, invisible"
                      " characters do not")
            << u"a\u00A0b\u2003c\u3000d\u2028e\u0085f g\u200Bh\u2060i \u0301j"_s << qsizetype(8)
            << qsizetype(19);
        QTest::newRow("CR LF, CR, a flag, a family and an accent are one character each")
            << u"a\r\nb\rc 🇩🇪 👨‍👩‍👧 e\u0301"_s << qsizetype(6) << qsizetype(11);
    }

    void counts()
    {
        QFETCH(QString, text);
        QFETCH(qsizetype, words);
        QFETCH(qsizetype, characters);
        QCOMPARE(wordCount(text), words);
        QCOMPARE(characterCount(text), characters);
        QCOMPARE(countsText(words, characters),
                 u"%1 words %2 characters"_s.arg(words).arg(characters));
    }

    void cardTexts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("rest");
        QTest::newRow("One line is all title") << u"  Only this  "_s << u"Only this"_s << QString();
        QTest::newRow("Leading blank lines are skipped, inner ones stay")
            << u"\n\n Title \n\nsecond\n  "_s << u"Title "_s << u"second"_s;
        QTest::newRow("Every newline character ends a line, as a line feed")
            << u"a\nb\r\nc\u2028d\u2029e\rf"_s << u"a"_s << u"b\n\nc\nd\ne\nf"_s;
        QTest::newRow("White space alone makes an empty card")
            << u" \n\t "_s << QString() << QString();
    }

    void cardTexts()
    {
        QFETCH(QString, text);
        QFETCH(QString, title);
        QFETCH(QString, rest);
        QCOMPARE(firstLine(text), title);
        QCOMPARE(remainingText(text), rest);
    }

    // Base is what both windows showed; theirs was saved first, mine is saved now.
    void mergeEdits_data()
    {
        QTest::addColumn<QString>("base");
        QTest::addColumn<QString>("theirs");
        QTest::addColumn<QString>("mine");
        QTest::addColumn<QString>("merged");
        QTest::newRow("Mine before theirs") << u"a b c"_s << u"a c!"_s << u"A b c"_s << u"A c!"_s;
        QTest::newRow("Typed at the same point: theirs first, mine on a line of its own")
            << QString() << u"Walked #park"_s << u"Read a book"_s << u"Walked #park\nRead a book"_s;
        QTest::newRow("Unless a space parts them already")
            << u"Note"_s << u"Note #one"_s << u"Note two"_s << u"Note #one two"_s;
        QTest::newRow("The same words changed on both sides: both versions, theirs first")
            << u"a cat sat"_s << u"a dog sat"_s << u"a cow sat"_s << u"a dog\ncow sat"_s;
        QTest::newRow("Nothing typed here keeps theirs")
            << u"same"_s << u"same and more"_s << u"same"_s << u"same and more"_s;
        QTest::newRow("Nothing saved there keeps mine")
            << u"same"_s << u"same"_s << u"my same"_s << u"my same"_s;
        QTest::newRow("Emoji changed on both sides stay whole characters")
            << u"x😀"_s << u"x😁"_s << u"x😂"_s << u"x😁\n😂"_s;
    }

    void mergeEdits()
    {
        QFETCH(QString, base);
        QFETCH(QString, theirs);
        QFETCH(QString, mine);
        QFETCH(QString, merged);
        QCOMPARE(::mergeEdits(base, theirs, mine), merged);
    }

    void everyMonthFrom1900To2100_startsOnMondayInFiveOrSixWeeks_andNoneIsCutShort()
    {
        const qint64 monday = dayNumber(1900, 1, 1); // a Monday
        for (int year = 1900; year <= 2100; ++year) {
            for (int month = 1; month <= 12; ++month) {
                const qint64 first = dayNumber(year, month, 1);
                const qint64 length =
                    dayNumber(month == 12 ? year + 1 : year, month % 12 + 1, 1) - first;
                const qint64 leading = (first - monday) % 7;
                const QDate selected(year, month, 1 + (year + month) % 28);
                const QList<MonthGridDay> days = monthGridDays(QDate(year, month, 15), selected);
                QCOMPARE(days.size(), leading + length <= 35 ? 35 : 42);
                for (qsizetype i = 0; i < days.size(); ++i) {
                    const qint64 expected = first - leading + i;
                    const QDate date = days[i].date;
                    QCOMPARE(dayNumber(date.year(), date.month(), date.day()), expected);
                    QCOMPARE(days[i].inMonth, expected >= first && expected < first + length);
                    QCOMPARE(days[i].isSelected, days[i].date == selected);
                }
            }
        }
        QVERIFY(monthGridDays(QDate(), QDate()).isEmpty());
        // QDate's range ends about two billion years away; a grid there is whole or empty.
        for (const qint64 julianDay : {Q_INT64_C(-784350574879), Q_INT64_C(784354017364)}) {
            const QDate edge = QDate::fromJulianDay(julianDay);
            QVERIFY(edge.isValid());
            QVERIFY(!edge.addDays(julianDay < 0 ? -1 : 1).isValid());
            const qsizetype size = monthGridDays(edge, edge).size();
            QVERIFY2(size == 0 || size == 35 || size == 42, qPrintable(QString::number(size)));
        }
    }
};

QTEST_GUILESS_MAIN(TextTest)
#include "tst_text.moc"
