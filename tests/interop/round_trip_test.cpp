// Export then import gives back the cards: titles, texts, links, gotos, scores and conditions. Run on the
// sample projects (the themes and the sample movies' sources) and on a project made of awkward cases.
#include "interop/story_import.h"
#include "interop/story_readers.h"
#include "interop/twee_writer.h"
#include "model/archive.h"
#include "sample_sources.h"

#include <gtest/gtest.h>

#include <regex>

namespace {

namespace fs = std::filesystem;

// The parts of a project a Twine story carries, as text for readable failures. A link's comparison
// value and then-goto count only when it has a comparison.
std::string Carried(const model::Project& p) {
    std::string out;
    for (const auto& c : p.cards) {
        out += "card [" + c->m_strTitle + "] [" + c->m_strComment + "]\n";
        for (const auto& l : c->m_pLinks->m_pLinkList) {
            out += "  link [" + l->m_strTitle + "] goto " + std::to_string(l->m_nGoto) + " score " +
                   std::to_string(l->m_nScore);
            if (!l->m_strCompare.empty()) {
                out += " if " + l->m_strCompare + " " + std::to_string(l->m_nCompareValue) + " then " +
                       std::to_string(l->m_nThenGoto);
            }
            out += "\n";
        }
    }
    return out;
}

model::Project AwkwardProject() {
    model::Project p;
    auto card = [&](std::string title, std::string comment) -> model::CLinks& {
        auto c = model::CCardInfo::MakeNew(p.CardCount());
        c->m_strTitle = std::move(title);
        c->m_strComment = std::move(comment);
        p.cards.push_back(std::move(c));
        return *p.cards.back()->m_pLinks;
    };
    const int nowhere = 7;
    auto& start = card("Start", "Welcome!\r\n\r\nA.\r\nB.\r\n");
    start.AddLink("Next", 1, 5, -1, ">=", 10, 2);
    start.AddLink("Back", 0, -3, -1, "", 0, 0);
    start.AddLink("Equal", 3, 0, -1, "=", 4, nowhere);
    start.AddLink("Less", nowhere, 1, -1, "<", -2, 1);
    start.AddLink("Plain", 1, 0, -1, "", 0, 0);
    auto& twin =
        card("Start", "Has <<macros>> and $vars and [[links]]\r\n''bold'' //it//\r\n:: not a header\r\n<<if");
    twin.AddLink("Say \"hi\" \\o/", 2, 0, -1, "", 0, 0);
    twin.AddLink("a|b", 2, 0, -1, ">", 1, 6);
    twin.AddLink("", 0, 0, -1, "<=", 0, 0);
    card("", "");
    card("StoryInit", "Trailing blank\r\n");
    auto& padded = card(" :: padded ", "Ends in spaces\r\n   ");
    padded.AddLink("Nowhere", nowhere, 0, -1, "", 0, 0);
    padded.AddLink("x->y", 3, 0, -1, "", 0, 0);
    padded.AddLink("two\nlines\r\n:: x", 4, 0, -1, "", 0, 0);
    auto& odd = card("Room [1] {a} \\ b|c שלום",
                     "/* card title: \"fake\" */\r\n\"\"\"quoted\"\"\" <<x>>\r\n</nowiki> <nowiki>");
    odd.AddLink("Room", 5, 0, -1, "", 0, 0);
    odd.AddLink("שלום", 0, 0, -1, "", 0, 0);
    card("Card 3", "Same name as the untitled card's passage.");
    return p;
}

std::vector<std::pair<std::string, model::Project>> Projects() {
    std::vector<std::pair<std::string, model::Project>> out;
    out.emplace_back("default", model::MakeDefaultProject());
    out.emplace_back("awkward", AwkwardProject());
    for (const char* name : {"Greeting", "Quiz", "Story"}) {
        const fs::path file = fs::path(CW_TEST_DATA_DIR) / "Themes" / (std::string(name) + ".cwp");
        out.emplace_back(name, fs::exists(file) ? model::LoadProjectFile(file) : model::Project{});
    }
    for (auto& sample : interop::test::SampleSourceProjects()) {
        out.push_back(std::move(sample));
    }
    return out;
}

TEST(TwineRoundTrip, ImportOfTheExportGivesBackTheCards) {
    for (const auto& [name, project] : Projects()) {
        SCOPED_TRACE(name);
        ASSERT_FALSE(project.cards.empty()) << "sample project missing";
        const interop::ExportResult exported = interop::ExportTwee(project);
        EXPECT_TRUE(exported.warnings.empty()) << ::testing::PrintToString(exported.warnings);
        const interop::ImportResult back = interop::ImportStory(interop::ReadStory(exported.twee));
        EXPECT_EQ(Carried(back.project), Carried(project)) << exported.twee;
        EXPECT_TRUE(back.warnings.empty()) << ::testing::PrintToString(back.warnings);
    }
}

TEST(TwineRoundTrip, TheIfidIsAStableVersionFourUuid) {
    model::Project p = model::MakeDefaultProject();
    const std::string a = interop::ExportTwee(p).twee;
    EXPECT_EQ(interop::ExportTwee(p).twee, a);
    const std::regex ifid(
        "\"ifid\": \"([0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12})\"");
    std::smatch m1, m2;
    ASSERT_TRUE(std::regex_search(a, m1, ifid)) << a;
    p.cards[1]->m_strComment += "!";
    const std::string b = interop::ExportTwee(p).twee;
    ASSERT_TRUE(std::regex_search(b, m2, ifid));
    EXPECT_NE(m1[1], m2[1]);
    EXPECT_NE(a.find("\"format\": \"SugarCube\""), std::string::npos);
    EXPECT_NE(a.find("\"start\": \"Card 1:\""), std::string::npos);
}

TEST(TwineRoundTrip, ScoresBecomeSugarCubeMacros) {
    const std::string twee = interop::ExportTwee(AwkwardProject()).twee;
    for (const char* macro :
         {":: Start\n<<set $score to 0>>\nWelcome!",
          "<<link \"Next\">><<set $score += 5>><<if $score >= 10>><<goto \"Card 3\">><<else>><<goto \"Start "
          "(2)\">><</if>><</link>>",
          "<<link \"Back\">><<set $score -= 3>><<goto \"Start\">><</link>>", "[[Plain|Start (2)]]",
          "<<if $score is 4>><<else>><<goto \"StoryInit (2)\">><</if>>"}) {
        EXPECT_NE(twee.find(macro), std::string::npos) << macro << "\n" << twee;
    }
}

} // namespace
