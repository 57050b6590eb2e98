#include "editor/TextCounts.h"

#include "TestEnvironment.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TextCountsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { lqtest::pinEnvironment(); }

    void counts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qsizetype>("words");
        QTest::addColumn<qsizetype>("characters");

        auto row = [](const char *name, const QString &text, qsizetype words, qsizetype chars) {
            QTest::newRow(name) << text << words << chars;
        };

        row("empty", QString(), 0, 0);
        row("two words", u"hello world"_s, 2, 11);
        row("spaces and newlines count as characters", u"  hello\n\n  world  "_s, 2, 18);
        row("only white space", u" \t\n "_s, 0, 4);
        row("tab", u"hello\tworld"_s, 2, 11);
        row("no-break space", u"a\u00A0b"_s, 2, 3);
        row("hashtag", u"#tag"_s, 1, 4);
        row("apostrophe", u"don't"_s, 1, 5);
        row("inner hyphen", u"well-known"_s, 1, 10);
        row("hyphen alone between spaces", u"a - b"_s, 3, 5);
        row("punctuation alone", u"... !"_s, 2, 5);

        row("vertical tab", u"a\u000Bb"_s, 2, 3);
        row("form feed", u"a\u000Cb"_s, 2, 3);
        row("next line", u"a\u0085b"_s, 2, 3);
        row("ogham space mark", u"a\u1680b"_s, 2, 3);
        row("en quad", u"a\u2000b"_s, 2, 3);
        row("hair space", u"a\u200Ab"_s, 2, 3);
        row("line separator", u"a\u2028b"_s, 2, 3);
        row("paragraph separator", u"a\u2029b"_s, 2, 3);
        row("narrow no-break space", u"a\u202Fb"_s, 2, 3);
        row("medium mathematical space", u"a\u205Fb"_s, 2, 3);
        row("ideographic space", u"a\u3000b"_s, 2, 3);

        // Invisible or separating, but without the White_Space property.
        row("zero width space", u"a\u200Bb"_s, 1, 3);
        row("mongolian vowel separator", u"a\u180Eb"_s, 1, 3);
        row("unit separator", u"a\u001Fb"_s, 1, 3);
        row("zero width no-break space", u"a\uFEFFb"_s, 1, 3);
        row("word joiner", u"a\u2060b"_s, 1, 3);

        row("CR LF", u"\r\n"_s, 0, 1);
        row("CR LF between words", u"one\r\ntwo"_s, 2, 7);
        row("LF CR is two characters", u"\n\r"_s, 0, 2);
        row("flag", u"🇩🇪"_s, 1, 1);
        row("two flags", u"🇩🇪🇫🇷"_s, 1, 2);
        row("odd regional indicator", u"🇩🇪🇫"_s, 1, 2);
        row("combining accent", u"e\u0301"_s, 1, 1);
        row("stacked combining marks", u"a\u0301\u0323\u0308"_s, 1, 1);
        row("family", u"👨\u200D👩\u200D👧\u200D👦"_s, 1, 1);
        row("skin tone", u"👋🏽"_s, 1, 1);
        row("skin tone and ZWJ", u"👩🏽\u200D🔬"_s, 1, 1);
        row("keycap", u"1\uFE0F\u20E3"_s, 1, 1);
        row("tag sequence flag",
            u"🏴\U000E0067\U000E0062\U000E0073\U000E0063\U000E0074\U000E007F"_s, 1, 1);
        row("hangul jamo", u"\u1100\u1161\u11A8"_s, 1, 1);
        row("emoji between spaces", u"😀 😀"_s, 2, 3);
        row("letters outside the BMP", u"𝐚𝐛 𝐜"_s, 2, 4);
        // The cluster starts with a space, so it separates even though it carries a mark.
        row("space with combining mark", u"a \u0301b"_s, 2, 3);
        row("newline with combining mark", u"a\n\u0301b"_s, 2, 4);
        row("lone surrogate", QString(QChar(0xD800)) + u" a"_s, 2, 3);
    }

    void counts()
    {
        QFETCH(QString, text);
        QFETCH(qsizetype, words);
        QFETCH(qsizetype, characters);

        QCOMPARE(wordCount(text), words);
        QCOMPARE(characterCount(text), characters);
    }

    void countsText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");

        QTest::newRow("empty") << QString() << u"0 words 0 characters"_s;
        QTest::newRow("no singular form") << u"a"_s << u"1 words 1 characters"_s;
        QTest::newRow("no digit grouping") << QString(1234, u'x') << u"1 words 1234 characters"_s;
        QTest::newRow("clusters") << u"🇩🇪 e\u0301\r\n"_s << u"2 words 4 characters"_s;
    }

    void countsText()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);

        QCOMPARE(::countsText(text), expected);
    }
};

QTEST_GUILESS_MAIN(TextCountsTest)
#include "tst_textcounts.moc"
