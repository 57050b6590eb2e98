// The models behind the tag list and a tag's notes: the three orders, the search, and rows
// that follow the journal's changes one by one.

#include "TestEnvironment.h"

#include "core/Journal.h"
#include "core/TagFilterModel.h"
#include "core/TagListModel.h"
#include "core/TagNotesModel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

namespace {

void write(Journal *journal, QDate day, const QString &text)
{
    journal->setText(journal->noteForDay(day).value(), text);
}

QStringList names(const TagFilterModel &model)
{
    QStringList result;
    for (int row = 0; row < model.rowCount(); ++row)
        result.append(model.index(row, 0).data().toString());
    return result;
}

QList<QDate> days(const TagNotesModel &model)
{
    QList<QDate> result;
    for (int row = 0; row < model.rowCount(); ++row)
        result.append(model.noteAt(model.index(row))->day);
    return result;
}

} // namespace

class TagModelsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { lqtest::pinEnvironment(); }
    // Made in this order: beta, Alpha, alpha, gamma, zeta, strasse.
    void init()
    {
        m_store = std::make_unique<lqtest::TemporaryJournal>();
        write(m_store->journal(), QDate(2026, 1, 5), QStringLiteral("#beta #Alpha"));
        write(m_store->journal(), QDate(2026, 1, 9), QStringLiteral("#alpha #gamma"));
        write(m_store->journal(), QDate(2026, 1, 2), QStringLiteral("#zeta #strasse"));
    }

    void cleanup() { m_store.reset(); }

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
        QTest::newRow("The search ignores case, in the order chosen")
            << TagOrder::NameDescending << QStringLiteral("AL") << QStringList{"Alpha", "alpha"};
        QTest::newRow("The search folds case fully")
            << TagOrder::MostRecent << QStringLiteral("STRAß") << QStringList{"strasse"};
        QTest::newRow("An accented letter does not match a bare one")
            << TagOrder::NameAscending << QStringLiteral("bé") << QStringList{};
    }

    void tags_areOrderedAndSearched()
    {
        QFETCH(TagOrder, order);
        QFETCH(QString, search);
        QFETCH(QStringList, shown);
        TagListModel tags(m_store->journal());
        TagFilterModel model(&tags);
        QAbstractItemModelTester tester(&model);
        model.setOrder(order);
        model.setSearchText(search);
        QCOMPARE(names(model), shown);
    }

    void tags_followTheJournal()
    {
        Journal *journal = m_store->journal();
        TagListModel tags(journal);
        TagFilterModel model(&tags);
        QAbstractItemModelTester tester(&model);
        model.setOrder(TagOrder::MostRecent);
        QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);

        write(journal, QDate(2026, 2, 1), QStringLiteral("#zeta again"));
        write(journal, QDate(2026, 1, 20), QStringLiteral("#new1 #new2"));
        QCOMPARE(inserted.count(), 1);
        QCOMPARE(names(model), (QStringList{"zeta", "new1", "new2", "alpha", "gamma", "beta",
                                            "Alpha", "strasse"}));
        // Losing its latest note sends a tag back to its earlier one.
        write(journal, QDate(2026, 2, 1), QString());
        QCOMPARE(names(model).indexOf(QStringLiteral("zeta")), 6);

        journal->removeTag(model.tagAt(model.index(0, 0)));
        QCOMPARE(names(model).first(), QStringLiteral("new2"));
        QCOMPARE(model.rowCount(), 7);
    }

    void tagNotes_areNewestFirst_andFollowTheJournal()
    {
        Journal *journal = m_store->journal();
        const QDate d1(2026, 5, 1), d2(2026, 5, 2), d3(2026, 5, 3);
        write(journal, d3, QStringLiteral("#a third"));
        write(journal, d1, QStringLiteral("#a first"));
        const Tag *a = journal->tags().value().last();
        TagNotesModel model(journal, a);
        QAbstractItemModelTester tester(&model);
        QCOMPARE(days(model), (QList<QDate>{d3, d1}));

        write(journal, d2, QStringLiteral("#a second"));
        QCOMPARE(days(model), (QList<QDate>{d3, d2, d1}));
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        write(journal, d1, QStringLiteral("#a first, longer"));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(model.index(2).data().toString(), QStringLiteral("#a first, longer"));
        write(journal, d3, QStringLiteral("untagged"));
        QCOMPARE(days(model), (QList<QDate>{d2, d1}));

        journal->removeTag(a);
        QCOMPARE(model.tag(), nullptr);
        QCOMPARE(model.rowCount(), 0);
    }

private:
    std::unique_ptr<lqtest::TemporaryJournal> m_store;
};

QTEST_GUILESS_MAIN(TagModelsTest)
#include "tst_tagmodels.moc"
