// The gift checker: each kind of finding, the score rules of the movie (points, conditions, the first
// card's reset, loops, the slide show), and the sample projects.
#include "app/data_listing.h"
#include "check/checker.h"
#include "check/glyph_tips.h"
#include "check/score_range.h"
#include "check_projects.h"
#include "model/archive.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

namespace {

namespace fs = std::filesystem;
using check::Kind;
using checktest::L;
using checktest::Make;

const fs::path kData = CW_TEST_DATA_DIR;

// (kind, card, link) of each finding, 0-based, in the checker's order.
using Brief = std::tuple<Kind, int, int>;

std::vector<Brief> Briefs(const std::vector<check::Finding>& findings) {
    std::vector<Brief> out;
    for (const auto& f : findings) {
        out.emplace_back(f.kind, f.card, f.link);
    }
    return out;
}

std::vector<check::Finding> Check(const model::Project& p) {
    return check::CheckProject(p, {kData, {}});
}

struct FlowCase {
    const char* name;
    model::Project project;
    std::vector<Brief> expected;
};

TEST(CheckerTest, PathsAndScoresFollowTheMovie) {
    FlowCase cases[] = {
        {"a plain chain", Make({{{1}}, {{2}}, {}}), {}},
        {"a goto past the last card", Make({{{1}, {2}}, {}}), {{Kind::GotoPastEnd, 0, 1}}},
        {"a negative goto", Make({{{1}, {-1}}, {}}), {{Kind::GotoPastEnd, 0, 1}}},
        {"the largest gotos",
         Make({{{2147483647, 0, "<", 0, 2147483647}}}),
         {{Kind::GotoPastEnd, 0, 0}, {Kind::GotoPastEnd, 0, 0}, {Kind::ConditionNever, 0, 0}}},
        {"a then-goto past the end",
         Make({{{1, 1}, {1}}, {{2, 0, ">=", 1, 9}}, {}}),
         {{Kind::GotoPastEnd, 1, 0}}},
        {"a then-goto without a condition is never taken", Make({{{1, 0, "", 0, 9}}, {}}), {}},
        {"a card nothing reaches", Make({{{1}}, {}, {}}), {{Kind::Unreachable, 2, -1}}},
        {"the slide show reaches every card", Make({{{1}}, {}, {}}, true), {}},
        {"no path scores enough",
         Make({{{1, 10}, {1}}, {{2, 10}, {2, 20}}, {{4, 0, ">=", 50, 3}}, {}, {}}),
         {{Kind::ConditionNever, 2, 0}, {Kind::Unreachable, 3, -1}}},
        {"every path scores enough",
         Make({{{1, 10}}, {{3, 0, ">", 5, 2}}, {}, {}}),
         {{Kind::ConditionAlways, 1, 0}, {Kind::Unreachable, 3, -1}}},
        {"the link's own points count before its condition",
         Make({{{1, 5, "=", 5, 1}}, {}}),
         {{Kind::ConditionAlways, 0, 0}}},
        {"a loop that adds points can reach any score",
         Make({{{1, 10}}, {{2, 5}, {1, 0, ">=", 100, 3}}, {{1}}, {}}),
         {}},
        {"a link to its own card keeps the score, also on the first card",
         Make({{{0, 10}, {0, 0, ">=", 30, 1}}, {}}),
         {}},
        {"a return to the first card loses the points",
         Make({{{1, 10}}, {{0, 10}, {1, 0, ">=", 20, 2}}, {}}),
         {{Kind::ConditionNever, 1, 1}, {Kind::Unreachable, 2, -1}}},
        {"a condition on the first card sees score 0",
         Make({{{2, 0, ">", 0, 1}}, {}, {}}),
         {{Kind::ConditionNever, 0, 0}, {Kind::Unreachable, 1, -1}}},
        {"the slide show carries the score on and resets it at the first card",
         Make({{{1, 7}, {1, 0, ">", 0, 2}}, {{0, 0, "=", 7, 0}}, {{1, 0, "<", 5, 1}}}, true),
         {{Kind::ConditionNever, 0, 1}}},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Briefs(Check(c.project)), c.expected);
    }
}

