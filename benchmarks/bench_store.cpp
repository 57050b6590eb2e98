// The store on a hundred years of daily notes: what start-up and a day pick cost.
// Uses the journal named by LQ_BENCH_JOURNAL (make one with lq_make_journal), or an empty
// one in a temporary folder.

#include "ContentView.h"
#include "model/ModelContainer.h"
#include "model/ModelContext.h"
#include "sidebar/TagSortOption.h"

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

std::unique_ptr<ModelContainer> openJournal(benchmark::State &state)
{
    QString error;
    auto container = ModelContainer::open(journalPath(), &error);
    if (!container)
        state.SkipWithError(qPrintable(error));
    return container;
}

void openContainer(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(openJournal(state));
}
BENCHMARK(openContainer)->Unit(benchmark::kMillisecond);

void windowFirstShow(benchmark::State &state)
{
    for (auto _ : state) {
        auto container = openJournal(state);
        ContentView window(container->mainContext());
        window.show();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(window.editor());
    }
}
BENCHMARK(windowFirstShow)->Unit(benchmark::kMillisecond);

void fetchDayNotYetLoaded(benchmark::State &state)
{
    auto container = openJournal(state);
    QDate day = QDate::currentDate();
    for (auto _ : state) {
        day = day.addDays(-1);
        benchmark::DoNotOptimize(container->mainContext()->fetchNote(day));
    }
}
BENCHMARK(fetchDayNotYetLoaded);

void daysWithNotesOfAMonth(benchmark::State &state)
{
    auto container = openJournal(state);
    const QDate first = QDate::currentDate().addDays(-40);
    for (auto _ : state)
        benchmark::DoNotOptimize(
            container->mainContext()->noteDaysBetween(first, first.addDays(41)));
}
BENCHMARK(daysWithNotesOfAMonth);

// Choosing "Most Recent" on a journal just opened: every tag's latest note day.
void recentOrderFirstTime(benchmark::State &state)
{
    for (auto _ : state) {
        auto container = openJournal(state);
        ModelContext *context = container->mainContext();
        benchmark::DoNotOptimize(visibleTags(context->allTags(), QString(), TagSortOption::recent));
    }
}
BENCHMARK(recentOrderFirstTime)->Unit(benchmark::kMillisecond);

// The same order rebuilt after a change, as the sidebar does after every save.
void recentOrderAgain(benchmark::State &state)
{
    auto container = openJournal(state);
    ModelContext *context = container->mainContext();
    visibleTags(context->allTags(), QString(), TagSortOption::recent);
    for (auto _ : state)
        benchmark::DoNotOptimize(visibleTags(context->allTags(), QString(), TagSortOption::recent));
}
BENCHMARK(recentOrderAgain);

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
