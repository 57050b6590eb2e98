#include "sidebar/TagSortOption.h"

#include "model/Note.h"
#include "model/Tag.h"

#include "TestEnvironment.h"

#include <QTest>

#include <algorithm>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

using DayLists = QList<QList<int>>;

const QString ascending = u"A \u2192 Z"_s;
const QString descending = u"Z \u2192 A"_s;
const QString recent = u"Most Recent"_s;

QStringList namesOf(const QList<Tag *> &tags)
{
    QStringList names;
    for (const Tag *tag : tags)
        names.append(tag->name());
    return names;
}

QDateTime longAgo()
{
    return QDate::currentDate().addDays(-60).startOfDay();
}

} // namespace

class TestTagOrdering : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { lqtest::pinEnvironment(); }
    void init() { m_owner = std::make_unique<QObject>(); }
    void cleanup() { m_owner.reset(); }

    void alphabetical_comparesCaseInsensitively_keepsStoreOrderOfTies_data();
    void alphabetical_comparesCaseInsensitively_keepsStoreOrderOfTies();
    void search_keepsNamesContainingText_data();
    void search_keepsNamesContainingText();
    void recent_putsLatestActivityFirst_data();
    void recent_putsLatestActivityFirst();
    void switchingOrder_withSearch_sortsOnlyMatches_data();
    void switchingOrder_withSearch_sortsOnlyMatches();
    void rawValue_roundTrips_inMenuOrder();
    void rawValue_otherText_givesNone_data();
    void rawValue_otherText_givesNone();

private:
    // Tags in store order; the notes are dated the given number of days from today.
    QList<Tag *> makeTags(const QStringList &names, const QList<QDateTime> &createdAt = {},
                          const DayLists &noteDays = {});
    static TagSortOption option(const QString &raw);

    std::unique_ptr<QObject> m_owner;
};

QList<Tag *> TestTagOrdering::makeTags(const QStringList &names, const QList<QDateTime> &createdAt,
                                       const DayLists &noteDays)
{
    QList<Tag *> tags;
    const QDate today = QDate::currentDate();
    for (qsizetype i = 0; i < names.size(); ++i) {
        auto *tag = new Tag(names.at(i), createdAt.value(i, longAgo()), m_owner.get());
        QList<Note *> notes;
        for (const int offset : noteDays.value(i))
            notes.append(new Note(today.addDays(offset).startOfDay(), QString(), m_owner.get()));
        tag->setNotes(notes);
        tags.append(tag);
    }
    return tags;
}

TagSortOption TestTagOrdering::option(const QString &raw)
{
    const std::optional<TagSortOption> parsed = tagSortOptionFromRawValue(raw);
    if (!parsed)
        qFatal("no order %s", qPrintable(raw));
    return *parsed;
}

void TestTagOrdering::alphabetical_comparesCaseInsensitively_keepsStoreOrderOfTies_data()
{
    QTest::addColumn<QStringList>("storeOrder");
    QTest::addColumn<QString>("order");
    QTest::addColumn<QStringList>("expected");

    const QStringList mixed = {u"work"_s, u"Banana"_s, u"Work"_s, u"apple"_s};
    QTest::newRow("case ignored, ascending")
        << mixed << ascending << QStringList{u"apple"_s, u"Banana"_s, u"work"_s, u"Work"_s};
    QTest::newRow("ties not reversed, descending")
        << mixed << descending << QStringList{u"work"_s, u"Work"_s, u"Banana"_s, u"apple"_s};
    const QStringList upperFirst = {u"Work"_s, u"work"_s};
    QTest::newRow("other store order, ascending") << upperFirst << ascending << upperFirst;
    QTest::newRow("other store order, descending") << upperFirst << descending << upperFirst;

    // Enough ties that an unstable sort would shuffle them.
    QStringList caseVariants;
    for (int mask = 0; mask < 16; ++mask) {
        QString name = u"work"_s;
        for (int letter = 0; letter < 4; ++letter) {
            if (mask & (1 << letter))
                name[letter] = name.at(letter).toUpper();
        }
        caseVariants.append(name);
    }
    std::reverse(caseVariants.begin(), caseVariants.end());
    const QStringList manyTies = QStringList{u"zebra"_s} + caseVariants + QStringList{u"apple"_s};
    QTest::newRow("many ties, ascending")
        << manyTies << ascending
        << QStringList{u"apple"_s} + caseVariants + QStringList{u"zebra"_s};
    QTest::newRow("many ties, descending")
        << manyTies << descending
        << QStringList{u"zebra"_s} + caseVariants + QStringList{u"apple"_s};

    const QStringList numbered = {u"tag2"_s, u"tag10"_s, u"tag1"_s};
    QTest::newRow("digits by character, ascending")
        << numbered << ascending << QStringList{u"tag1"_s, u"tag10"_s, u"tag2"_s};
    QTest::newRow("digits by character, descending")
        << numbered << descending << QStringList{u"tag2"_s, u"tag10"_s, u"tag1"_s};
    QTest::newRow("accented letter beside its base")
        << QStringList{u"f"_s, u"\u00e9t\u00e9"_s, u"ete"_s, u"d"_s} << ascending
        << QStringList{u"d"_s, u"ete"_s, u"\u00e9t\u00e9"_s, u"f"_s};
}

