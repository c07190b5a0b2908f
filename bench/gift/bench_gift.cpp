// The gift builder's speed: the whole movie of a 200-card project (Latin, and mixed scripts), the
// single-card movie the preview regenerates at every keystroke, and a single card with a 4000 x 3000
// photo as its background (first conversion, then reusing the converted file), and a card whose picture is
// too large to take. Figures only; nothing here fails a build.
#include "app/app_state.h"
#include "app/error_report.h"
#include "app/workspace.h"
#include "model/project.h"
#include "movie/gift_builder.h"

#include <benchmark/benchmark.h>
#include <vips/vips8>

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

struct Setup {
    fs::path work = CW_BENCH_WORK_DIR;
    app::Workspace workspace{CW_BENCH_DATA_DIR, work};
    app::AppState state;
    QuietReporter reporter;
    model::Project project;

    Setup() {
        fs::create_directories(work / "Temp");
        project.settings = model::NewProjectSettings();
        project.settings.m_strAuthor = "Ann Example";
        project.settings.m_strEmail = "ann@example.org";
        for (int i = 0; i < model::kMaxCards; ++i) {
            auto card = model::CCardInfo::MakeNew(i);
            card->m_bProjectBg = 0;
            card->m_strBackground = i % 2 ? "#FFE0C0" : "#C0E0FF";
            card->m_strTitle = "Card " + std::to_string(i + 1) +
                               ": a title long enough to need a second line on a stage of six hundred and "
                               "forty pixels";
            card->m_strComment = "First line of the comment.\r\nSecond line.\r\nThird line.\r\nFourth line."
                                 "\r\nFifth and last line.";
            for (int l = 0; l < 3; ++l) {
                card->m_pLinks->AddLink("Link " + std::to_string(l + 1), (i + l + 1) % model::kMaxCards, l,
                                        -1, l == 2 ? ">=" : "", 10, 0);
            }
            project.cards.push_back(std::move(card));
        }
    }
};

void BM_WholeMovie200Cards(benchmark::State& st) {
    Setup s;
    movie::GiftBuilder builder(s.project, s.state, s.workspace, s.reporter);
    builder.LoadGiftFonts(1);
    for (auto _ : st) {
        builder.GenerateSWF(s.work / "whole.swf", nullptr, 1, 0);
    }
}
BENCHMARK(BM_WholeMovie200Cards)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The same 200 cards with titles and comments in many scripts: fallback faces, right-to-left runs,
// shaping and Japanese title breaking on every card.
void BM_WholeMovie200MixedScriptCards(benchmark::State& st) {
    static const char* const kTitles[] = {
        "お誕生日おめでとう、今年も素敵な一年になりますように Привет مرحبا",
        "Joyeux anniversaire שלום עולם 123 and many happy returns of the day",
        "생일 축하합니다 สุขสันต์วันเกิด जन्मदिन मुबारक हो Ελληνικά",
        "عيد ميلاد سعيد يا صديقي العزيز Hello שלום 2026 新年快乐",
    };
    static const char* const kComments[] = {
        "Ελληνικά και עברית\r\n안녕하세요 สวัสดี नमस्ते\r\nمرحبا بكم في الحفلة",
        "Latin with kerning: AVATAR Tokyo\r\n中文和日本語のテキスト\r\nשלום Hello 123",
    };
    Setup s;
    for (size_t i = 0; i < s.project.cards.size(); ++i) {
        s.project.cards[i]->m_strTitle = kTitles[i % 4];
        s.project.cards[i]->m_strComment = kComments[i % 2];
    }
    movie::GiftBuilder builder(s.project, s.state, s.workspace, s.reporter);
    builder.LoadGiftFonts(1);
    for (auto _ : st) {
        builder.GenerateSWF(s.work / "mixed.swf", nullptr, 1, 0);
    }
}
BENCHMARK(BM_WholeMovie200MixedScriptCards)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// Loading the gift's two whole faces, as after Open and New (fallback faces load on first use).
void BM_LoadGiftFonts(benchmark::State& st) {
    Setup s;
    movie::GiftBuilder builder(s.project, s.state, s.workspace, s.reporter);
    for (auto _ : st) {
        builder.LoadGiftFonts(1);
    }
}
BENCHMARK(BM_LoadGiftFonts)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_SingleCard(benchmark::State& st) {
    Setup s;
    movie::GiftBuilder builder(s.project, s.state, s.workspace, s.reporter);
    builder.LoadGiftFonts(1);
    for (auto _ : st) {
        builder.GenerateSWF(s.work / "card.swf", s.project.cards[17].get(), 0, 17);
    }
}
BENCHMARK(BM_SingleCard)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

fs::path LargePhoto(const fs::path& work) {
    const fs::path file = work / "photo_4000x3000.jpg";
    if (!fs::exists(file)) {
        VIPS_INIT("bench_gift");
        // A gradient with some texture, so the JPEG is not trivially small.
        vips::VImage x = vips::VImage::xyz(4000, 3000);
        vips::VImage image = (x[0] * 0.06 + x[1] * 0.03).bandjoin({x[1] * 0.08, (x[0] ^ x[1]) & 255});
        image.cast(VIPS_FORMAT_UCHAR).jpegsave(file.c_str(), vips::VImage::option()->set("Q", 85));
    }
    return file;
}

void PhotoCard(benchmark::State& st, int force) {
    Setup s;
    const fs::path photo = LargePhoto(s.work);
    model::CCardInfo& card = *s.project.cards[3];
    card.m_strBackground = photo.string();
    card.m_nBgAlign = 4;
    movie::GiftBuilder builder(s.project, s.state, s.workspace, s.reporter);
    builder.LoadGiftFonts(1);
    builder.GenerateSWF(s.work / "photo.swf", &card, 1, 3); // the converted file exists from here on
    for (auto _ : st) {
        builder.GenerateSWF(s.work / "photo.swf", &card, force, 3);
    }
}

void BM_SingleCardPhotoFirstConversion(benchmark::State& st) {
    PhotoCard(st, 1);
}
BENCHMARK(BM_SingleCardPhotoFirstConversion)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_SingleCardPhotoConverted(benchmark::State& st) {
    PhotoCard(st, 0);
}
BENCHMARK(BM_SingleCardPhotoConverted)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// A card whose background is a 30000 x 30000 PNG: refused from its header, the card keeps its colour.
void BM_SingleCardOversizedPictureRefused(benchmark::State& st) {
    Setup s;
    const fs::path huge = s.work / "black_30000x30000.png";
    if (!fs::exists(huge)) {
        VIPS_INIT("bench_gift");
        vips::VImage::black(30000, 30000, vips::VImage::option()->set("bands", 3))
            .pngsave(huge.c_str(), vips::VImage::option()->set("compression", 9));
    }
    model::CCardInfo& card = *s.project.cards[3];
    card.m_strBackground = huge.string();
    movie::GiftBuilder builder(s.project, s.state, s.workspace, s.reporter);
    builder.LoadGiftFonts(1);
    for (auto _ : st) {
        builder.GenerateSWF(s.work / "oversized.swf", &card, 1, 3);
    }
}
BENCHMARK(BM_SingleCardOversizedPictureRefused)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace

BENCHMARK_MAIN();
