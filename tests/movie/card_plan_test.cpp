// The card plan both writers read: colours carried from the background, the button row, captions, the
// credit items and the actions, with widths from a stand-in measure (every character 10 pixels wide).
#include "movie/card_plan.h"

#include <gtest/gtest.h>

namespace {

const movie::PlanFonts kTenPixels{
    [](std::string_view text, double) { return 10.0 * double(text.size()); },
    [](std::string_view text, double) { return 10.0 * double(text.size()); },
};

std::filesystem::path Resolve(std::string_view ref) {
    return std::filesystem::path("/data") / std::string(ref);
}

TEST(CardPlanTest, TextColoursAndLines) {
    model::ProjectSettings s = model::NewProjectSettings();
    s.m_strBackground = "#102030";
    model::CCardInfo card;
    card.m_strTitle = std::string(40, 'a') + " " + std::string(40, 'b') + " c";
    card.m_strTitleColor = "not a colour";
    card.m_strComment = "one\r\ntwo";
    card.m_strCommentColor = "#FF0000";
    const movie::CardPlan plan = movie::PlanCard(s, card, kTenPixels, Resolve, 60, 30);
    EXPECT_EQ(plan.background.colour, (movie::Rgb{0x10, 0x20, 0x30}));
    EXPECT_EQ(plan.title[0].colour, plan.background.colour) << "an unreadable colour keeps the one before";
    EXPECT_EQ(plan.title[0].text, " " + std::string(40, 'a'));
    EXPECT_EQ(plan.title[1].text, " " + std::string(40, 'b') + " c");
    EXPECT_EQ(plan.title[1].at, (movie::Point{10, 66}));
    ASSERT_EQ(plan.comment.size(), 2u);
    EXPECT_EQ(plan.comment[0].text, "one") << "the carriage return is no glyph";
    EXPECT_EQ(plan.comment[1].at, (movie::Point{10, 120}));
    EXPECT_EQ(plan.comment[1].colour, (movie::Rgb{255, 0, 0}));
}

TEST(CardPlanTest, ButtonsActionsCreditAndAlert) {
    model::ProjectSettings s = model::NewProjectSettings();
    s.m_strAuthor = "Ann";
    s.m_strEmail = "ann@example.org";
    model::CCardInfo card;
    card.m_strTitle = "Q";
    card.m_bMailAlert = 1;
    card.m_pLinks->AddLink("Go", 2, 5, -1, "=", 10, 0);
    card.m_pLinks->AddLink("Back", 0, -1, -1, "", 0, 0);
    const movie::CardPlan plan = movie::PlanCard(s, card, kTenPixels, Resolve, 80, 40);
    ASSERT_EQ(plan.links.size(), 2u);
    EXPECT_EQ(plan.links[0].x, 20);
    EXPECT_EQ(plan.links[1].x, 115) << "a picture face 80 wide advances by 95";
    EXPECT_EQ(plan.links[0].y, 480 - 60);
    EXPECT_EQ(plan.links[0].caption.at, (movie::Point{20 + (80 - 20) / 2.0, 435 + (40 - 14) / 2.0}));
    EXPECT_EQ(plan.links[0].op, "==");
    EXPECT_EQ(plan.links[0].trace_entry, "Q[-]Go[N]");
    EXPECT_EQ(plan.links[1].op, "");
    EXPECT_TRUE(plan.credit.has_value()) << "promoted on every card";
    EXPECT_TRUE(plan.credit->author_button);
    EXPECT_EQ(plan.credit->author_url, "mailto:ann@example.org");
    EXPECT_EQ(plan.credit->text.text, "Created By: Ann & Cardwright");
    EXPECT_EQ(plan.credit->text.at.x, 640 - 10.0 * 28);
    EXPECT_EQ(plan.alert_url.value_or(""),
              "http://cardwright.example/member/emailalert.php?title=Q&target=ann%40example.org&trace=");

    s.m_bPromoteEach = 0;
    EXPECT_FALSE(movie::PlanCard(s, card, kTenPixels, Resolve, 80, 40).credit.has_value());
    card.m_bProjectBg = 0;
    card.m_strBackground = "Background\\x.swf";
    const movie::PlannedBackground bg = movie::PlanCard(s, card, kTenPixels, Resolve, 80, 40).background;
    EXPECT_TRUE(bg.clip);
    EXPECT_EQ(bg.picture, Resolve("Background\\x.swf"));
}

} // namespace
