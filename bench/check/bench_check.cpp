// The gift checker on a 1,000-card quiz (with and without the font test), and the story map's layout of
// 200 cards (the editor's limit) with 3 to 6 links each.
#include "check/checker.h"
#include "check/glyph_tips.h"
#include "check/story_map.h"

#include <benchmark/benchmark.h>

#include <random>

namespace {

// Cards with 3 to `maxLinks` links, mostly forward, some back (loops that add points), a third of them
// with a condition, a few past the end.
model::Project Quiz(int cards, int maxLinks) {
    std::mt19937 random(20);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    model::Project p;
    p.settings = model::NewProjectSettings();
    const char* ops[] = {">", ">=", "=", "<=", "<"};
    for (int c = 0; c < cards; ++c) {
        auto card = model::CCardInfo::MakeNew(c);
        const int links = pick(3, maxLinks);
        for (int l = 0; l < links; ++l) {
            const int go = pick(0, 9) == 0 ? pick(0, cards) : std::min(cards, c + pick(1, 5));
            const bool conditional = pick(0, 2) == 0;
            card->m_pLinks->AddLink("Answer " + std::to_string(l + 1), go, pick(-5, 20), -1,
                                    conditional ? ops[pick(0, 4)] : "", pick(0, 400),
                                    std::min(cards - 1, c + pick(1, 8)));
        }
        p.cards.push_back(std::move(card));
    }
    return p;
}

std::filesystem::path Data() {
    return CW_BENCH_DATA_DIR;
}

void BM_Check1000Cards(benchmark::State& state) {
    const model::Project p = Quiz(1000, 10);
    const check::CheckOptions options{Data(), {}};
    size_t findings = 0;
    for (auto _ : state) {
        findings = check::CheckProject(p, options).size();
        benchmark::DoNotOptimize(findings);
    }
    state.counters["findings"] = double(findings);
}

void BM_Check1000CardsWithFonts(benchmark::State& state) {
    const model::Project p = Quiz(1000, 10);
    const app::Workspace workspace(Data(), CW_BENCH_WORK_DIR);
    const check::CheckOptions options{Data(), check::MakeGlyphTip(p.settings, workspace)};
    for (auto _ : state) {
        benchmark::DoNotOptimize(check::CheckProject(p, options));
    }
}

void BM_MapLayout200Cards(benchmark::State& state) {
    const model::Project p = Quiz(200, 6);
    for (auto _ : state) {
        benchmark::DoNotOptimize(check::LayOutStoryMap(p));
    }
}

BENCHMARK(BM_Check1000Cards)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Check1000CardsWithFonts)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MapLayout200Cards)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
