// The web page gift: the time to write the page of the default three-card project, of the sample quiz
// and of a 200-card project, with the page's size as a counter. Figures only; nothing here fails a build.
#include "app/app_state.h"
#include "app/error_report.h"
#include "app/workspace.h"
#include "model/archive.h"
#include "model/project.h"
#include "movie/gift_builder.h"
#include "web/page_writer.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

namespace fs = std::filesystem;

class QuietReporter : public app::ErrorReporter {
public:
    QuietReporter() : app::ErrorReporter(nullptr) {}
    void tip(std::string_view) override {}

protected:
    bool AskToSave(const std::string&) override { return false; }
};

model::Project Large() {
    model::Project p = model::MakeDefaultProject();
    p.cards.clear();
    for (int i = 0; i < model::kMaxCards; ++i) {
        auto card = model::CCardInfo::MakeNew(i);
        card->m_strTitle = "Card " + std::to_string(i + 1) + ": a title long enough to need a second line";
        card->m_strComment = "First line of the comment.\r\nSecond line.\r\nThird line.";
        for (int l = 0; l < 3; ++l) {
            card->m_pLinks->AddLink("Link " + std::to_string(l + 1), (i + l + 1) % model::kMaxCards, l, -1,
                                    "", 0, 0);
        }
        p.cards.push_back(std::move(card));
    }
    return p;
}

void WritePage(benchmark::State& st, model::Project project) {
    const fs::path work = CW_BENCH_WORK_DIR;
    fs::create_directories(work / "Temp");
    app::Workspace workspace(CW_BENCH_DATA_DIR, work);
    app::AppState state;
    QuietReporter reporter;
    movie::GiftBuilder builder(project, state, workspace, reporter);
    size_t bytes = 0;
    for (auto _ : st) {
        web::WriteWebPage(builder, project, {}, work / "page.html");
        bytes = fs::file_size(work / "page.html");
    }
    st.counters["page_bytes"] = double(bytes);
}

void BM_DefaultProjectPage(benchmark::State& st) {
    WritePage(st, model::MakeDefaultProject());
}
BENCHMARK(BM_DefaultProjectPage)->Unit(benchmark::kMillisecond);

void BM_SampleQuizPage(benchmark::State& st) {
    WritePage(st, model::LoadProjectFile(fs::path(CW_BENCH_DATA_DIR) / "Themes" / "Quiz.cwp"));
}
BENCHMARK(BM_SampleQuizPage)->Unit(benchmark::kMillisecond);

void BM_Page200Cards(benchmark::State& st) {
    WritePage(st, Large());
}
BENCHMARK(BM_Page200Cards)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
