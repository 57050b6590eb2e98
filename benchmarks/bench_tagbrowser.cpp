// The tag browser over a tag with ten thousand notes: opening it and painting the first
// screen, then scrolling. Only the cards in view may read their note's text, so both should
// cost about the same as for a tag with a handful of notes.

#include "app/SelectionState.h"
#include "app/tagbrowser/NoteCardGrid.h"
#include "app/tagbrowser/TagNotesPage.h"
#include "core/Journal.h"
#include "core/JournalDatabase.h"
#include "core/TagSync.h"

#include <QApplication>
#include <QScrollBar>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int noteCount = 10000;

QString journalPath()
{
    static QTemporaryDir folder;
    return folder.filePath(QStringLiteral("journal.sqlite"));
}

// Written once per process, in one transaction; every run reopens it, so no text starts out
// loaded.
bool writeJournal()
{
    auto database = JournalDatabase::open(journalPath());
    if (!database)
        return false;
    Transaction transaction = (*database)->transaction();
    const QDate last = QDate::currentDate();
    for (int i = 0; i < noteCount; ++i) {
        const QString text = QStringLiteral("Day %1 #daily\nwalked to the river, read, wrote "
                                            "letters\n\nlong evening, early night")
                                 .arg(i);
        const auto note = (*database)->insertNote(last.addDays(-i), text);
        if (!note || !syncTags(**database, *note, text, QDateTime::currentDateTime()))
            return false;
    }
    return transaction.commit().ok();
}

std::unique_ptr<Journal> openJournal(benchmark::State &state, const Tag **tag)
{
    static const bool written = writeJournal();
    auto journal =
        written ? Journal::open(journalPath()) : Result<std::unique_ptr<Journal>>(Failure{});
    *tag = journal ? (*journal)->tags().value().value(0) : nullptr;
    if (!*tag) {
        state.SkipWithError("no journal to browse");
        return nullptr;
    }
    return std::move(journal).value();
}

void openAndPaintFirstScreen(benchmark::State &state)
{
    SelectionState selection;
    for (auto _ : state) {
        state.PauseTiming();
        const Tag *tag = nullptr;
        auto journal = openJournal(state, &tag);
        if (!tag)
            break;
        state.ResumeTiming();

        TagNotesPage view(journal.get(), tag, &selection);
        view.resize(900, 760);
        view.show();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(view.grab());

        state.PauseTiming();
        view.hide();
        state.ResumeTiming();
    }
}
BENCHMARK(openAndPaintFirstScreen)->Unit(benchmark::kMillisecond);

// Each step scrolls by one screen onto cards not yet painted, as far down as the notes go.
void scrollOneScreen(benchmark::State &state)
{
    SelectionState selection;
    const Tag *tag = nullptr;
    auto journal = openJournal(state, &tag);
    if (!tag)
        return;
    TagNotesPage view(journal.get(), tag, &selection);
    view.resize(900, 760);
    view.show();
    QCoreApplication::processEvents();
    QScrollBar *bar = view.grid()->verticalScrollBar();
    for (auto _ : state) {
        const int next = bar->value() + bar->pageStep();
        bar->setValue(next > bar->maximum() ? 0 : next);
        benchmark::DoNotOptimize(view.grid()->viewport()->grab());
    }
}
BENCHMARK(scrollOneScreen)->Unit(benchmark::kMicrosecond);

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
