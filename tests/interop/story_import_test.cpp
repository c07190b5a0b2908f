// Stories made into projects: order and limits, special passages, missing targets, names of every
// script, and files that are no story at all.
#include "interop/story_import.h"
#include "interop/story_readers.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using interop::ImportStory;
using interop::ReadStory;

interop::ImportResult Import(const std::string& text) {
    return ImportStory(ReadStory(text));
}

std::vector<std::string> Titles(const model::Project& p) {
    std::vector<std::string> out;
    for (const auto& c : p.cards) {
        out.push_back(c->m_strTitle);
    }
    return out;
}

// The warning lines that mention `what`.
size_t Mentions(const std::vector<std::string>& warnings, const std::string& what) {
    return std::count_if(warnings.begin(), warnings.end(),
                         [&](const std::string& w) { return w.find(what) != std::string::npos; });
}

TEST(StoryImport, StartPassageFirstThenStoryOrderAndSpecialPassagesSkipped) {
    const auto r =
        Import(":: StoryTitle\nThe Walk\n\n"
               ":: StoryData\n{\"ifid\":\"D674C58C-DEFA-4F70-B7A2-27742230C0FC\",\"start\":\"Gate\"}\n\n"
               ":: StoryInit\n<<set $gold to 0>>\n\n"
               ":: Style [stylesheet]\nbody { color: red }\n\n"
               ":: Code [script]\nwindow.x = 1;\n\n"
               ":: Field\nA field. [[Gate]]\n\n"
               ":: Gate\nA gate.\n[[Into the field|Field]]\n[[Stay->Gate]]\n");
    EXPECT_EQ(Titles(r.project), (std::vector<std::string>{"Gate", "Field"}));
    const auto& gate = *r.project.cards[0];
    EXPECT_EQ(gate.m_strComment, "A gate.");
    ASSERT_EQ(gate.m_pLinks->Count(), 2);
    EXPECT_EQ(gate.m_pLinks->m_pLinkList[0]->m_strTitle, "Into the field");
    EXPECT_EQ(gate.m_pLinks->m_pLinkList[0]->m_nGoto, 1);
    EXPECT_EQ(gate.m_pLinks->m_pLinkList[1]->m_nGoto, 0);
    EXPECT_EQ(r.project.cards[1]->m_strComment, "A field. ");
    EXPECT_EQ(Mentions(r.warnings, "\"StoryInit\""), 1u);
    EXPECT_EQ(Mentions(r.warnings, "\"Style\""), 1u);
    EXPECT_EQ(Mentions(r.warnings, "\"Code\""), 1u);
    EXPECT_EQ(Mentions(r.warnings, "StoryTitle"), 0u);
    EXPECT_EQ(r.warnings.size(), 3u) << ::testing::PrintToString(r.warnings);
    EXPECT_EQ(r.project.settings, model::NewProjectSettings());
}

