// Writes the movies the real-player suite (tests/e2e/gift.suite.mjs) plays: test-movies/gift/e2e_*.swf.
// Each card has its own background colour, so the player test can tell by one pixel which card shows.
#include "gift_fixture.h"

#include "app/data_listing.h"
#include "model/archive.h"

#include <algorithm>
#include <cctype>

namespace gifttest {
namespace {

const char* const kCardColours[] = {"#FFD0D0", "#D0FFD0", "#D0D0FF", "#FFFFC0", "#C0FFFF"};

model::Project ColouredProject(int cards) {
    model::Project p = PlainProject(cards);
    for (int i = 0; i < cards; ++i) {
        p.cards[size_t(i)]->m_strBackground = kCardColours[i % 5];
        p.cards[size_t(i)]->m_strTitle = "Card" + std::to_string(i);
    }
    return p;
}

std::string Lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

class GiftE2eMovies : public GiftTest {
protected:
    void Write(const std::string& name, int single = -1) {
        Build("e2e_" + name, single, 1);
        EXPECT_TRUE(reporter.reasons.empty()) << name << ": " << reporter.reasons.front();
        EXPECT_TRUE(reporter.tips.empty()) << name << ": " << reporter.tips.front();
    }
};

// Card 0: three buttons adding 9, 10 and 11; card 1: one button comparing the score with 10, to card 2
// when the comparison holds, to card 3 otherwise. One movie per operator.
TEST_F(GiftE2eMovies, ScoreBranching) {
    for (const auto& [op, name] : std::vector<std::pair<std::string, std::string>>{
             {">", "gt"}, {">=", "ge"}, {"=", "eq"}, {"<=", "le"}, {"<", "lt"}}) {
        project = ColouredProject(4);
        builder = std::make_unique<movie::GiftBuilder>(project, state, *workspace, reporter);
        for (int add : {9, 10, 11}) {
            project.cards[0]->m_pLinks->AddLink("+" + std::to_string(add), 1, add, -1, "", 0, 0);
        }
        project.cards[1]->m_pLinks->AddLink("Check", 3, 0, -1, op, 10, 2);
        Write("branch_" + name);
    }
}

// The quiz with an e-mail alert on the card it ends on, and a title full of characters that need escaping.
TEST_F(GiftE2eMovies, QuizWithMailAlert) {
    project = ColouredProject(3);
    project.settings.m_strEmail = "ann+gifts@example.org";
    project.cards[0]->m_strTitle = "Q1 \"quote\" \\ </b> & #1\nGr\xC3\xBC\xC3\x9F";
    project.cards[0]->m_pLinks->AddLink("Yes & \"no\"", 1, 5, -1, "", 0, 0);
    project.cards[1]->m_strTitle = "Q2";
    project.cards[1]->m_pLinks->AddLink("Next", 2, 1, -1, "", 0, 0);
    project.cards[2]->m_strTitle = "End & more";
    project.cards[2]->m_bMailAlert = 1;
    Write("quiz_alert");
}

TEST_F(GiftE2eMovies, DefaultProject) {
    Write("default_project");
}

TEST_F(GiftE2eMovies, SlideShow) {
    project = ColouredProject(3);
    project.settings.m_bSlideShow = 1;
    project.settings.m_strSlideSeconds = "0.5";
    Write("slide_show");
}

// One single-card movie per placement code with a 100 x 50 green picture on a 640 x 480 stage.
TEST_F(GiftE2eMovies, Placements) {
    WritePicture(assets / "green.png", 100, 50, 0, 160, 0);
    for (int code = 0; code < 12; ++code) {
        project = PlainProject(1);
        builder = std::make_unique<movie::GiftBuilder>(project, state, *workspace, reporter);
        project.cards[0]->m_strTitle = "";
        project.cards[0]->m_strComment = "";
        project.cards[0]->m_strBackground = (assets / "green.png").string();
        project.cards[0]->m_nBgAlign = code;
        Write("place_" + std::to_string(code), 0);
    }
}

TEST_F(GiftE2eMovies, ButtonStylesAndCredits) {
    project = ColouredProject(2);
    project.settings.m_bPromoteLast = 1;
    project.settings.m_bPromoteEach = 1;
    project.settings.m_strAuthor = "Ann";
    project.settings.m_strEmail = "ann@example.org";
    for (int i = 0; i < 3; ++i) {
        project.cards[0]->m_pLinks->AddLink("L" + std::to_string(i), 1, 0, -1, "", 0, 0);
    }
    project.settings.m_strButton = "#2781c4";
    Write("buttons_colour");

    WritePicture(assets / "face.png", 80, 40, 200, 100, 0);
    project.settings.m_strButton = (assets / "face.png").string();
    Write("buttons_picture");
}

// Every theme of data/Themes builds without any report or tip, with pictures and MP3 music only (no Flash
// clip, so that each can also become a web page).
TEST_F(GiftE2eMovies, SampleThemes) {
    const std::vector<app::ThemeEntry> themes = app::ListThemes(CW_TEST_DATA_DIR);
    EXPECT_GE(themes.size(), 12u);
    for (const app::ThemeEntry& theme : themes) {
        project = model::LoadProjectFile(theme.file);
        EXPECT_TRUE(project.CardCount() >= 3 && project.CardCount() <= 6) << theme.title;
        EXPECT_FALSE(project.settings.m_strMusic.empty()) << theme.title;
        for (const std::string* ref : {&project.settings.m_strMusic, &project.settings.m_strButton}) {
            EXPECT_EQ(Lowered(*ref).find(".swf"), std::string::npos) << theme.title << ": " << *ref;
        }
        for (const auto& card : project.cards) {
            EXPECT_EQ(Lowered(card->m_strBackground).find(".swf"), std::string::npos) << theme.title;
        }
        builder = std::make_unique<movie::GiftBuilder>(project, state, *workspace, reporter);
        Write("theme_" + theme.title);
    }
}

} // namespace
} // namespace gifttest
