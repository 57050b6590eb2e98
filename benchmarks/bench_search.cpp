// The note search, the index's share of a save and the export, on the journal named by
// LQ_BENCH_JOURNAL (make one with lq_make_journal; 36,500 days for a hundred years).

#include "core/Journal.h"
#include "core/JournalTransfer.h"
#include "core/SearchResultsModel.h"

#include <QCoreApplication>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

QString givenJournal(benchmark::State &state)
{
    const QString given = qEnvironmentVariable("LQ_BENCH_JOURNAL");
    if (given.isEmpty())
        state.SkipWithError("set LQ_BENCH_JOURNAL to a journal made with lq_make_journal");
    return given;
}

// What a keystroke in the search field costs: the query changes and the first page of
// results is read, newest day first.
void searchFirstPage(benchmark::State &state)
{
    static const char *const typed[] = {"r",     "train",      "koln", "\"long day\"",
                                        "#work", "rain garden"};
    const QString path = givenJournal(state);
    if (path.isEmpty())
        return;
    auto journal = Journal::open(path);
    if (!journal) {
        state.SkipWithError(qPrintable(journal.error()));
        return;
    }
    SearchResultsModel results(journal->get());
    const QString query = QString::fromUtf8(typed[state.range(0)]);
    state.SetLabel(typed[state.range(0)]);
    for (auto _ : state) {
        results.setQuery(QString());
        results.setQuery(query);
        benchmark::DoNotOptimize(results.rowCount());
    }
}
BENCHMARK(searchFirstPage)->DenseRange(0, 5)->Unit(benchmark::kMillisecond);

// The save of a 2 KB note, with the index kept in step (indexed:1) and, on a copy of the
// journal whose index triggers are dropped, without it (indexed:0): the difference is what
// the index adds.
void saveOf2KBNote(benchmark::State &state)
{
    const QString given = givenJournal(state);
    if (given.isEmpty())
        return;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("journal.sqlite"));
    QFile::copy(given, path);
    if (state.range(0) == 0) {
        {
            QSqlDatabase db =
                QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("unindexed"));
            db.setDatabaseName(path);
            db.open();
            for (const char *name : {"insert", "delete", "update"})
                QSqlQuery(db).exec(QStringLiteral("DROP TRIGGER notes_search_%1").arg(name));
        }
        QSqlDatabase::removeDatabase(QStringLiteral("unindexed"));
    }
    auto journal = Journal::open(path);
    if (!journal) {
        state.SkipWithError(qPrintable(journal.error()));
        return;
    }
    const Note *note = (*journal)->noteForDay(QDate::currentDate()).value();
    QString text;
    while (text.size() < 2048)
        text += QStringLiteral("Walked along the river in the rain with a friend #walk ");
    int round = 0;
    for (auto _ : state)
        (*journal)->setText(note, text + QString::number(++round));
}
BENCHMARK(saveOf2KBNote)->ArgName("indexed")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void exportEveryNote(benchmark::State &state)
{
    const QString path = givenJournal(state);
    if (path.isEmpty())
        return;
    QTemporaryDir folder; // removed after the timing
    for (auto _ : state) {
        const auto written = exportJournal(path, folder.path());
        if (!written)
            state.SkipWithError(qPrintable(written.error()));
        state.counters["days"] = written ? double(*written) : 0;
    }
}
BENCHMARK(exportEveryNote)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
}
