// What one keystroke costs in the program's window, against the same keystroke in a bare
// line edit, in the same run.
//
// In the window, Text1 (plate length) is typed into while Text2, Text3 (width, thickness) and
// Text25 (the calculator's second operand) hold numbers, so that every keystroke runs the whole
// cascade: the plate weight on Label26, its forwarding into Text24, and the calculator's result
// on Label32. The bare line edit has Text1's font and size in a window of its own. Each
// iteration types a digit and then Backspace, and lets both keystrokes be painted, so every
// keystroke really changes the text (and, in the window, every label down the cascade).
//
// Prints Google Benchmark's table (medians over the repetitions, the two benchmarks randomly
// interleaved) and then the cost per keystroke of each and their ratio.
//
//   bench_keystroke [Google Benchmark flags]
// Runs on the X display where there is one, else on Qt's offscreen platform.

#include "app/qt/mainwindow.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

QLineEdit *windowField = nullptr;
QLineEdit *bareField = nullptr;

// One digit typed and taken back again, each keystroke painted before the next.
void typeAndErase(benchmark::State &state, QLineEdit *field)
{
    field->end(false);
    while (state.KeepRunning()) {
        QTest::keyClick(field, Qt::Key_7);
        QCoreApplication::processEvents();
        QTest::keyClick(field, Qt::Key_Backspace);
        QCoreApplication::processEvents();
    }
    state.SetItemsProcessed(2 * state.iterations());
}

void keystrokeInWindow(benchmark::State &state)
{
    typeAndErase(state, windowField);
}

void keystrokeInBareLineEdit(benchmark::State &state)
{
    typeAndErase(state, bareField);
}

BENCHMARK(keystrokeInWindow)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);
BENCHMARK(keystrokeInBareLineEdit)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);

// Per iteration, in microseconds: wall-clock time (what the user waits, the X server's share
// included) and this process's CPU time.
struct Times
{
    double real = -1;
    double cpu = -1;
};

// Keeps the median times of each benchmark (or its one time, without repetitions).
class MedianReporter : public benchmark::ConsoleReporter
{
public:
    explicit MedianReporter(OutputOptions options)
        : ConsoleReporter(options)
    { }

    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs) {
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            const bool single = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
            if (median || single)
                times_[run.run_name.function_name]
                    = { run.GetAdjustedRealTime() * microsecondsPer(run.time_unit),
                          run.GetAdjustedCPUTime() * microsecondsPer(run.time_unit) };
        }
        ConsoleReporter::ReportRuns(runs);
    }

    [[nodiscard]] Times timesPerIteration(const std::string &name) const
    {
        const auto found = times_.find(name);
        return found == times_.end() ? Times {} : found->second;
    }

private:
    static double microsecondsPer(benchmark::TimeUnit unit)
    {
        switch (unit) {
        case benchmark::kNanosecond:
            return 1e-3;
        case benchmark::kMicrosecond:
            return 1.0;
        case benchmark::kMillisecond:
            return 1e3;
        case benchmark::kSecond:
            return 1e6;
        }
        return 1.0;
    }

    std::map<std::string, Times> times_;
};

QString labelText(const QWidget *window, const char *name)
{
    return window->findChild<QLabel *>(QLatin1String(name))->text();
}

// The window's keystroke must reach the end of the cascade, or the comparison means nothing.
bool cascadeRunsToTheCalculator(const QWidget *window)
{
    windowField->end(false);
    const QString before = labelText(window, "Label32");
    QTest::keyClick(windowField, Qt::Key_7);
    const QString typed = labelText(window, "Label32");
    QTest::keyClick(windowField, Qt::Key_Backspace);
    const QString erased = labelText(window, "Label32");
    std::printf("Label32 shows %s, after typing 7 in Text1 %s, after Backspace %s\n",
        qPrintable(before), qPrintable(typed), qPrintable(erased));
    return typed != before && erased == before;
}

} // namespace

int main(int argc, char *argv[])
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM") && !qEnvironmentVariableIsSet("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    tarnwick::MainWindow window;
    window.show();
    windowField = window.findChild<QLineEdit *>(QStringLiteral("Text1"));
    const std::pair<const char *, const char *> filled[]
        = { { "Text1", "12" }, { "Text2", "1500" }, { "Text3", "8" }, { "Text25", "2" } };
    for (const auto &[name, text] : filled)
        window.findChild<QLineEdit *>(QLatin1String(name))->setText(QLatin1String(text));

    QWidget bareWindow;
    bareWindow.resize(window.size());
    bareField = new QLineEdit(QStringLiteral("12"), &bareWindow);
    bareField->setFont(windowField->font());
    bareField->setGeometry(windowField->geometry());
    bareWindow.show();

    if (!QTest::qWaitForWindowExposed(&window) || !QTest::qWaitForWindowExposed(&bareWindow)) {
        std::fprintf(stderr, "the windows were not shown\n");
        return 1;
    }
    if (!cascadeRunsToTheCalculator(&window)) {
        std::fprintf(stderr, "a keystroke in Text1 does not reach Label32: nothing to measure\n");
        return 1;
    }

    // Interleaved by default, so that both see the same state of the machine; later flags win.
    std::vector<char *> arguments { argv[0] };
    std::string interleave = "--benchmark_enable_random_interleaving=true";
    arguments.push_back(interleave.data());
    for (int i = 1; i < argc; ++i)
        arguments.push_back(argv[i]);
    int argumentCount = static_cast<int>(arguments.size());
    benchmark::Initialize(&argumentCount, arguments.data());
    if (benchmark::ReportUnrecognizedArguments(argumentCount, arguments.data()))
        return 1;

    MedianReporter reporter(isatty(STDOUT_FILENO) != 0 ? benchmark::ConsoleReporter::OO_Color
                                                       : benchmark::ConsoleReporter::OO_None);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    // Two keystrokes an iteration.
    const Times inWindow = reporter.timesPerIteration("keystrokeInWindow");
    const Times inBare = reporter.timesPerIteration("keystrokeInBareLineEdit");
    if (inWindow.real <= 0 || inBare.real <= 0)
        return 0; // a filter left one of them out: no ratio
    std::printf("\nper keystroke (median)                       wall-clock   CPU time\n");
    std::printf("in the window (cascade to Label32)          %8.1f us %8.1f us\n",
        inWindow.real / 2, inWindow.cpu / 2);
    std::printf("in a bare QLineEdit                         %8.1f us %8.1f us\n", inBare.real / 2,
        inBare.cpu / 2);
    std::printf("ratio (goal: at most 3)                     %8.2f    %8.2f\n",
        inWindow.real / inBare.real, inWindow.cpu / inBare.cpu);
    return 0;
}
