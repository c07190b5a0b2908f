// Tree labels of cards and links, and when a background counts as Flash.
#include "editor/labels.h"

#include <gtest/gtest.h>

namespace editor {
namespace {

TEST(CardLabel, TitleOrPositionAndLinkCount) {
    struct Case {
        std::string title;
        int links;
        std::string label;
    };
    const Case cases[] = {
        {"Hello", 0, "Hello"}, {"", 0, "[Card 2]"}, {"", 3, "[Card 2] {3}"}, {"Hi", 1, "Hi {1}"}};
    for (const auto& c : cases) {
        model::Project p = model::MakeDefaultProject();
        p.cards[1]->m_strTitle = c.title;
        p.cards[1]->m_pLinks->m_pLinkList.clear();
        for (int i = 0; i < c.links; ++i) {
            p.AddLink(model::kPosBottom, {1, -1});
        }
        EXPECT_EQ(CardLabel(p, 1), c.label) << c.title << " " << c.links;
    }
}

TEST(LinkLabel, TargetAndScoreParts) {
    struct Case {
        int gotoCard;
        int score;
        std::string targetTitle;
        std::string label;
    };
    const Case cases[] = {
        {1, 0, "Two", "Go (Two)"}, {1, 5, "Two", "Go (Two) [5]"}, {1, -2, "", "Go [-2]"},
        {1, 0, "", "Go"},          {3, 4, "Two", "Go [4]"},       {3, 0, "Two", "Go"}, // past the last card
        {-1, 0, "Two", "Go"},
    };
    for (const auto& c : cases) {
        model::Project p = model::MakeDefaultProject();
        p.cards[1]->m_strTitle = c.targetTitle;
        model::CLinkInfo link;
        link.m_strTitle = "Go";
        link.m_nGoto = c.gotoCard;
        link.m_nScore = c.score;
        EXPECT_EQ(LinkLabel(p, link), c.label);
    }
}

TEST(FlashBackground, CardClipOrButtonClipInAnyCase) {
    model::Project p = model::MakeDefaultProject();
    EXPECT_FALSE(UsesFlashBackground(p, *p.cards[0]));
    p.cards[0]->m_strBackground = "Background\\Bubbles.SWF";
    EXPECT_TRUE(UsesFlashBackground(p, *p.cards[0]));
    p.cards[0]->m_strBackground = "#FFFFFF";
    p.settings.m_strButton = "Button\\Pulse.swf";
    EXPECT_TRUE(UsesFlashBackground(p, *p.cards[0]));
}

} // namespace
} // namespace editor
