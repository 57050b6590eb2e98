#include "tags/extractHashtags.h"

#include "TestEnvironment.h"

#include <QRandomGenerator>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

bool isNameCharacter(char32_t c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
           c == u'_' || c == u'-';
}

// Walks the text code point by code point: a # followed by name characters takes the whole
// run as a name, and the walk goes on right behind it.
QSet<QString> referenceHashtags(const QString &text)
{
    QList<char32_t> codePoints;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            codePoints.append(QChar::surrogateToUcs4(c, text.at(i + 1)));
            ++i;
        } else {
            codePoints.append(c.unicode());
        }
    }

    QSet<QString> names;
    qsizetype i = 0;
    while (i < codePoints.size()) {
        if (codePoints.at(i) != u'#' || i + 1 == codePoints.size() ||
            !isNameCharacter(codePoints.at(i + 1))) {
            ++i;
            continue;
        }
        QString name;
        for (++i; i < codePoints.size() && isNameCharacter(codePoints.at(i)); ++i)
            name.append(QChar(char16_t(codePoints.at(i))));
        names.insert(name);
    }
    return names;
}

// Pieces weighted towards #, name characters and the characters a Unicode-aware or
// case-folding pattern would wrongly take into a name (fullwidth letters, the Kelvin sign,
// the long s, the dotted capital I).
QString randomText(QRandomGenerator &random, qsizetype pieces)
{
    static const QStringList alphabet = {
        u"#"_s,      u"#"_s,       u"a"_s,      u"Z"_s,      u"7"_s,        u"_"_s,
        u"-"_s,      u" "_s,       u"\n"_s,     u"."_s,      u"'"_s,        u"é"_s,
        u"ü"_s,      u"e\u0301"_s, u"日本"_s,   u"😀"_s,      u"👋🏽"_s, u"🇩🇪"_s,
        u"\uFF41"_s, u"\u212A"_s,  u"\u017F"_s, u"\u0130"_s, u"\u00A0"_s,   u"\u200B"_s,
        u"\uFF03"_s, u"\uFE5F"_s,  u"𝐚"_s,      u"tag"_s,    u"##"_s,       u"C#"_s,
    };
    QString text;
    for (qsizetype i = 0; i < pieces; ++i) {
        const auto pick = random.bounded(alphabet.size() + 2);
        if (pick < alphabet.size())
            text += alphabet.at(pick);
        else // a lone surrogate, which a text read from elsewhere can hold
            text += QChar(char16_t(pick == alphabet.size() ? 0xD83D : 0xDE00));
    }
    return text;
}

} // namespace

class HashtagsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { lqtest::pinEnvironment(); }

    void extractHashtags_givesTheNamesOfTheText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("names");

        QTest::newRow("inner hyphen") << u"#a-b"_s << QStringList{u"a-b"_s};
        QTest::newRow("full stop ends the name") << u"#tag."_s << QStringList{u"tag"_s};
        QTest::newRow("apostrophe ends the name") << u"#tag's"_s << QStringList{u"tag"_s};
        QTest::newRow("in parentheses") << u"(#tag)"_s << QStringList{u"tag"_s};
        QTest::newRow("double number sign") << u"##x"_s << QStringList{u"x"_s};
        QTest::newRow("inside a word") << u"a#b"_s << QStringList{u"b"_s};
        QTest::newRow("chained inside a word") << u"x#y#z"_s << QStringList{u"y"_s, u"z"_s};
        QTest::newRow("chained") << u"#a#b"_s << QStringList{u"a"_s, u"b"_s};
        QTest::newRow("dotted") << u"#a.b"_s << QStringList{u"a"_s};
        QTest::newRow("trailing hyphen") << u"#tag-"_s << QStringList{u"tag-"_s};
        QTest::newRow("trailing underscore") << u"#tag_"_s << QStringList{u"tag_"_s};
        QTest::newRow("hyphen alone") << u"#-"_s << QStringList{u"-"_s};
        QTest::newRow("double hyphen") << u"#a--b"_s << QStringList{u"a--b"_s};
        QTest::newRow("digits") << u"#123"_s << QStringList{u"123"_s};
        QTest::newRow("precomposed accent") << u"#caf\u00E9"_s << QStringList{u"caf"_s};
        QTest::newRow("combining accent") << u"#cafe\u0301"_s << QStringList{u"cafe"_s};
        QTest::newRow("accented first letter") << u"#\u00FCber"_s << QStringList{};
        QTest::newRow("CJK") << u"#日本"_s << QStringList{};
        QTest::newRow("emoji") << u"#😀"_s << QStringList{};
        QTest::newRow("space after number sign") << u"# tag"_s << QStringList{};
        QTest::newRow("number sign alone") << u"#"_s << QStringList{};
        QTest::newRow("number sign last") << u"C#"_s << QStringList{};
        QTest::newRow("case kept") << u"#Work #work"_s << QStringList{u"Work"_s, u"work"_s};
        QTest::newRow("repeated") << u"#a #a #a"_s << QStringList{u"a"_s};
        QTest::newRow("across a line break") << u"#a\n#b"_s << QStringList{u"a"_s, u"b"_s};
        QTest::newRow("after a surrogate pair") << u"😀 #x"_s << QStringList{u"x"_s};
        QTest::newRow("empty text") << QString() << QStringList{};
        QTest::newRow("fullwidth letter") << u"#\uFF41"_s << QStringList{};
        QTest::newRow("Kelvin sign ends the name") << u"#o\u212A"_s << QStringList{u"o"_s};
        QTest::newRow("fullwidth number sign") << u"\uFF03tag"_s << QStringList{};
        QTest::newRow("after a lone surrogate")
            << QString(QChar(0xD83D)) + u" #x #y"_s << QStringList{u"x"_s, u"y"_s};
        QTest::newRow("long name")
            << u"#"_s + QString(5000, u'q') + u" end"_s << QStringList{QString(5000, u'q')};
    }

    void extractHashtags_givesTheNamesOfTheText()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, names);

        const auto found = extractHashtags(text);
        QVERIFY(found.has_value());
        QCOMPARE(*found, QSet<QString>(names.cbegin(), names.cend()));
    }

    void extractHashtags_agreesWithACodePointScan_data()
    {
        QTest::addColumn<QString>("text");

        QRandomGenerator random(20240611);
        for (qsizetype pieces : {1, 2, 3, 5, 8, 13, 40, 200, 1000, 20000}) {
            for (int sample = 0; sample < 20; ++sample) {
                QTest::addRow("%lld pieces #%d", qlonglong(pieces), sample)
                    << randomText(random, pieces);
            }
        }
    }

    void extractHashtags_agreesWithACodePointScan()
    {
        QFETCH(QString, text);

        const auto found = extractHashtags(text);
        QVERIFY(found.has_value());
        QCOMPARE(*found, referenceHashtags(text));
    }

    void extractHashtags_patternThatDoesNotCompile_fails()
    {
        QVERIFY(!extractHashtags(u"#tag"_s, u"#([a-z"_s).has_value());
        QVERIFY(!extractHashtags(QString(), u"#([a-z"_s).has_value());
    }
};

QTEST_GUILESS_MAIN(HashtagsTest)
#include "tst_hashtags.moc"