void TestTagOrdering::alphabetical_comparesCaseInsensitively_keepsStoreOrderOfTies()
{
    QFETCH(QStringList, storeOrder);
    QFETCH(QString, order);
    QFETCH(QStringList, expected);

    QCOMPARE(namesOf(visibleTags(makeTags(storeOrder), QString(), option(order))), expected);
}

void TestTagOrdering::search_keepsNamesContainingText_data()
{
    QTest::addColumn<QStringList>("storeOrder");
    QTest::addColumn<QString>("searchText");
    QTest::addColumn<QStringList>("expected");

    const QStringList words = {u"work"_s, u"play"_s, u"homework"_s, u"Network"_s};
    QTest::newRow("empty keeps all")
        << words << QString() << QStringList{u"homework"_s, u"Network"_s, u"play"_s, u"work"_s};
    QTest::newRow("case ignored, anywhere in the name")
        << words << u"WORK"_s << QStringList{u"homework"_s, u"Network"_s, u"work"_s};
    QTest::newRow("nothing matches") << words << u"works"_s << QStringList();

    const QString precomposed = u"caf\u00e9"_s;
    const QString decomposed = u"cafe\u0301"_s;
    const QStringList cafes = {precomposed, u"cafeteria"_s};
    QTest::newRow("diacritics count") << cafes << u"cafe"_s << QStringList{u"cafeteria"_s};
    QTest::newRow("accented capital") << cafes << u"CAF\u00c9"_s << QStringList{precomposed};
    QTest::newRow("decomposed text finds precomposed name")
        << cafes << decomposed << QStringList{precomposed};
    QTest::newRow("precomposed text finds decomposed name")
        << QStringList{decomposed, u"cafeteria"_s} << precomposed << QStringList{decomposed};
    QTest::newRow("bare letter is not part of an accented one")
        << QStringList{decomposed} << u"e"_s << QStringList();
    QTest::newRow("sharp s folds to ss") << QStringList{u"stra\u00dfe"_s, u"strand"_s}
                                         << u"STRASSE"_s << QStringList{u"stra\u00dfe"_s};

    QTest::newRow("one space, untrimmed") << QStringList{u"two words"_s, u"oneword"_s, u" lead"_s}
                                          << u" "_s << QStringList{u" lead"_s, u"two words"_s};
}

void TestTagOrdering::search_keepsNamesContainingText()
{
    QFETCH(QStringList, storeOrder);
    QFETCH(QString, searchText);
    QFETCH(QStringList, expected);

    const QList<Tag *> found =
        visibleTags(makeTags(storeOrder), searchText, TagSortOption::alphaAscending);
    QCOMPARE(namesOf(found), expected);
}

