// The story map: one box per card, one arrow per goto and then-goto inside the card list, and the same
// as SVG from cardwright-cli map.
#include "check/map_svg.h"
#include "check/story_map.h"
#include "check_projects.h"
#include "model/archive.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>

namespace {

namespace fs = std::filesystem;
using checktest::L;
using checktest::Make;

// Cards: C1 -> C2 (goto), C1 -> C3 when score >= 5 (then) else C2, C2 -> C2 (itself), C2 -> past the end,
// C3 with no title and a then-goto past the end.
model::Project Sample() {
    model::Project p = Make({{{1}, {1, 5, ">=", 5, 2}}, {{1}, {7}}, {{0, 0, "<", 3, 9}}});
    p.cards[2]->m_strTitle.clear();
    p.cards[0]->m_strTitle = "Start & <go>";
    return p;
}

int Count(const std::string& text, const std::regex& pattern) {
    return static_cast<int>(
        std::distance(std::sregex_iterator(text.begin(), text.end(), pattern), std::sregex_iterator()));
}

TEST(StoryMapTest, BoxesAndArrows) {
    const check::StoryMap map = check::LayOutStoryMap(Sample());
    ASSERT_EQ(map.boxes.size(), 3u);
    EXPECT_EQ(map.boxes[2].title, "[Card 3]");
    struct Want {
        int from, to, link;
        bool then;
        std::string label;
    };
    const Want want[] = {{0, 1, 0, false, ""},
                         {0, 1, 1, false, ""},
                         {0, 2, 1, true, "score >= 5"},
                         {1, 1, 0, false, ""},
                         {2, 0, 0, false, ""}};
    ASSERT_EQ(map.arrows.size(), std::size(want));
    for (size_t i = 0; i < std::size(want); ++i) {
        const check::MapArrow& a = map.arrows[i];
        EXPECT_EQ(std::tie(a.from, a.to, a.link, a.then, a.label),
                  std::tie(want[i].from, want[i].to, want[i].link, want[i].then, want[i].label));
        EXPECT_GE(a.curve.size(), 4u);
    }
    // Layered top to bottom: the second card lies below the first, every box inside the picture.
    EXPECT_GT(map.boxes[1].centre.y, map.boxes[0].centre.y);
    for (const auto& b : map.boxes) {
        EXPECT_GT(b.width, 0);
        EXPECT_LE(b.centre.x + b.width / 2, map.width + 0.5);
        EXPECT_LE(b.centre.y + b.height / 2, map.height + 0.5);
    }
}

TEST(StoryMapTest, AnEmptyProjectIsAnEmptyMap) {
    const check::StoryMap map = check::LayOutStoryMap(model::Project{});
    EXPECT_TRUE(map.boxes.empty());
    EXPECT_TRUE(map.arrows.empty());
}

TEST(StoryMapTest, CliWritesOneElementPerCardAndArrow) {
    const fs::path dir = fs::path(CW_TEST_BINARY_DIR) / "check-cli" / "map";
    fs::create_directories(dir);
    ASSERT_TRUE(model::SaveProjectFile(Sample(), dir / "map.cwp"));
    const std::string command = "CARDWRIGHT_WORK='" + (dir / "work").string() + "' '" + CW_CLI_PATH +
                                "' map '" + (dir / "map.cwp").string() + "' -o '" +
                                (dir / "map.svg").string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
    std::ifstream in(dir / "map.svg");
    const std::string svg{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_EQ(Count(svg, std::regex(R"(class="card")")), 3);
    EXPECT_EQ(Count(svg, std::regex(R"(class="goto")")), 4);
    EXPECT_EQ(Count(svg, std::regex(R"(class="then")")), 1);
    for (const char* title : {"Start &amp; &lt;go&gt;", "C2", R"(\[Card 3\])"}) {
        EXPECT_EQ(Count(svg, std::regex(std::string(R"(<g class="card"[^>]*>.*<text[^>]*>)") + title +
                                        "</text></g>")),
                  1)
            << title;
    }
    EXPECT_EQ(Count(svg, std::regex(R"(<g class="then".*stroke-dasharray.*>score &gt;= 5</text>)")), 1);
    // The link past the last card is still a finding: its card is framed in red.
    EXPECT_EQ(Count(svg, std::regex(R"(stroke="#d0021b")")), 2);
}

} // namespace
