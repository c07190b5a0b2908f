// The order of Finish's steps once its dialog closed with OK, the path display, and file URIs.
#include "publish/file_manager.h"
#include "publish/finish_flow.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

namespace fs = std::filesystem;

struct FlowCase {
    const char* name;
    publish::FinishChoices choices;
    publish::Answer answer;
    bool generateFails;
    std::vector<std::string> events;
};

void PrintTo(const FlowCase& c, std::ostream* out) {
    *out << c.name;
}

// Runs the flow with recorders. `deferred`: the long steps go on only after RunFinish has returned, as on
// the desktop, where they end on a worker.
std::vector<std::string> RunFlow(const FlowCase& c, bool deferred) {
    std::vector<std::string> events;
    std::vector<std::function<void()>> later;
    const auto goOn = [&](std::function<void()> next) {
        if (deferred) {
            later.push_back(std::move(next));
        } else {
            next();
        }
    };
    publish::FinishSteps steps;
    steps.inform = [&](std::string_view text) { events.push_back("inform:" + std::string(text)); };
    steps.buildZip = [&](const fs::path& archive, const fs::path& folder, std::string_view password,
                         auto then) {
        events.push_back("zip:" + archive.string() + "<" + folder.string() + "/" + std::string(password));
        goOn([then] { then({{publish::MessageIcon::Information, "zipped", ""}}); });
    };
    steps.show = [&](const publish::PublishMessage& m) { events.push_back("show:" + m.text); };
    steps.generate = [&](const fs::path& movie, auto then) {
        events.push_back("generate:" + movie.string());
        goOn([then, written = !c.generateFails] { then(written); });
    };
    steps.makeSelfRunning = [&](const fs::path& movie, auto then) {
        events.push_back("html:" + movie.string());
        goOn([then] { then(fs::path("/g/gift.html")); });
    };
    steps.mail = [&](const fs::path& movie, const std::optional<fs::path>& zip,
                     const std::optional<fs::path>& page, auto then) {
        events.push_back("mail:" + movie.string() + "," + (zip ? zip->string() : "-") + "," +
                         (page ? page->string() : "-"));
        goOn(then);
    };
    steps.ask = [&](std::string_view q) {
        events.push_back(q == publish::kFinishQuestion ? "ask" : "ask:wrong question");
        return c.answer;
    };
    steps.view = [&](const fs::path& movie) { events.push_back("view:" + movie.string()); };
    steps.showInFolder = [&](const fs::path& movie) { events.push_back("folder:" + movie.string()); };
    steps.ended = [&] { events.push_back("ended"); };
    publish::RunFinish(c.choices, std::move(steps));
    while (!later.empty()) {
        const std::function<void()> next = std::move(later.front());
        later.erase(later.begin());
        next();
    }
    return events;
}

publish::FinishChoices Choices(std::string target, bool encrypt, bool mail, bool html) {
    return {std::move(target), encrypt, encrypt ? "/pics" : "", encrypt ? "pw" : "", mail, html};
}

class FinishFlowTest : public ::testing::TestWithParam<FlowCase> {};

TEST_P(FinishFlowTest, StepsRunInOrderWhetherTheyEndAtOnceOrLater) {
    std::vector<std::string> expected = GetParam().events;
    expected.push_back("ended");
    EXPECT_EQ(RunFlow(GetParam(), false), expected);
    EXPECT_EQ(RunFlow(GetParam(), true), expected);
}

using A = publish::Answer;
INSTANTIATE_TEST_SUITE_P(
    Finish, FinishFlowTest,
    ::testing::Values(
        FlowCase{"no_target_even_with_boxes",
                 Choices("", true, true, true),
                 A::Yes,
                 false,
                 {"inform:Please choose where to export the gift."}},
        FlowCase{"plain_yes_views",
                 Choices("/g/gift.swf", false, false, false),
                 A::Yes,
                 false,
                 {"generate:/g/gift.swf", "ask", "view:/g/gift.swf"}},
        FlowCase{"plain_no_shows_folder",
                 Choices("/g/gift.swf", false, false, false),
                 A::No,
                 false,
                 {"generate:/g/gift.swf", "ask", "folder:/g/gift.swf"}},
        FlowCase{"plain_cancel",
                 Choices("/g/gift.swf", false, false, false),
                 A::Cancel,
                 false,
                 {"generate:/g/gift.swf", "ask"}},
        FlowCase{"lock_and_mail_no_question",
                 Choices("/g/gift.swf", true, true, false),
                 A::Yes,
                 false,
                 {"inform:zip it", "zip:/g/gift.swf.zip</pics/pw", "show:zipped", "generate:/g/gift.swf",
                  "mail:/g/gift.swf,/g/gift.swf.zip,-"}},
        FlowCase{"mail_only",
                 Choices("/g/gift.swf", false, true, false),
                 A::Yes,
                 false,
                 {"generate:/g/gift.swf", "mail:/g/gift.swf,-,-"}},
        FlowCase{"html_after_the_movie",
                 Choices("/g/gift.swf", false, true, true),
                 A::Yes,
                 false,
                 {"generate:/g/gift.swf", "html:/g/gift.swf", "mail:/g/gift.swf,-,/g/gift.html"}},
        FlowCase{"unwritten_movie_ends_it",
                 Choices("/g/gift.swf", true, true, true),
                 A::Yes,
                 true,
                 {"inform:zip it", "zip:/g/gift.swf.zip</pics/pw", "show:zipped", "generate:/g/gift.swf"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PathDisplayTest, ThirtyWholeThirtyOneShortened) {
    const std::string thirty = "/home/ann/gifts/abcdefghij.swf";
    ASSERT_EQ(thirty.size(), 30u);
    EXPECT_EQ(publish::ShortenPathForDisplay(thirty), thirty);
    const std::string thirtyOne = "/home/ann/gifts/abcdefghijk.swf";
    EXPECT_EQ(publish::ShortenPathForDisplay(thirtyOne), "/home/ann/...ifts/abcdefghijk.swf");
    EXPECT_EQ(publish::ShortenPathForDisplay(thirtyOne).size(), 33u);
    EXPECT_EQ(publish::ShortenPathForDisplay(""), "");
    // Characters, not bytes: 30 letters of two bytes each are shown whole; 31 are cut between letters.
    std::string umlauts;
    for (int i = 0; i < 30; ++i) {
        umlauts += "\xC3\xBC";
    }
    EXPECT_EQ(publish::ShortenPathForDisplay(umlauts), umlauts);
    EXPECT_EQ(publish::ShortenPathForDisplay(umlauts + "\xC3\xBC"),
              umlauts.substr(0, 20) + "..." + umlauts.substr(0, 40));
}

TEST(FileManagerTest, UriEncodesWhatIsNotPlain) {
    EXPECT_EQ(publish::FileUri("/home/ann/my gift#1.swf"), "file:///home/ann/my%20gift%231.swf");
    EXPECT_EQ(publish::FileUri("/tmp/a/../gr\xC3\xBC\xC3\x9F.swf"), "file:///tmp/gr%C3%BC%C3%9F.swf");
    EXPECT_EQ(publish::FolderToOpen("/home/ann/gift.swf"), fs::path("/home/ann"));
}

} // namespace