TEST(CheckerTest, ConditionMessagesNameTheScores) {
    const auto findings = Check(Make({{{1, 10}, {1}}, {{2, 10}, {2, 20}}, {{2, 0, ">=", 50, 2}}}));
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_EQ(findings[0].message, "\"if score >= 50\" never holds: the score after this link is 10 to 30");
    EXPECT_EQ(findings[0].severity, check::Severity::Warning);
}

TEST(CheckerTest, LongChainsAndWideLoopsStayQuickAndExact) {
    // 5,000 cards in a chain each adding a point, the last looping back to the second: the recursion-free
    // loop search copes, and the loop makes the score unbounded above.
    std::vector<std::vector<L>> cards(5000);
    for (int c = 0; c + 1 < 5000; ++c) {
        cards[c] = {{c + 1, 1}};
    }
    cards[4999] = {{1, 1}, {4999, 0, "<", 1, 4999}};
    EXPECT_EQ(Briefs(Check(Make(cards))), (std::vector<Brief>{{Kind::ConditionNever, 4999, 1}}));
}

struct OtherCase {
    const char* name;
    void (*change)(model::Project&);
    std::vector<Brief> expected;
};

TEST(CheckerTest, FilesColoursTitlesAndAlerts) {
    OtherCase cases[] = {
        {"a card background that is gone",
         [](model::Project& p) {
             p.cards[1]->m_bProjectBg = 0;
             p.cards[1]->m_strBackground = "Background\\Gone.jpg";
         },
         {{Kind::MissingFile, 1, -1}}},
        {"a card background that is there (any case)",
         [](model::Project& p) {
             p.cards[1]->m_bProjectBg = 0;
             p.cards[1]->m_strBackground = "background\\SUNRISE.JPG";
         },
         {}},
        {"music that is gone is the project's",
         [](model::Project& p) { p.settings.m_strMusic = "Music\\Gone.mp3"; },
         {{Kind::MissingFile, -1, -1}}},
        {"a button picture that is gone",
         [](model::Project& p) { p.settings.m_strButton = "Button\\Gone.png"; },
         {{Kind::MissingFile, -1, -1}}},
        {"a title as light as the background",
         [](model::Project& p) { p.cards[0]->m_strTitleColor = "#EEEEEE"; },
         {{Kind::LowContrast, 0, -1}}},
        {"an unreadable comment colour takes the title's",
         [](model::Project& p) {
             p.cards[0]->m_strTitleColor = "#FAFAFA";
             p.cards[0]->m_strCommentColor = "grey";
         },
         {{Kind::LowContrast, 0, -1}, {Kind::LowContrast, 0, -1}}},
        {"dark text on a dark background",
         [](model::Project& p) {
             p.cards[1]->m_bProjectBg = 0;
             p.cards[1]->m_strBackground = "#202020";
         },
         {{Kind::LowContrast, 1, -1}, {Kind::LowContrast, 1, -1}}},
        {"a missing picture shows white under the text",
         [](model::Project& p) {
             p.settings.m_strBackground = "Background\\Gone.png";
             p.cards[0]->m_strTitleColor = "#FFFFFF";
         },
         {{Kind::MissingFile, -1, -1}, {Kind::LowContrast, 0, -1}}},
        {"text over a picture is not measured",
         [](model::Project& p) {
             p.settings.m_strBackground = "Background\\Meadow.png";
             p.cards[0]->m_strTitleColor = "#FFFFFF";
         },
         {}},
        {"an untitled card and an uncaptioned link",
         [](model::Project& p) {
             p.cards[0]->m_strTitle.clear();
             p.cards[0]->m_pLinks->m_pLinkList[0]->m_strTitle.clear();
         },
         {{Kind::EmptyTitle, 0, -1}, {Kind::EmptyTitle, 0, 0}}},
        {"an e-mail alert with no address",
         [](model::Project& p) {
             p.cards[1]->m_bMailAlert = 1;
             p.settings.m_strEmail = "";
         },
         {{Kind::AlertWithoutAddress, 1, -1}}},
        {"an e-mail alert with an address",
         [](model::Project& p) {
             p.cards[1]->m_bMailAlert = 1;
             p.settings.m_strEmail = "me@example.org";
         },
         {}},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        model::Project p = Make({{{1}}, {}});
        c.change(p);
        EXPECT_EQ(Briefs(Check(p)), c.expected);
    }
}

