// Structural edits: placement of new cards and links, renumbering of references, limits, the default
// project, New and Clear.
#include "model/project.h"

#include <gtest/gtest.h>

namespace model {
namespace {

std::vector<std::string> Titles(const Project& p) {
    std::vector<std::string> titles;
    for (const auto& c : p.cards) {
        titles.push_back(c->m_strTitle);
    }
    return titles;
}

std::vector<std::string> LinkTitles(const CCardInfo& card) {
    std::vector<std::string> titles;
    for (const auto& l : card.m_pLinks->m_pLinkList) {
        titles.push_back(l->m_strTitle);
    }
    return titles;
}

// n cards made by appending, titled Card 1: .. Card n:.
Project Cards(int n) {
    Project p;
    for (int i = 0; i < n; ++i) {
        p.AddCard(kPosBottom, {});
    }
    return p;
}

TEST(DefaultProject, ThreeCardsWithLinksToTheNextCard) {
    const Project p = MakeDefaultProject();
    ASSERT_EQ(p.CardCount(), 3);
    EXPECT_EQ(Titles(p), (std::vector<std::string>{"Card 1:", "Card 2:", "Card 3:"}));
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(p.cards[i]->m_nCardNo, i);
        EXPECT_EQ(p.cards[i]->m_strComment,
                  "Type your Card " + std::to_string(i + 1) + ": here.\r\n\r\nA.\r\nB.\r\n");
        EXPECT_EQ(p.cards[i]->m_strBackground, "#FFFFFF");
        EXPECT_EQ(p.cards[i]->m_nBgAlign, 4);
        EXPECT_EQ(p.cards[i]->m_bProjectBg, 1);
        EXPECT_EQ(p.cards[i]->m_bMailAlert, 0);
    }
    EXPECT_EQ(LinkTitles(*p.cards[0]), (std::vector<std::string>{"Link 1", "Link 2"}));
    EXPECT_EQ(LinkTitles(*p.cards[1]), (std::vector<std::string>{"Link 1", "Link 2"}));
    EXPECT_TRUE(LinkTitles(*p.cards[2]).empty());
    for (int c = 0; c < 2; ++c) {
        for (const auto& l : p.cards[c]->m_pLinks->m_pLinkList) {
            EXPECT_EQ(*l, (CLinkInfo{l->m_strTitle, c + 1, 0, "", 0, 0}));
        }
    }
    EXPECT_EQ(p.settings, NewProjectSettings());
}

TEST(Settings, StartNewAndClearValues) {
    ProjectSettings s;
    EXPECT_EQ(s.m_strAuthor, "Cardwright");
    EXPECT_EQ(s.m_strBackground, "#ffffff");
    EXPECT_EQ(s.m_strButton, "#2781c4");
    EXPECT_EQ(s.m_strFont, "Sans");
    EXPECT_EQ(s.m_nGiftWidth, 640);
    EXPECT_EQ(s.m_nGiftHeight, 480);
    EXPECT_EQ(s.m_bPromoteLast, 1);
    EXPECT_EQ(s.m_bPromoteEach, 1);

    // Clear touches only size, background, placement, slide show and music.
    s = {"A", "a@b",  "Background\\x.jpg", 7, "Button\\b.png", "#123456", "Music\\m.mp3", 0, 0, 800, 600, "5",
         1,   "Serif"};
    ProjectSettings cleared = s;
    cleared.ApplyClear();
    EXPECT_EQ(cleared, (ProjectSettings{"A", "a@b", "#FFFFFF", 0, "Button\\b.png", "#123456", "", 0, 0, 640,
                                        480, "", 0, "Serif"}));

    // After New everything is the default again except author and e-mail.
    ProjectSettings renewed = s;
    renewed.ApplyAfterNew();
    ProjectSettings expected;
    expected.m_strAuthor = "A";
    expected.m_strEmail = "a@b";
    expected.m_strBackground = "#FFFFFF";
    EXPECT_EQ(renewed, expected);
}

TEST(ProjectNew, KeepsAuthorAndEmailAndRebuildsDefault) {
    Project p = Cards(5);
    p.settings.m_strAuthor = "Ann";
    p.settings.m_strEmail = "ann@example.org";
    p.settings.m_strFont = "Serif";
    p.settings.m_nGiftWidth = 320;
    p.New();
    Project expected = MakeDefaultProject();
    expected.settings.m_strAuthor = "Ann";
    expected.settings.m_strEmail = "ann@example.org";
    EXPECT_EQ(p, expected);
}

struct CardPlacement {
    int code;
    Selection sel;
    int expectedIndex;
};

TEST(AddCard, PlacementForEveryCodeAndSelection) {
    // Three cards, positions counted from 0 here; "any other code" acts as bottom.
    const CardPlacement cases[] = {
        {kPosTop, {}, 0},
        {kPosBefore, {}, 3},
        {kPosAfter, {}, 3},
        {kPosBottom, {}, 3},
        {7, {}, 3},
        {-1, {1, -1}, 3},
        {kPosTop, {1, -1}, 0},
        {kPosBefore, {0, -1}, 0},
        {kPosBefore, {1, -1}, 1},
        {kPosBefore, {2, -1}, 2},
        {kPosAfter, {0, -1}, 1},
        {kPosAfter, {1, -1}, 2},
        {kPosAfter, {2, -1}, 3},
        {kPosBottom, {0, -1}, 3},
        {kPosBefore, {2, 0}, 2},
        {kPosAfter, {0, 1}, 1},
    };
    for (const auto& c : cases) {
        Project p = Cards(3);
        const EditResult r = p.AddCard(c.code, c.sel);
        SCOPED_TRACE("code " + std::to_string(c.code) + " card " + std::to_string(c.sel.card));
        EXPECT_TRUE(r.changed);
        EXPECT_TRUE(r.hint.empty());
        EXPECT_EQ(r.selection, (Selection{c.expectedIndex, -1}));
        ASSERT_EQ(p.CardCount(), 4);
        // The title counts the cards, not the position.
        EXPECT_EQ(p.cards[c.expectedIndex]->m_strTitle, "Card 4:");
        EXPECT_EQ(p.cards[c.expectedIndex]->m_nCardNo, 3);
    }
}

TEST(AddCard, RenumbersReferencesUnlessAppended) {
    Project p = Cards(3);
    // A link on every card to every card as goto and then-goto.
    for (int c = 0; c < 3; ++c) {
        for (int target = 0; target < 3; ++target) {
            p.cards[c]->m_pLinks->AddLink("L", target, 0, -1, ">", 1, 2 - target);
        }
    }
    const Project before = p.Clone();

    p.AddCard(kPosBottom, {2, -1});
    p.cards.pop_back();
    EXPECT_EQ(p, before) << "appending renumbers nothing";

    // Before the first card: every reference grows, including those to card 0.
    p.AddCard(kPosTop, {});
    for (int c = 1; c < 4; ++c) {
        const auto& links = p.cards[c]->m_pLinks->m_pLinkList;
        for (int t = 0; t < 3; ++t) {
            EXPECT_EQ(links[t]->m_nGoto, t + 1);
            EXPECT_EQ(links[t]->m_nThenGoto, 3 - t);
        }
    }

    // In the middle (at index 2): only references >= 2 grow.
    Project q = before.Clone();
    q.AddCard(kPosAfter, {1, -1});
    const auto& links = q.cards[0]->m_pLinks->m_pLinkList;
    EXPECT_EQ(links[0]->m_nGoto, 0);
    EXPECT_EQ(links[1]->m_nGoto, 1);
    EXPECT_EQ(links[2]->m_nGoto, 3);
    EXPECT_EQ(links[0]->m_nThenGoto, 3);
}

TEST(AddCard, LinkOnLastCardPointsPastTheEndUntilACardIsAppended) {
    Project p = Cards(2);
    p.AddLink(kPosAfter, {1, -1});
    EXPECT_EQ(p.cards[1]->m_pLinks->m_pLinkList[0]->m_nGoto, 2);
    p.AddCard(kPosBottom, {1, -1});
    EXPECT_EQ(p.cards[1]->m_pLinks->m_pLinkList[0]->m_nGoto, 2);
    EXPECT_EQ(p.CardCount(), 3);
}

TEST(AddCard, RefusedAtTheLimitWithTheHint) {
    Project p = Cards(kMaxCards);
    const Project before = p.Clone();
    const EditResult r = p.AddCard(kPosTop, {0, -1});
    EXPECT_FALSE(r.changed);
    EXPECT_EQ(r.hint, kHintMaxCards);
    EXPECT_EQ(r.selection, (Selection{0, -1}));
    EXPECT_EQ(p, before);
}

struct LinkPlacement {
    int code;
    int selectedLink; // -1: the card is selected
    int expectedIndex;
};

TEST(AddLink, PlacementForEveryCodeAndSelection) {
    // A card with three links Link 1..3; the new one is Link 4.
    const LinkPlacement cases[] = {
        {kPosTop, -1, 3},   {kPosBefore, -1, 3}, {kPosAfter, -1, 3}, {kPosBottom, -1, 3}, {kPosTop, 2, 0},
        {kPosBefore, 0, 0}, {kPosBefore, 1, 1},  {kPosBefore, 2, 2}, {kPosAfter, 0, 1},   {kPosAfter, 1, 2},
        {kPosAfter, 2, 3},  {kPosBottom, 0, 3},  {9, 0, 3},
    };
    for (const auto& c : cases) {
        Project p = Cards(2);
        for (int i = 0; i < 3; ++i) {
            p.AddLink(kPosBottom, {0, -1});
        }
        SCOPED_TRACE("code " + std::to_string(c.code) + " link " + std::to_string(c.selectedLink));
        const EditResult r = p.AddLink(c.code, {0, c.selectedLink});
        EXPECT_TRUE(r.changed);
        EXPECT_EQ(r.selection, (Selection{0, c.expectedIndex}));
        const CLinkInfo& added = *p.cards[0]->m_pLinks->m_pLinkList.at(c.expectedIndex);
        EXPECT_EQ(added, (CLinkInfo{"Link 4", 1, 0, "", 0, 0}));
        EXPECT_EQ(p.cards[0]->m_pLinks->Count(), 4);
    }
}

TEST(AddLink, NothingWithoutACardAndRefusedAtTheLimit) {
    Project p = Cards(1);
    EditResult r = p.AddLink(kPosBottom, {});
    EXPECT_FALSE(r.changed);
    EXPECT_TRUE(r.hint.empty());
    for (int i = 0; i < kMaxLinks; ++i) {
        ASSERT_TRUE(p.AddLink(kPosBottom, {0, -1}).changed);
    }
    const Project before = p.Clone();
    r = p.AddLink(kPosTop, {0, 3});
    EXPECT_FALSE(r.changed);
    EXPECT_EQ(r.hint, kHintMaxLinks);
    EXPECT_EQ(p, before);
}

TEST(RemoveCard, SendsReferencesToTheRemovedCardToCardZero) {
    Project p = Cards(4);
    for (int target = 0; target < 4; ++target) {
        p.cards[3]->m_pLinks->AddLink("L", target, 0, -1, "", 0, target);
    }
    const EditResult r = p.RemoveCard({2, -1});
    EXPECT_TRUE(r.changed);
    EXPECT_EQ(r.selection, (Selection{2, -1}));
    ASSERT_EQ(p.CardCount(), 3);
    EXPECT_EQ(Titles(p), (std::vector<std::string>{"Card 1:", "Card 2:", "Card 4:"}));
    const auto& links = p.cards[2]->m_pLinks->m_pLinkList;
    const int expected[] = {0, 1, 0, 2};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(links[i]->m_nGoto, expected[i]);
        EXPECT_EQ(links[i]->m_nThenGoto, expected[i]);
    }
    // Removing the last card selects the one before it.
    EXPECT_EQ(p.RemoveCard({2, -1}).selection, (Selection{1, -1}));
}

