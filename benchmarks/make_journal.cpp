// Writes a generated journal for measurements: one note a day, ending today, with a few
// hashtags from a fixed pool, a thousand days to a transaction.
// Usage: lq_make_journal PATH DAYS

#include "core/JournalDatabase.h"
#include "core/TagSync.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <QStringList>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 3) {
        std::fputs("usage: lq_make_journal PATH DAYS\n", stderr);
        return 2;
    }
    auto database = JournalDatabase::open(arguments.at(1));
    if (!database) {
        std::fprintf(stderr, "%s\n", qPrintable(database.error()));
        return 1;
    }
    JournalDatabase &journal = **database;
    const int days = arguments.at(2).toInt();
    QRandomGenerator random(20261206);
    const QStringList words =
        QStringLiteral(
            "morning walk coffee rain wrote read called friend garden train quiet evening work "
            "dinner letter music long day light market river slept early late city")
            .split(QLatin1Char(' '));
    const QDate last = QDate::currentDate();
    const QDateTime now = QDateTime::currentDateTime();
    for (int first = days - 1; first >= 0; first -= 1000) {
        Transaction transaction = journal.transaction();
        for (int i = first; i > first - 1000 && i >= 0; --i) {
            QString text;
            for (int w = 0; w < 100; ++w)
                text +=
                    words.at(random.bounded(words.size())) + QLatin1Char(w % 12 == 11 ? '\n' : ' ');
            for (int t = 0; t < 3; ++t)
                text += QStringLiteral(" #topic%1").arg(random.bounded(40));
            const auto note = journal.insertNote(last.addDays(-i), text);
            const auto synced =
                note ? syncTags(journal, *note, text, now) : Result<TagSyncChanges>(note.failure());
            if (!synced) {
                std::fprintf(stderr, "%s\n", qPrintable(synced.error()));
                return 1;
            }
        }
        if (const auto committed = transaction.commit(); !committed) {
            std::fprintf(stderr, "%s\n", qPrintable(committed.error()));
            return 1;
        }
    }
    return 0;
}
