// The models behind the tag list and a tag's notes, following the journal's changes.

#include "TestEnvironment.h"

#include "core/TagFilterModel.h"
#include "core/TagListModel.h"
#include "core/TagNotesModel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

namespace {

// What the rows show, from the top.
QStringList rowsOf(const QAbstractItemModel &model)
{
    QStringList result;
    for (int row = 0; row < model.rowCount(); ++row)
        result.append(model.index(row, 0).data().toString());
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
        m_store->write(QDate(2026, 1, 5), QStringLiteral("#beta #Alpha"));
        m_store->write(QDate(2026, 1, 9), QStringLiteral("#alpha #gamma"));
        m_store->write(QDate(2026, 1, 2), QStringLiteral("#zeta #strasse"));
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
        QCOMPARE(rowsOf(model), shown);
    }

    void tagsAndATagsNotes_followTheJournal()
    {
        Journal *journal = m_store->journal();
        TagListModel tags(journal);
        TagFilterModel model(&tags);
        QAbstractItemModelTester tester(&model);
        model.setOrder(TagOrder::MostRecent);
        QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);

        m_store->write(QDate(2026, 2, 1), QStringLiteral("#zeta again"));
        m_store->write(QDate(2026, 1, 20), QStringLiteral("#new1 #new2"));
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
        m_store->write(d3, QStringLiteral("#a third"));
        m_store->write(d1, QStringLiteral("#a first"));
        const Tag *a = journal->tags().value().last();
        TagNotesModel notes(journal, a);
        QAbstractItemModelTester notesTester(&notes);
        QCOMPARE(rowsOf(notes), (QStringList{"#a third", "#a first"}));

        m_store->write(d2, QStringLiteral("#a second"));
        QCOMPARE(rowsOf(notes), (QStringList{"#a third", "#a second", "#a first"}));
        QSignalSpy changed(&notes, &QAbstractItemModel::dataChanged);
        m_store->write(d1, QStringLiteral("#a first, longer\nand a second line"));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(rowsOf(notes), (QStringList{"#a third", "#a second", "#a first, longer"}));
        m_store->write(d3, QStringLiteral("untagged"));
        QCOMPARE(rowsOf(notes), (QStringList{"#a second", "#a first, longer"}));

        journal->removeTag(a);
        QCOMPARE(notes.tag(), nullptr);
        QCOMPARE(notes.rowCount(), 0);
    }

private:
    std::unique_ptr<lqtest::TemporaryJournal> m_store;
};

QTEST_GUILESS_MAIN(TagModelsTest)
#include "tst_tagmodels.moc"
