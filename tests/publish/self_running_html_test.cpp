// The self-running gift: the sample quiz's page (played from disk by tests/e2e/html_gift.suite.mjs),
// its size, what it inlines, and the refusals.
#include "app/error_report.h"
#include "app/log.h"
#include "app/workspace.h"
#include "model/archive.h"
#include "movie/gift_builder.h"
#include "publish/self_running_html.h"
#include "publish_flow_test_support.h"

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

const fs::path kData = CW_TEST_DATA_DIR;

class SilentReporter : public app::ErrorReporter {
public:
    SilentReporter() : app::ErrorReporter(nullptr) {}
    void tip(std::string_view) override {}

protected:
    bool AskToSave(const std::string&) override { return false; }
};

size_t Count(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
        ++n;
    }
    return n;
}

TEST(SelfRunningHtmlTest, SampleQuizPageIsSelfContainedAndUnderEightMegabytes) {
    const fs::path movies = fs::path(CW_TEST_BINARY_DIR) / "test-movies" / "html";
    fs::create_directories(movies);
    model::Project project = model::LoadProjectFile(kData / "Themes" / "Quiz.cwp");
    const app::Workspace workspace(kData, publish_test::FreshFolder("work"));
    workspace.EnsureTempDir();
    SilentReporter reporter;
    const app::AppState state;
    movie::GiftBuilder builder(project, state, workspace, reporter);
    builder.GenerateSWF(movies / "quiz.swf", nullptr, 1, 0);

    publish::WriteSelfRunningHtml(movies / "quiz.swf", kData / "Ruffle", movies / "quiz.html");

    const std::string html = publish_test::ReadText(movies / "quiz.html");
    EXPECT_LT(html.size(), 8u * 1000 * 1000);
    EXPECT_GT(html.size(), 4u * 1000 * 1000) << "the player's module is inlined";
    EXPECT_EQ(Count(html, "<script src"), 0u) << "nothing is loaded from beside the page";
    EXPECT_EQ(Count(html, "id=\"cw-movie\""), 1u);
    EXPECT_EQ(Count(html, "sourceMappingURL"), 0u);
    EXPECT_FALSE(fs::exists(movies / "quiz.html.partial"));
}

TEST(SelfRunningHtmlTest, PlayerPackageNamesAModuleThatExists) {
    const publish::RufflePackage player = publish::LoadRufflePackage(kData / "Ruffle");
    EXPECT_TRUE(fs::exists(kData / "Ruffle" / player.wasmName)) << player.wasmName;
    EXPECT_EQ(player.wasm.size(), fs::file_size(kData / "Ruffle" / player.wasmName));
    EXPECT_EQ(player.chunks.size(), 2u); // with and without the WebAssembly extensions
}

TEST(SelfRunningHtmlTest, NotAMovieIsRefusedAndTheOlderPageStays) {
    const fs::path dir = publish_test::FreshFolder("files");
    publish_test::WriteText(dir / "notes.swf", "this is not a movie");
    publish_test::WriteText(dir / "gift.html", "older page");
    EXPECT_THROW(publish::WriteSelfRunningHtml(dir / "notes.swf", kData / "Ruffle", dir / "gift.html"),
                 publish::PublishError);
    EXPECT_EQ(publish_test::ReadText(dir / "gift.html"), "older page");
    EXPECT_THROW(publish::LoadRufflePackage(dir), publish::PublishError);
}

TEST(SelfRunningHtmlTest, BuildExeWithPlayerOutcomes) {
    const fs::path dir = publish_test::FreshFolder("files");
    fs::copy_file(kData / "Background" / "Bubbles.swf", dir / "gift.swf");
    int asked = 0;
    const auto cancel = [&](const fs::path&) -> std::optional<fs::path> {
        ++asked;
        return std::nullopt;
    };
    const auto choose = [&](const fs::path& movie) -> std::optional<fs::path> {
        EXPECT_EQ(publish::DefaultSelfRunningPath(movie), dir / "gift.html");
        return dir / "chosen.html";
    };

    const publish::SelfRunningOutcome missing =
        publish::BuildExeWithPlayer(dir / "none.swf", kData / "Ruffle", cancel);
    EXPECT_FALSE(missing.ok);
    EXPECT_EQ(asked, 0) << "no name is asked for a missing movie";

    const publish::SelfRunningOutcome cancelled =
        publish::BuildExeWithPlayer(dir / "gift.swf", kData / "Ruffle", cancel);
    EXPECT_TRUE(cancelled.ok);
    EXPECT_FALSE(cancelled.written);

    const publish::SelfRunningOutcome written =
        publish::BuildExeWithPlayer(dir / "gift.swf", kData / "Ruffle", choose);
    EXPECT_TRUE(written.ok) << written.reason;
    EXPECT_EQ(written.written, dir / "chosen.html");
    EXPECT_TRUE(fs::exists(dir / "chosen.html"));

    const publish::SelfRunningOutcome noPlayer = publish::BuildExeWithPlayer(dir / "gift.swf", dir, choose);
    EXPECT_FALSE(noPlayer.ok);
    EXPECT_FALSE(noPlayer.reason.empty());
}

} // namespace