void TestTagOrdering::recent_putsLatestActivityFirst_data()
{
    QTest::addColumn<QStringList>("storeOrder");
    QTest::addColumn<QList<QDateTime>>("createdAt");
    QTest::addColumn<DayLists>("noteDays");
    QTest::addColumn<QStringList>("expected");

    const QDateTime old = longAgo();
    const QDateTime todayAtQuarterPastNine = QDateTime(QDate::currentDate(), QTime(9, 15));

    QTest::newRow("three days old before a week old, latest note counts")
        << QStringList{u"week"_s, u"days"_s} << QList<QDateTime>{old, old}
        << DayLists{{-7}, {-10, -3, -20}} << QStringList{u"days"_s, u"week"_s};
    QTest::newRow("note-less tag created today beats today's note")
        << QStringList{u"noted"_s, u"fresh"_s} << QList<QDateTime>{old, todayAtQuarterPastNine}
        << DayLists{{0}, {}} << QStringList{u"fresh"_s, u"noted"_s};
    QTest::newRow("creation ignored when there are notes")
        << QStringList{u"noted"_s, u"bare"_s}
        << QList<QDateTime>{todayAtQuarterPastNine, QDate::currentDate().addDays(-2).startOfDay()}
        << DayLists{{-5}, {}} << QStringList{u"bare"_s, u"noted"_s};
    QTest::newRow("same day keeps store order")
        << QStringList{u"b"_s, u"a"_s, u"c"_s} << QList<QDateTime>{old, old, old}
        << DayLists{{-2}, {-5, -2}, {-1}} << QStringList{u"c"_s, u"b"_s, u"a"_s};
    QTest::newRow("same day keeps store order, reversed")
        << QStringList{u"a"_s, u"b"_s, u"c"_s} << QList<QDateTime>{old, old, old}
        << DayLists{{-5, -2}, {-2}, {-1}} << QStringList{u"c"_s, u"a"_s, u"b"_s};
}

void TestTagOrdering::recent_putsLatestActivityFirst()
{
    QFETCH(QStringList, storeOrder);
    QFETCH(QList<QDateTime>, createdAt);
    QFETCH(DayLists, noteDays);
    QFETCH(QStringList, expected);

    const QList<Tag *> tags = makeTags(storeOrder, createdAt, noteDays);
    QCOMPARE(namesOf(visibleTags(tags, QString(), TagSortOption::recent)), expected);
}

void TestTagOrdering::switchingOrder_withSearch_sortsOnlyMatches_data()
{
    QTest::addColumn<QString>("order");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("ascending") << ascending << QStringList{u"alpha"_s, u"Alphabet"_s};
    QTest::newRow("descending") << descending << QStringList{u"Alphabet"_s, u"alpha"_s};
    QTest::newRow("recent") << recent << QStringList{u"Alphabet"_s, u"alpha"_s};
}

void TestTagOrdering::switchingOrder_withSearch_sortsOnlyMatches()
{
    QFETCH(QString, order);
    QFETCH(QStringList, expected);

    const QDateTime old = longAgo();
    const QList<Tag *> tags = makeTags({u"beta"_s, u"alpha"_s, u"Alphabet"_s, u"gamma"_s},
                                       {old, old, old, old}, {{0}, {-9}, {-4}, {-1}});
    QCOMPARE(namesOf(visibleTags(tags, u"alph"_s, option(order))), expected);
}

void TestTagOrdering::rawValue_roundTrips_inMenuOrder()
{
    QStringList raws;
    for (const TagSortOption each : allTagSortOptions()) {
        raws.append(rawValue(each));
        QCOMPARE(tagSortOptionFromRawValue(rawValue(each)), std::optional(each));
    }
    QCOMPARE(raws, (QStringList{ascending, descending, recent}));
}

void TestTagOrdering::rawValue_otherText_givesNone_data()
{
    QTest::addColumn<QString>("raw");

    QTest::newRow("empty") << QString();
    QTest::newRow("lower case") << u"most recent"_s;
    QTest::newRow("ascii arrow") << u"A -> Z"_s;
    QTest::newRow("double spaces") << u"A  \u2192  Z"_s;
    QTest::newRow("trailing space") << u"Z \u2192 A "_s;
}

void TestTagOrdering::rawValue_otherText_givesNone()
{
    QFETCH(QString, raw);
    QCOMPARE(tagSortOptionFromRawValue(raw), std::nullopt);
}

QTEST_GUILESS_MAIN(TestTagOrdering)
#include "tst_tagordering.moc"
