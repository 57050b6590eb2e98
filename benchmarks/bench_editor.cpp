// The editor under big notes: opening one, pasting into one until the paste is saved, and
// the CPU an idle window uses afterwards. Each runs once, in a fresh journal.

#include "app/MainWindow.h"
#include "app/editor/NoteEditor.h"
#include "app/editor/NoteTextEdit.h"
#include "core/Journal.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>

#include <benchmark/benchmark.h>
#include <sys/resource.h>

namespace {

QString noteOfKind(int kind)
{
    switch (kind) {
    case 0: // 1 MB of prose
        return QStringLiteral("A quiet evening by the river with a friend. ").repeated(23300);
    case 1: // 1,000,000 short lines
        return QStringLiteral("x\n").repeated(1000000);
    case 2: // 50 MB of prose lines
        return QStringLiteral("Walked along the river in the rain, then home.\n").repeated(1070000);
    case 3: { // 100,000 hashtags
        QString tags;
        for (int i = 0; i < 100000; ++i)
            tags += QStringLiteral("#t%1 ").arg(i);
        return tags;
    }
    case 4: // 250,000 short lines
        return QStringLiteral("x\n").repeated(250000);
    case 5: // 10 MB on one line
        return QString(10 * 1024 * 1024, u'x');
    default: // 10 MB in 250,000 lines of words
        return QStringLiteral("0123456789 abcdefghijklmnopqrstuvwxyz #ten\n").repeated(250000);
    }
}

const char *const kindNames[] = {"1 MB",
                                 "1,000,000 lines",
                                 "50 MB",
                                 "100,000 hashtags",
                                 "250,000 lines",
                                 "10 MB in one line",
                                 "10 MB in 250,000 lines"};

// The longest the event loop was kept from the user, in milliseconds.
qint64 longestBlock = 0;

void noteBlock(const QElapsedTimer &clock)
{
    longestBlock = std::max(longestBlock, clock.elapsed());
}

// Runs the event loop for a while, as a user's window would.
void spin(int milliseconds)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < milliseconds) {
        QElapsedTimer call;
        call.start();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        noteBlock(call);
        QThread::msleep(1);
    }
}

double cpuSeconds()
{
    rusage usage = {};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// From a window being made until today's note, already in the journal, is on screen.
void openNote(benchmark::State &state)
{
    QTemporaryDir dir;
    auto journal = Journal::open(dir.filePath(QStringLiteral("journal.sqlite"))).value();
    journal->setText(journal->noteForDay(QDate::currentDate()).value(),
                     noteOfKind(int(state.range(0))));
    state.SetLabel(kindNames[state.range(0)]);
    for (auto _ : state) {
        MainWindow window(journal.get());
        window.show();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(window.editor()->textEdit()->document()->blockCount());
    }
}
BENCHMARK(openNote)->DenseRange(0, 2)->Iterations(1)->Unit(benchmark::kMillisecond);

// From the paste key until the pasted text is in the journal, then the CPU time of the
// two seconds after, with the insertion bar blinking; and the longest single stretch in that
// time (the paste itself, or one turn of the event loop) in which the window could not
// answer.
void pasteAndSave(benchmark::State &state)
{
    QTemporaryDir dir;
    auto journal = Journal::open(dir.filePath(QStringLiteral("journal.sqlite"))).value();
    const QString pasted = noteOfKind(int(state.range(0)));
    state.SetLabel(kindNames[state.range(0)]);
    MainWindow window(journal.get());
    window.show();
    QCoreApplication::processEvents();
    NoteTextEdit *text = window.editor()->textEdit();
    const Note *note = journal->noteForDay(QDate::currentDate()).value();
    QApplication::clipboard()->setText(pasted);
    longestBlock = 0;
    for (auto _ : state) {
        QElapsedTimer call;
        call.start();
        text->paste();
        noteBlock(call);
        while (journal->hasUnsavedChanges() || journal->text(note).value().size() != pasted.size())
            spin(5);
    }
    const double before = cpuSeconds();
    spin(2000);
    state.counters["idle_cpu_%"] = (cpuSeconds() - before) / 2 * 100;
    state.counters["longest_block_ms"] = double(longestBlock);
}
BENCHMARK(pasteAndSave)->DenseRange(3, 6)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
}
