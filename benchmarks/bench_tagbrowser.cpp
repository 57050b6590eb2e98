// The tag browser over a tag with ten thousand notes: opening it and painting the first
// screen, then scrolling. Only the cards in view may read their note's text, so both should
// cost about the same as for a tag with a handful of notes.

#include "SelectionState.h"
#include "model/ModelContainer.h"
#include "model/ModelContext.h"
#include "model/Note.h"
#include "model/Tag.h"
#include "tagbrowser/TagNotesView.h"

#include <QApplication>
#include <QListView>
#include <QScrollBar>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int noteCount = 10000;
const QString tagName = QStringLiteral("daily");

QString journalPath()
{
    static QTemporaryDir folder;
    return folder.filePath(QStringLiteral("journal.sqlite"));
}

// Written once per process; every run reopens it, so no text starts out loaded.
bool writeJournal()
{
    QString error;
    auto container = ModelContainer::open(journalPath(), &error);
    if (!container)
        return false;
    ModelContext *context = container->mainContext();
    auto *tag = new Tag(tagName, QDateTime::currentDateTime());
    context->insert(tag);
    const QDate last = QDate::currentDate();
    for (int i = 0; i < noteCount; ++i) {
        auto *note = new Note(last.addDays(-i).startOfDay(),
                              QStringLiteral("Day %1 #daily\nwalked to the river, read, wrote "
                                             "letters\n\nlong evening, early night")
                                  .arg(i));
        context->insert(note);
        note->addTag(tag);
    }
    return context->save();
}

std::unique_ptr<ModelContainer> openJournal(benchmark::State &state, Tag **tag)
{
    static const bool written = writeJournal();
    QString error;
    auto container = written ? ModelContainer::open(journalPath(), &error) : nullptr;
    *tag = container ? container->mainContext()->fetchTag(tagName).record : nullptr;
    if (!*tag)
        state.SkipWithError("no journal to browse");
    return container;
}

void openAndPaintFirstScreen(benchmark::State &state)
{
    SelectionState selection;
    for (auto _ : state) {
        state.PauseTiming();
        Tag *tag = nullptr;
        auto container = openJournal(state, &tag);
        if (!tag)
            break;
        state.ResumeTiming();

        TagNotesView view(tag, &selection);
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
    Tag *tag = nullptr;
    auto container = openJournal(state, &tag);
    if (!tag)
        return;
    TagNotesView view(tag, &selection);
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