TEST(StoryImport, WithoutAStartTheStartPassageOrTheFirstBegins) {
    EXPECT_EQ(Titles(Import(":: A\na\n:: Start\ns\n").project), (std::vector<std::string>{"Start", "A"}));
    EXPECT_EQ(Titles(Import(":: A\na\n:: B\nb\n").project), (std::vector<std::string>{"A", "B"}));
    const auto missing = Import(":: StoryData\n{\"start\":\"Nowhere\"}\n:: A\na\n:: B\nb\n");
    EXPECT_EQ(Titles(missing.project), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(Mentions(missing.warnings, "\"Nowhere\""), 1u);
}

TEST(StoryImport, LinksToMissingPassagesAreDroppedWithOneLineAPassage) {
    const auto r =
        Import(":: A\nGo [[B]] or [[Lost]] or [[Gone|Nowhere]] <<set $y to 1>> $x [[Walk -> B]]\n:: B\nb\n");
    const auto& links = r.project.cards[0]->m_pLinks->m_pLinkList;
    ASSERT_EQ(links.size(), 2u);
    EXPECT_EQ(links[0]->m_nGoto, 1);
    EXPECT_EQ(links[1]->m_strTitle, "Walk ");
    EXPECT_EQ(links[1]->m_nGoto, 1); // spaces around the arrow
    ASSERT_EQ(r.warnings.size(), 1u) << ::testing::PrintToString(r.warnings);
    for (const char* what :
         {"passage \"A\"", "\"Lost\"", "\"Nowhere\"", "no such passage", "<<set>>", "$x"}) {
        EXPECT_NE(r.warnings[0].find(what), std::string::npos) << what << " in " << r.warnings[0];
    }
}

TEST(StoryImport, TheTenthLinkIsTheLastAndLongTextsAreCut) {
    std::string text = ":: Hub\n";
    for (int i = 0; i < 13; ++i) {
        text += "[[Choice number " + std::to_string(i) + " is long|Hub]]\n";
    }
    const std::string longName(120, 'n');
    text += ":: " + longName + "\nbody\n";
    const auto r = Import(text);
    const auto& links = r.project.cards[0]->m_pLinks->m_pLinkList;
    ASSERT_EQ(links.size(), 10u);
    EXPECT_EQ(links[9]->m_strTitle, "Choice number 9 is l");
    EXPECT_EQ(Mentions(r.warnings, "3 link(s) beyond the tenth left out: \"Choice number 10 is long\""), 1u);
    EXPECT_EQ(Mentions(r.warnings, "passage \"Hub\""), 1u);
    const auto& card = *r.project.cards[1];
    EXPECT_EQ(card.m_strTitle, std::string(100, 'n'));
    EXPECT_EQ(card.m_strComment, longName + "\r\nbody");
    EXPECT_EQ(Mentions(r.warnings, "title cut to 100"), 1u);
}

TEST(StoryImport, PassagesBeyondTwoHundredAreLeftOutAndLinksToThemDropped) {
    std::string text = ":: StoryData\n{\"start\":\"P250\"}\n";
    for (int i = 1; i <= 250; ++i) {
        text += ":: P" + std::to_string(i) + "\n[[P" + std::to_string(i % 250 + 1) + "]]\n";
    }
    const auto r = Import(text);
    ASSERT_EQ(r.project.CardCount(), 200);
    EXPECT_EQ(r.project.cards[0]->m_strTitle, "P250");
    EXPECT_EQ(r.project.cards[0]->m_pLinks->m_pLinkList[0]->m_nGoto, 1); // P1
    EXPECT_EQ(r.project.cards[199]->m_strTitle, "P199");
    EXPECT_EQ(r.project.cards[199]->m_pLinks->Count(), 0); // P200 is left out
    EXPECT_EQ(Mentions(r.warnings, "left out (a project holds at most 200 cards)"), 50u);
    EXPECT_EQ(Mentions(r.warnings, "left out beyond the card limit"), 1u);
}

TEST(StoryImport, NamesInAnyScriptStayWhole) {
    const auto r = Import(":: Café ☕\n[[שלום עולם]] [[مرحبا->مرحبا بالعالم]]\n:: שלום עולם\nטקסט\n"
                          ":: مرحبا بالعالم\nنص\n:: 日本語の名前\n[[Café ☕]]\n");
    EXPECT_EQ(Titles(r.project),
              (std::vector<std::string>{"Café ☕", "שלום עולם", "مرحبا بالعالم", "日本語の名前"}));
    const auto& links = r.project.cards[0]->m_pLinks->m_pLinkList;
    ASSERT_EQ(links.size(), 2u);
    EXPECT_EQ(links[0]->m_nGoto, 1);
    EXPECT_EQ(links[1]->m_strTitle, "مرحبا");
    EXPECT_EQ(links[1]->m_nGoto, 2);
    EXPECT_EQ(r.project.cards[3]->m_pLinks->m_pLinkList[0]->m_nGoto, 0);
    EXPECT_TRUE(r.warnings.empty()) << ::testing::PrintToString(r.warnings);
    // Captions are cut by characters, never inside one.
    const auto cut = Import(":: A\n[[ááááááááááááááááááááááá|A]]\n");
    EXPECT_EQ(cut.project.cards[0]->m_pLinks->m_pLinkList[0]->m_strTitle, "áááááááááááááááááááá");
}

TEST(StoryImport, TwineHtmlGivesTheSameAsTwee) {
    const std::string twee = ":: StoryTitle\nT\n:: StoryData\n{\"start\":\"B\",\"format\":\"Harlowe\"}\n"
                             ":: A [x]\nSay \"hi\" & <go> [[B]]\n:: B\n(set: $n to 1)Text\n[[Back->A]]\n";
    const std::string html =
        "<!DOCTYPE html><html><head><title>T</title></head><body>"
        "<tw-storydata name=\"T\" startnode=\"2\" format=\"Harlowe\" format-version=\"3.3.8\" ifid=\"X\" "
        "hidden>"
        "<style role=\"stylesheet\" id=\"twine-user-stylesheet\" type=\"text/twine-css\"></style>"
        "<script role=\"script\" id=\"twine-user-script\" type=\"text/twine-javascript\"></script>"
        "<tw-passagedata pid=\"1\" name=\"A\" tags=\"x\" position=\"100,100\">Say &quot;hi&quot; &amp; "
        "&lt;go&gt; [[B]]</tw-passagedata>"
        "<tw-passagedata pid=\"2\" name=\"B\" tags=\"\">(set: $n to 1)Text\n[[Back-&gt;A]]</tw-passagedata>"
        "</tw-storydata></body></html>";
    const auto a = Import(twee);
    const auto b = Import(html);
    EXPECT_EQ(a.project, b.project);
    EXPECT_EQ(a.warnings, b.warnings);
    EXPECT_EQ(Titles(b.project), (std::vector<std::string>{"B", "A"}));
}

TEST(StoryImport, DamagedFilesAndOtherFilesAreRefused) {
    const std::string cases[] = {
        "",
        "Just some notes.\nNo passages here.",
        std::string(":: A\nText\0more", 13),
        ":: A\nbad \xC3\x28 byte",
        ":: \nno name",
        ":: A [tag\nunclosed tags",
        "<html><body><p>Not a story</p></body></html>",
        "<tw-storydata name=\"x\"></tw-storydata>",
        ":: StoryTitle\nOnly special\n:: StoryData\n{}\n",
        "\x89PNG\r\n\x1a\n",
    };
    for (const std::string& c : cases) {
        SCOPED_TRACE(c);
        EXPECT_THROW(Import(c), interop::StoryError);
    }
}

TEST(StoryImport, AStoryTitleNamesAnUntitledFirstCardAndAnArchiveGivesItsFirstStory) {
    const auto r =
        Import("<tw-storydata name=\"Our Trip\" startnode=\"1\"><tw-passagedata pid=\"1\" name=\" \">"
               "a</tw-passagedata></tw-storydata>");
    EXPECT_EQ(r.project.cards[0]->m_strTitle, "Our Trip");
    const auto archive =
        Import("<tw-storydata name=\"One\"><tw-passagedata pid=\"1\" name=\"A\">a</tw-passagedata>"
               "</tw-storydata><tw-storydata name=\"Two\"><tw-passagedata pid=\"1\" name=\"B\">b"
               "</tw-passagedata></tw-storydata>");
    EXPECT_EQ(Titles(archive.project), (std::vector<std::string>{"A"}));
    EXPECT_EQ(Mentions(archive.warnings, "2 stories"), 1u);
}

} // namespace
