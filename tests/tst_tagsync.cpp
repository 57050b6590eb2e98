// Tag links follow the hashtags of a note's text: created, reused, unlinked, saved once.

#include "TestEnvironment.h"

#include "model/ModelContext.h"
#include "tags/TagSync.h"

#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>

#include <sys/wait.h>
#include <unistd.h>

namespace {

QStringList sortedNames(const QList<Tag *> &tags)
{
    QStringList names;
    for (const Tag *tag : tags)
        names.append(tag->name());
    names.sort();
    return names;
}

// Links as the store holds them: "note day/tag name" pairs.
QStringList storedLinks(const QString &path)
{
    QStringList links;
    const QVariantList rows = lqtest::queryFile(
        path, QStringLiteral("SELECT n.day || '/' || t.name FROM note_tags l JOIN notes n ON"
                             " n.id = l.note_id JOIN tags t ON t.id = l.tag_id ORDER BY 1"));
    for (const QVariant &row : rows)
        links.append(row.toString());
    return links;
}

} // namespace

class TagSyncTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { lqtest::pinEnvironment(); }

    void successiveTexts_keepLinksInStepOnBothSides_data();
    void successiveTexts_keepLinksInStepOnBothSides();
    void existingTag_isReusedWithItsCreationInstant();
    void unchangedHashtags_costNoLinkChangeButOneSave();
    void failingTagFetch_stopsTheProgramWithTheMessage();
};

void TagSyncTest::successiveTexts_keepLinksInStepOnBothSides_data()
{
    // Each step's text is written into the same note; the note's tags and every tag in the
    // store are checked after it.
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QStringList>("linked");
    QTest::addColumn<QStringList>("stored");
    QTest::newRow("two new tags") << QStringList{QStringLiteral("#a #b")}
                                  << QStringList{QStringLiteral("a"), QStringLiteral("b")}
                                  << QStringList{QStringLiteral("a"), QStringLiteral("b")};
    QTest::newRow("one replaced, the other kept")
        << QStringList{QStringLiteral("#a #b"), QStringLiteral("#b #c")}
        << QStringList{QStringLiteral("b"), QStringLiteral("c")}
        << QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")};
    QTest::newRow("case makes two tags")
        << QStringList{QStringLiteral("#Work and #work")}
        << QStringList{QStringLiteral("Work"), QStringLiteral("work")}
        << QStringList{QStringLiteral("Work"), QStringLiteral("work")};
    QTest::newRow("every hashtag deleted")
        << QStringList{QStringLiteral("#a #b"), QStringLiteral("no tags now")} << QStringList{}
        << QStringList{QStringLiteral("a"), QStringLiteral("b")};
    QTest::newRow("repeated hashtag")
        << QStringList{QStringLiteral("#a #a #a")} << QStringList{QStringLiteral("a")}
        << QStringList{QStringLiteral("a")};
    QTest::newRow("text without hashtags")
        << QStringList{QStringLiteral("plain")} << QStringList{} << QStringList{};
    QTest::newRow("a tag comes back")
        << QStringList{QStringLiteral("#a"), QString(), QStringLiteral("#a")}
        << QStringList{QStringLiteral("a")} << QStringList{QStringLiteral("a")};
}

void TagSyncTest::successiveTexts_keepLinksInStepOnBothSides()
{
    QFETCH(QStringList, texts);
    QFETCH(QStringList, linked);
    QFETCH(QStringList, stored);
    lqtest::TemporaryStore store;
    ModelContext *context = store.context();
    auto *note = new Note(QDate(2026, 5, 1).startOfDay());
    context->insert(note);
    for (const QString &text : texts) {
        note->setContent(text);
        updateTags(context, note, text);
    }
    QCOMPARE(sortedNames(note->tags()), linked);
    QCOMPARE(sortedNames(context->allTags()), stored);
    for (Tag *tag : context->allTags())
        QCOMPARE(tag->notes().contains(note), linked.contains(tag->name()));
    QVERIFY(!context->hasChanges());

    QStringList expectedLinks;
    for (const QString &name : linked)
        expectedLinks.append(QStringLiteral("2026-05-01/") + name);
    QCOMPARE(storedLinks(store.path()), expectedLinks);
}

void TagSyncTest::existingTag_isReusedWithItsCreationInstant()
{
    lqtest::TemporaryStore store;
    ModelContext *context = store.context();
    auto *monday = new Note(QDate(2026, 5, 4).startOfDay());
    auto *tuesday = new Note(QDate(2026, 5, 5).startOfDay());
    context->insert(monday);
    context->insert(tuesday);
    updateTags(context, monday, QStringLiteral("#work"));
    Tag *work = context->fetchTag(QStringLiteral("work")).record;
    const QDateTime created = work->createdAt();
    QVERIFY(qAbs(created.secsTo(QDateTime::currentDateTime())) < 60);

    updateTags(context, tuesday, QStringLiteral("more #work"));
    QCOMPARE(context->allTags().size(), 1);
    QCOMPARE(tuesday->tags(), QList<Tag *>{work});
    QCOMPARE(work->createdAt(), created);
    QCOMPARE(work->notes().size(), 2);
}

void TagSyncTest::unchangedHashtags_costNoLinkChangeButOneSave()
{
    lqtest::TemporaryStore store;
    ModelContext *context = store.context();
    auto *note = new Note(QDate(2026, 5, 4).startOfDay());
    context->insert(note);
    updateTags(context, note, QStringLiteral("#a draft"));
    QSignalSpy tagsChanged(note, &Note::tagsChanged);
    QSignalSpy saves(context, &ModelContext::saveFinished);
    note->setContent(QStringLiteral("#a final"));
    updateTags(context, note, QStringLiteral("#a final"));
    QCOMPARE(tagsChanged.count(), 0);
    QCOMPARE(saves.count(), 1);
    QVERIFY(!context->hasChanges());
}

// The store loses its tags table under the app; the tag update must not invent a second
// tag of a name it could not look up, so the process ends with the message.
void TagSyncTest::failingTagFetch_stopsTheProgramWithTheMessage()
{
    lqtest::TemporaryStore store;
    lqtest::queryFile(store.path(), QStringLiteral("ALTER TABLE tags RENAME TO tags_gone"));

    int errorPipe[2];
    QCOMPARE(::pipe(errorPipe), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(errorPipe[1], STDERR_FILENO);
        auto *note = new Note(QDate(2026, 5, 4).startOfDay());
        store.context()->insert(note);
        updateTags(store.context(), note, QStringLiteral("#lost"));
        ::_exit(0);
    }
    ::close(errorPipe[1]);
    QByteArray errors;
    char buffer[512];
    for (ssize_t n; (n = ::read(errorPipe[0], buffer, sizeof buffer)) > 0;)
        errors.append(buffer, n);
    ::close(errorPipe[0]);
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    QVERIFY(WIFEXITED(status));
    QVERIFY(WEXITSTATUS(status) != 0);
    QVERIFY2(errors.startsWith("Failed to fetch or create tag lost: "), errors.constData());
    QVERIFY2(errors.contains("tags"), errors.constData());
}

QTEST_GUILESS_MAIN(TagSyncTest)
#include "tst_tagsync.moc"