TEST(CheckerTest, MissingGlyphUsesTheBuildersFontsAndTip) {
    model::Project p = Make({{{1, 0, "", 0, 0, "Ok \xee\x80\x80"}}, {}});
    p.cards[1]->m_strComment = "fine\r\nline two \xee\x80\x81\r\n";
    p.cards[0]->m_strTitle = "Caf\xc3\xa9 \xce\xb1\xce\xb2 \xe4\xbd\xa0\xe5\xa5\xbd"; // Latin, Greek, Chinese
    const app::Workspace workspace(kData, fs::path(CW_TEST_BINARY_DIR) / "check-work");
    const auto findings = check::CheckProject(p, {kData, check::MakeGlyphTip(p.settings, workspace)});
    ASSERT_EQ(Briefs(findings),
              (std::vector<Brief>{{Kind::MissingGlyph, 0, 0}, {Kind::MissingGlyph, 1, -1}}));
    EXPECT_NE(findings[0].message.find("U+E000"), std::string::npos) << findings[0].message;
    EXPECT_NE(findings[1].message.find("\"line two"), std::string::npos) << findings[1].message;
}

// Every theme as shipped is a gift without a finding.
TEST(CheckerTest, ThemesHaveNoFinding) {
    const app::Workspace workspace(kData, fs::path(CW_TEST_BINARY_DIR) / "check-work");
    const std::vector<app::ThemeEntry> themes = app::ListThemes(kData);
    EXPECT_GE(themes.size(), 12u);
    for (const app::ThemeEntry& theme : themes) {
        SCOPED_TRACE(theme.title);
        const model::Project p = model::LoadProjectFile(theme.file);
        for (const auto& f : check::CheckProject(p, {kData, check::MakeGlyphTip(p.settings, workspace)})) {
            ADD_FAILURE() << f.message;
        }
    }
}

TEST(ScoreRangeTest, CutsByConditions) {
    using check::Compare;
    using check::ScoreRange;
    const ScoreRange r = ScoreRange::Between(0, 10);
    const std::tuple<Compare, int, ScoreRange, ScoreRange> cases[] = {
        {Compare::Greater, 4, ScoreRange::Between(5, 10), ScoreRange::Between(0, 4)},
        {Compare::GreaterEqual, 10, ScoreRange::Exactly(10), ScoreRange::Between(0, 9)},
        {Compare::Less, 0, ScoreRange(), r},
        {Compare::LessEqual, 10, r, ScoreRange()},
        {Compare::Equal, 0, ScoreRange::Exactly(0), ScoreRange::Between(1, 10)},
        {Compare::Equal, 5, ScoreRange::Exactly(5), r}, // one interval cannot have a hole
        {Compare::Equal, 11, ScoreRange(), r},
    };
    for (const auto& [op, value, holding, failing] : cases) {
        EXPECT_EQ(r.Holding(op, value), holding);
        EXPECT_EQ(r.Failing(op, value), failing);
    }
    EXPECT_EQ(ScoreRange::Exactly(5).Failing(Compare::Equal, 5), ScoreRange());
    EXPECT_EQ(ScoreRange::Between(0, 5).WidenedTo(ScoreRange::Between(0, 9)).Describe(), "0 or more");
    EXPECT_EQ(ScoreRange::Any().Plus(5), ScoreRange::Any());
    EXPECT_EQ(ScoreRange::Between(-3, 2).Plus(3), ScoreRange::Between(0, 5));
}

} // namespace
