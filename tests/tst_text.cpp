// The rules for text: which words are hashtags, how words and characters are counted, what
// a note card shows of a note, and how two windows' edits of one note are merged.

#include "TestEnvironment.h"

#include "core/Hashtags.h"
#include "core/NoteCardText.h"
#include "core/TextCounts.h"
#include "core/TextMerge.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TextTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { lqtest::pinEnvironment(); }

    void hashtags_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("Words after # are names, each once, in order")
            << u"#b then #a and #b"_s << QStringList{"b", "a"};
        QTest::newRow("Letters of both cases, digits, - and _ make a name")
            << u"#Work-Notes_2026"_s << QStringList{"Work-Notes_2026"};
        QTest::newRow("Case is kept, so #Tag and #tag are two names")
            << u"#Tag #tag #TAG"_s << QStringList{"Tag", "tag", "TAG"};
        QTest::newRow("Punctuation ends a name")
            << u"#tag. #end, (#in)"_s << QStringList{"tag", "end", "in"};
        QTest::newRow("A name is the whole run after the last #")
            << u"##double #a#b"_s << QStringList{"double", "a", "b"};
        QTest::newRow("A name whose word goes on in a letter of another script makes none")
            << u"#café #señora #über #alpha\u03B2 #priv\u0435t #tag\u65E5 #o\u212A #a\U0001D400"
               u" #日本 #\uFF41 and #caf"_s
            << QStringList{"caf"};
        QTest::newRow("Nor one whose number goes on in digits of another script")
            << u"#n\u0663 #x\uFF11 #y\U0001D7CF"_s << QStringList{};
        QTest::newRow("Nor one whose last letter takes a combining mark")
            << u"#cafe\u0301 #o\u0308ber"_s << QStringList{};
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
        QTest::newRow("White space separates words and counts as characters")
            << u"  hello\n\n  world \t"_s << qsizetype(2) << qsizetype(18);
        QTest::newRow("Punctuation alone is a word")
            << u"a - b ..."_s << qsizetype(4) << qsizetype(9);
        QTest::newRow("Every Unicode space separates words")
            << u"a\u00A0b\u2003c\u3000d\u2028e\u0085f"_s << qsizetype(6) << qsizetype(11);
        QTest::newRow("Invisible characters without White_Space do not")
            << u"a\u200Bb\u2060c"_s << qsizetype(1) << qsizetype(5);
        QTest::newRow("CR LF is one character, CR alone one too")
            << u"a\r\nb\rc"_s << qsizetype(3) << qsizetype(5);
        QTest::newRow("CR LF, a flag, a family and an accent are one character each")
            << u"\r\n🇩🇪 👨‍👩‍👧 e\u0301"_s << qsizetype(3) << qsizetype(6);
        QTest::newRow("A space with a combining mark still separates words")
            << u"a \u0301b"_s << qsizetype(2) << qsizetype(3);
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
        QTest::newRow("Edits in separate places both stay")
            << u"Morning\nEvening"_s << u"Morning walk\nEvening"_s << u"Morning\nEvening tea"_s
            << u"Morning walk\nEvening tea"_s;
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
};

QTEST_GUILESS_MAIN(TextTest)
#include "tst_text.moc"