TEST(RemoveCard, LinkSelectedDoesNothingAndNothingSelectedHints) {
    Project p = MakeDefaultProject();
    const Project before = p.Clone();
    EditResult r = p.RemoveCard({0, 1});
    EXPECT_FALSE(r.changed);
    EXPECT_TRUE(r.hint.empty());
    r = p.RemoveCard({});
    EXPECT_FALSE(r.changed);
    EXPECT_EQ(r.hint, kHintSelectCard);
    EXPECT_EQ(p, before);
}

TEST(RemoveCard, TheOnlyCardLeavesAnEmptyProjectAndNoSelection) {
    Project p = Cards(1);
    const EditResult r = p.RemoveCard({0, -1});
    EXPECT_TRUE(r.changed);
    EXPECT_EQ(p.CardCount(), 0);
    EXPECT_TRUE(r.selection.IsNothing());
}

TEST(RemoveLink, RemovesTheSelectedLinkOnly) {
    Project p = Cards(1);
    for (int i = 0; i < 3; ++i) {
        p.AddLink(kPosBottom, {0, -1});
    }
    EXPECT_EQ(p.RemoveLink({0, -1}).hint, kHintSelectLink);
    EXPECT_EQ(p.RemoveLink({}).hint, kHintSelectLink);
    EXPECT_EQ(p.cards[0]->m_pLinks->Count(), 3);

    EditResult r = p.RemoveLink({0, 1});
    EXPECT_TRUE(r.changed);
    EXPECT_EQ(LinkTitles(*p.cards[0]), (std::vector<std::string>{"Link 1", "Link 3"}));
    EXPECT_EQ(r.selection, (Selection{0, 1}));
    r = p.RemoveLink({0, 1});
    EXPECT_EQ(r.selection, (Selection{0, 0}));
    r = p.RemoveLink({0, 0});
    EXPECT_EQ(r.selection, (Selection{0, -1}));
    EXPECT_EQ(p.cards[0]->m_pLinks->Count(), 0);
}

