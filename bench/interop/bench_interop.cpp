// Importing a 1,000-passage story (cut to 200 cards), as Twee and as Twine 2 HTML, and exporting the
// full project as Twee.
#include "interop/story_import.h"
#include "interop/story_readers.h"
#include "interop/twee_writer.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int kPassages = 1000;

std::string PassageText(int i) {
    const auto name = [](int n) { return "Room " + std::to_string(n % kPassages + 1); };
    return "(set: $visits to it + 1)You are in room " + std::to_string(i) +
           ". The walls are ''grey'' and the\n"
           "floor is //cold//. <<if $lamp>>A lamp glows.<</if>>\n"
           "[[North->" +
           name(i + 1) + "]]\n[[South|" + name(i + 7) + "]]\n[[" + name(i + 31) + "<-East]]\n";
}

std::string TweeStory() {
    std::string s =
        ":: StoryTitle\nA big house\n\n:: StoryData\n{\"ifid\":\"8F1D2A36-3C34-4C1E-9A55-2B8C7E3D1F10\","
        "\"format\":\"Harlowe\",\"start\":\"Room 1\"}\n\n";
    for (int i = 0; i < kPassages; ++i) {
        s += ":: Room " + std::to_string(i + 1) + "\n" + PassageText(i) + "\n";
    }
    return s;
}

std::string HtmlStory() {
    std::string s =
        "<!DOCTYPE html><html><body><tw-storydata name=\"A big house\" startnode=\"1\" format=\"Harlowe\">\n";
    for (int i = 0; i < kPassages; ++i) {
        std::string text;
        for (char c : PassageText(i)) {
            text += c == '<'   ? "&lt;"
                    : c == '>' ? "&gt;"
                    : c == '"' ? "&quot;"
                    : c == '&' ? "&amp;"
                               : std::string(1, c);
        }
        s += "<tw-passagedata pid=\"" + std::to_string(i + 1) + "\" name=\"Room " + std::to_string(i + 1) +
             "\">" + text + "</tw-passagedata>\n";
    }
    return s + "</tw-storydata></body></html>\n";
}

void BM_ImportTwee1000(benchmark::State& state) {
    const std::string story = TweeStory();
    for (auto _ : state) {
        benchmark::DoNotOptimize(interop::ImportStory(interop::ReadStory(story)));
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(story.size()));
}

void BM_ImportHtml1000(benchmark::State& state) {
    const std::string story = HtmlStory();
    for (auto _ : state) {
        benchmark::DoNotOptimize(interop::ImportStory(interop::ReadStory(story)));
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(story.size()));
}

void BM_ExportTwee200(benchmark::State& state) {
    const model::Project project = interop::ImportStory(interop::ReadStory(TweeStory())).project;
    for (auto _ : state) {
        benchmark::DoNotOptimize(interop::ExportTwee(project));
    }
}

BENCHMARK(BM_ImportTwee1000)->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly(true);
BENCHMARK(BM_ImportHtml1000)->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly(true);
BENCHMARK(BM_ExportTwee200)->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly(true);

} // namespace

BENCHMARK_MAIN();
