// The journal on a hundred years of daily notes: what start-up, a day pick and the tag list
// cost. Uses the journal named by LQ_BENCH_JOURNAL (make one with lq_make_journal), or an
// empty one in a temporary folder.

#include "app/MainWindow.h"
#include "core/Journal.h"
#include "core/TagFilterModel.h"
#include "core/TagListModel.h"

#include <QApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

QString journalPath()
{
    static QTemporaryDir fallback;
    const QString given = qEnvironmentVariable("LQ_BENCH_JOURNAL");
    return given.isEmpty() ? fallback.filePath(QStringLiteral("journal.sqlite")) : given;
}

std::unique_ptr<Journal> openJournal(benchmark::State &state)
{
    auto journal = Journal::open(journalPath());
    if (!journal) {
        state.SkipWithError(qPrintable(journal.error()));
        return nullptr;
    }
    return std::move(journal).value();
}

void openTheJournal(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(openJournal(state));
}
BENCHMARK(openTheJournal)->Unit(benchmark::kMillisecond);

void windowFirstShow(benchmark::State &state)
{
    for (auto _ : state) {
        auto journal = openJournal(state);
        MainWindow window(journal.get());
        window.show();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(window.editor());
    }
}
BENCHMARK(windowFirstShow)->Unit(benchmark::kMillisecond);

// A day whose note is not in memory yet, as a click on the calendar finds it.
void noteOfADayNotYetRead(benchmark::State &state)
{
    auto journal = openJournal(state);
    QDate day = QDate::currentDate();
    for (auto _ : state) {
        day = day.addDays(-1);
        benchmark::DoNotOptimize(journal->noteForDay(day));
    }
}
BENCHMARK(noteOfADayNotYetRead);

void daysWithNotesOfAMonth(benchmark::State &state)
{
    auto journal = openJournal(state);
    const QDate first = QDate::currentDate().addDays(-40);
    for (auto _ : state)
        benchmark::DoNotOptimize(journal->noteDaysBetween(first, first.addDays(41)));
}
BENCHMARK(daysWithNotesOfAMonth);

// What the tag list costs on a journal just opened: its names, which start-up reads, and how
// many notes carry each tag, counted in one pass over the links' index once the window is up.
void tagListFirstTime(benchmark::State &state)
{
    const bool counted = state.range(0) != 0;
    for (auto _ : state) {
        auto journal = openJournal(state);
        TagListModel tags(journal.get());
        if (counted)
            tags.loadNoteCounts();
        benchmark::DoNotOptimize(tags.rowCount());
    }
}
BENCHMARK(tagListFirstTime)->ArgName("counted")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Choosing "Most Recent" on a journal just opened: every tag's latest note day.
void recentOrderFirstTime(benchmark::State &state)
{
    for (auto _ : state) {
        auto journal = openJournal(state);
        TagListModel tags(journal.get());
        TagFilterModel order(&tags);
        order.setOrder(TagOrder::MostRecent);
        benchmark::DoNotOptimize(order.rowCount());
    }
}
BENCHMARK(recentOrderFirstTime)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
