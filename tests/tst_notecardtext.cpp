#include "tagbrowser/NoteCardText.h"

#include "TestEnvironment.h"

#include <QTest>

using namespace Qt::StringLiterals;

class NoteCardTextTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { lqtest::pinEnvironment(); }

    void cardTexts_data()
    {
        QTest::addColumn<QString>("content");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("rest");

        QTest::newRow("empty") << QString() << QString() << QString();
        QTest::newRow("white space only") << u" \n\t\r\n\u3000 "_s << QString() << QString();
        QTest::newRow("single line is trimmed")
            << u"  only line \u00A0"_s << u"only line"_s << QString();
        QTest::newRow("blank lines at start")
            << u"\n\n   Title  \nbody"_s << u"Title  "_s << u"body"_s;
        QTest::newRow("trailing spaces of the title kept")
            << u"Title\u00A0 \t\nbody"_s << u"Title\u00A0 \t"_s << u"body"_s;
        QTest::newRow("rest trimmed at both ends")
            << u"Title\n\n  \n  body  \n\n"_s << u"Title"_s << u"body"_s;
        QTest::newRow("blank lines inside the rest stay")
            << u"Title\none\n\n\ntwo"_s << u"Title"_s << u"one\n\n\ntwo"_s;
        QTest::newRow("white space inside a line stays")
            << u"A\ttitle\nsome  words\there"_s << u"A\ttitle"_s << u"some  words\there"_s;
        QTest::newRow("CR LF inside the rest is an empty line")
            << u"Title\r\none\r\ntwo"_s << u"Title"_s << u"one\n\ntwo"_s;
        QTest::newRow("CR LF at the ends")
            << u"\r\n\r\nTitle\r\none\r\n\r\n"_s << u"Title"_s << u"one"_s;
        QTest::newRow("CR LF right after the title")
            << u"Title\r\n\r\none"_s << u"Title"_s << u"one"_s;
        QTest::newRow("every newline character splits")
            << u"T\u000Ba\u000Cb\rc\u0085d\u2028e\u2029f"_s << u"T"_s << u"a\nb\nc\nd\ne\nf"_s;
        QTest::newRow("more than four following lines")
            << u"Title\n1\n2\n3\n4\n5\n6"_s << u"Title"_s << u"1\n2\n3\n4\n5\n6"_s;
        QTest::newRow("zero width space is not trimmed")
            << u"\u200BTitle\u200B\n\u200B"_s << u"\u200BTitle\u200B"_s << u"\u200B"_s;
        QTest::newRow("emoji at the ends survive trimming")
            << u"😀 title 🇩🇪\n 👋🏽"_s << u"😀 title 🇩🇪"_s << u"👋🏽"_s;
        QTest::newRow("combining mark after leading space")
            << u" \u0301Title"_s << u"\u0301Title"_s << QString();
    }

    void cardTexts()
    {
        QFETCH(QString, content);
        QFETCH(QString, title);
        QFETCH(QString, rest);

        QCOMPARE(firstLine(content), title);
        QCOMPARE(remainingText(content), rest);
    }
};

QTEST_GUILESS_MAIN(NoteCardTextTest)
#include "tst_notecardtext.moc"
