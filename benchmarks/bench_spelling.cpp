// The editor on a note of a million lines, with spell checking off (checking:0) and on
// (checking:1): putting the note in place and painting the first screen (and laying it all
// out, laidOut:1), typing a word, and paging down. Only the lines on screen are checked, so
// the two should cost about the same.

#include "app/editor/NoteTextEdit.h"
#include "app/editor/SpellChecker.h"

#include <QApplication>
#include <QKeyEvent>
#include <QScrollBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextLayout>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

// LQ_BENCH_LINES sets another number of lines.
const int lineCount = qEnvironmentVariableIsSet("LQ_BENCH_LINES")
                          ? qEnvironmentVariableIntValue("LQ_BENCH_LINES")
                          : 1000000;

const QString &millionLines()
{
    static const QString text = [] {
        QString lines;
        lines.reserve(lineCount * 40);
        for (int i = 0; i < lineCount; ++i)
            lines += QStringLiteral("Line %1 has a fw wrds to chek #tag\n").arg(i);
        return lines;
    }();
    return text;
}

// An editor on screen with checking as the benchmark's argument says, its dictionary loaded.
std::unique_ptr<NoteTextEdit> makeEditor(const benchmark::State &state)
{
    QSettings(QStringLiteral("lumenquill"), QStringLiteral("lumenquill"))
        .setValue(QStringLiteral("editor/checkSpelling"), state.range(0) != 0);
    auto edit = std::make_unique<NoteTextEdit>();
    edit->resize(900, 760);
    edit->show();
    edit->spellChecker()->hasDictionary();
    QCoreApplication::processEvents();
    return edit;
}

// Qt lays a long note out in steps after it is put in place.
void layOutToTheEnd(NoteTextEdit *edit)
{
    while (edit->document()->lastBlock().layout()->lineCount() == 0)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    QCoreApplication::processEvents();
}

void type(NoteTextEdit *edit, const QString &text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(edit, &press);
        QCoreApplication::processEvents();
    }
}

// Until the first screen is painted, and until the note is laid out to its end, when the
// first screen gets its marks.
void openMillionLines(benchmark::State &state)
{
    auto edit = makeEditor(state);
    for (auto _ : state) {
        edit->setNoteText(millionLines());
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(edit->viewport()->grab());
        if (state.range(1) != 0) {
            layOutToTheEnd(edit.get());
            benchmark::DoNotOptimize(edit->viewport()->grab());
        }

        state.PauseTiming();
        edit->setNoteText(QString());
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(openMillionLines)
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->ArgNames({"checking", "laidOut"})
    ->Unit(benchmark::kMillisecond);

// A misspelled word and a space at the top, each key painted, while Qt lays the rest of the
// note out in the background as it does after opening it.
void typeAWord(benchmark::State &state)
{
    auto edit = makeEditor(state);
    edit->setNoteText(millionLines());
    QCoreApplication::processEvents();
    for (auto _ : state) {
        type(edit.get(), QStringLiteral("wrod "));
        benchmark::DoNotOptimize(edit->viewport()->grab());
    }
}
BENCHMARK(typeAWord)->Arg(0)->Arg(1)->ArgName("checking")->Unit(benchmark::kMicrosecond);

// Each step shows a screen of lines not seen before, as far as the note is laid out.
void pageDown(benchmark::State &state)
{
    auto edit = makeEditor(state);
    edit->setNoteText(millionLines());
    QCoreApplication::processEvents();
    QScrollBar *bar = edit->verticalScrollBar();
    for (auto _ : state) {
        const int next = bar->value() + bar->pageStep();
        bar->setValue(next > bar->maximum() ? 0 : next);
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(edit->viewport()->grab());
    }
}
BENCHMARK(pageDown)->Arg(0)->Arg(1)->ArgName("checking")->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    // The settings and Enchant's word lists away from the user's.
    QTemporaryDir settings;
    qputenv("XDG_CONFIG_HOME", settings.path().toLocal8Bit());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
