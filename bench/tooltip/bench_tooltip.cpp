// How long the welcome tip takes to parse and measure, as the tooltip does each time it shows it.
// Prints the median of the repetitions; the target is well under a millisecond.
//
//     bench_tooltip [--benchmark_repetitions=N]
#include "tooltip/markup_layout.h"
#include "tooltip/markup_parser.h"
#include "tooltip/tip_texts.h"

#include <benchmark/benchmark.h>

#ifdef CW_BENCH_WITH_QT
#include "tooltip/qt/markup_drawer.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#endif

#include <cstdlib>
#include <string>
#include <vector>

namespace {

void BM_ParseWelcome(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(markup::Parse(tooltip::kWelcomeText));
    }
}
BENCHMARK(BM_ParseWelcome);

void BM_ParseAndLayoutWelcomeFixedFont(benchmark::State& state) {
    const markup::FixedMetrics metrics;
    for (auto _ : state) {
        const markup::Document doc = markup::Parse(tooltip::kWelcomeText);
        benchmark::DoNotOptimize(markup::Layout(doc, metrics));
    }
}
BENCHMARK(BM_ParseAndLayoutWelcomeFixedFont);

#ifdef CW_BENCH_WITH_QT
const QString& WelcomeText() {
    static const QString text =
        QString::fromUtf8(tooltip::kWelcomeText.data(), static_cast<qsizetype>(tooltip::kWelcomeText.size()));
    return text;
}

// What the tooltip does before showing the welcome tip the first time: parse, look the fonts up and
// shape every run.
void BM_ParseAndMeasureWelcomeQt(benchmark::State& state) {
    for (auto _ : state) {
        tooltip::MarkupDrawer drawer(QApplication::palette());
        benchmark::DoNotOptimize(drawer.Measure(WelcomeText()));
    }
}
BENCHMARK(BM_ParseAndMeasureWelcomeQt)->Unit(benchmark::kMicrosecond);

// Showing it again (or laying it out again for a hover change): the drawer keeps its fonts and the
// widths of runs it measured; the text is parsed again each time.
void BM_ParseAndMeasureWelcomeAgainQt(benchmark::State& state) {
    tooltip::MarkupDrawer drawer(QApplication::palette());
    drawer.Measure(WelcomeText());
    for (auto _ : state) {
        drawer.SetStyleSheet(markup::DefaultStyleSheetText()); // forgets the parsed text
        benchmark::DoNotOptimize(drawer.Measure(WelcomeText()));
    }
}
BENCHMARK(BM_ParseAndMeasureWelcomeAgainQt)->Unit(benchmark::kMicrosecond);

// Painting the measured text, for comparison.
void BM_DrawWelcomeQt(benchmark::State& state) {
    tooltip::MarkupDrawer drawer(QApplication::palette());
    const QSize size = drawer.Measure(WelcomeText());
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter painter(&image);
        drawer.Draw(painter, image.rect(), WelcomeText());
    }
}
BENCHMARK(BM_DrawWelcomeQt)->Unit(benchmark::kMicrosecond);
#endif

} // namespace

int main(int argc, char** argv) {
    // Medians of 15 repetitions unless the command line asks for something else.
    std::vector<char*> args(argv, argv + argc);
    std::string repetitions = "--benchmark_repetitions=15";
    std::string aggregates = "--benchmark_report_aggregates_only=true";
    if (argc == 1) {
        args.push_back(repetitions.data());
        args.push_back(aggregates.data());
    }
    int count = static_cast<int>(args.size());
#ifdef CW_BENCH_WITH_QT
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
#endif
    benchmark::Initialize(&count, args.data());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