TEST(Clear, DestroysCardsAndResetsSettings) {
    Project p = MakeDefaultProject();
    p.settings.m_nBgAlign = 9;
    p.settings.m_strMusic = "Music\\a.mp3";
    p.Clear();
    EXPECT_EQ(p.CardCount(), 0);
    EXPECT_EQ(p.settings.m_nBgAlign, 0);
    EXPECT_EQ(p.settings.m_strMusic, "");
}

TEST(MoveCard, SwapsNeighboursAndKeepsEveryReferenceOnItsCard) {
    struct Case {
        Selection sel;
        int delta;
        bool changed;
        std::vector<std::string> titles;
    };
    const Case cases[] = {
        {{1, -1}, -1, true, {"Card 2:", "Card 1:", "Card 3:"}},
        {{1, -1}, +1, true, {"Card 1:", "Card 3:", "Card 2:"}},
        {{0, -1}, -1, false, {"Card 1:", "Card 2:", "Card 3:"}},
        {{2, -1}, +1, false, {"Card 1:", "Card 2:", "Card 3:"}},
        {{0, 0}, +1, false, {"Card 1:", "Card 2:", "Card 3:"}},
        {{}, +1, false, {"Card 1:", "Card 2:", "Card 3:"}},
    };
    for (const auto& c : cases) {
        Project p = MakeDefaultProject();
        // Card 2's first link: then-goto card 3 and goto card 1; card 3 gets a link past the end.
        p.cards[1]->m_pLinks->m_pLinkList[0]->m_nThenGoto = 2;
        p.cards[1]->m_pLinks->m_pLinkList[0]->m_nGoto = 0;
        p.AddLink(kPosAfter, {2, -1});
        const auto target = [&p](int card, int link) {
            const CLinkInfo& l = *p.cards[card]->m_pLinks->m_pLinkList[link];
            return std::pair{p.cards[l.m_nGoto < p.CardCount() ? l.m_nGoto : 0]->m_strTitle,
                             p.cards[l.m_nThenGoto]->m_strTitle};
        };
        const auto before = target(1, 0);
        const EditResult r = p.MoveCard(c.sel, c.delta);
        EXPECT_EQ(r.changed, c.changed);
        EXPECT_EQ(Titles(p), c.titles);
        int card2 = 0;
        while (p.cards[card2]->m_strTitle != "Card 2:") {
            ++card2;
        }
        EXPECT_EQ(target(card2, 0), before);
        if (r.changed) {
            EXPECT_EQ(r.selection, (Selection{c.sel.card + c.delta, -1}));
        }
        // The link past the last card still points past it.
        int card3 = 0;
        while (p.cards[card3]->m_strTitle != "Card 3:") {
            ++card3;
        }
        EXPECT_EQ(p.cards[card3]->m_pLinks->m_pLinkList.back()->m_nGoto, 3);
    }
}

} // namespace
} // namespace model
