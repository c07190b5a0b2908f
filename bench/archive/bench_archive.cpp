// Saving and loading a full project: 200 cards with 10 links each, in memory and through a file.
#include "model/archive.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

model::Project FullProject() {
    model::Project p = model::MakeDefaultProject();
    p.cards.clear();
    model::Selection sel;
    for (int c = 0; c < model::kMaxCards; ++c) {
        sel = p.AddCard(model::kPosBottom, sel).selection;
        for (int l = 0; l < model::kMaxLinks; ++l) {
            p.AddLink(model::kPosBottom, sel);
        }
    }
    return p;
}

std::filesystem::path BenchFile() { return std::filesystem::temp_directory_path() / "bench_archive.cwp"; }

void BM_WriteProject(benchmark::State& state) {
    const model::Project p = FullProject();
    for (auto _ : state) {
        benchmark::DoNotOptimize(model::WriteProject(p));
    }
}

void BM_ReadProject(benchmark::State& state) {
    const std::vector<uint8_t> bytes = model::WriteProject(FullProject());
    for (auto _ : state) {
        benchmark::DoNotOptimize(model::ReadProject(bytes));
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
}

// Includes writing beside, flushing to disk and renaming over.
void BM_SaveProjectFile(benchmark::State& state) {
    const model::Project p = FullProject();
    for (auto _ : state) {
        model::SaveProjectFile(p, BenchFile());
    }
}

void BM_LoadProjectFile(benchmark::State& state) {
    model::SaveProjectFile(FullProject(), BenchFile());
    for (auto _ : state) {
        benchmark::DoNotOptimize(model::LoadProjectFile(BenchFile()));
    }
}

BENCHMARK(BM_WriteProject)->Unit(benchmark::kMicrosecond)->Repetitions(7)->ReportAggregatesOnly(true);
BENCHMARK(BM_ReadProject)->Unit(benchmark::kMicrosecond)->Repetitions(7)->ReportAggregatesOnly(true);
BENCHMARK(BM_SaveProjectFile)->Unit(benchmark::kMicrosecond)->Repetitions(7)->ReportAggregatesOnly(true);
BENCHMARK(BM_LoadProjectFile)->Unit(benchmark::kMicrosecond)->Repetitions(7)->ReportAggregatesOnly(true);

} // namespace

BENCHMARK_MAIN();
