// The pages tests/e2e/web_gift.suite.mjs plays beside their movies in Ruffle: the sample quiz, a card
// with hostile titles, and projects generated from a fixed seed with scores, conditions, returns to the
// first card, links one past the last card and an e-mail alert on every card. Each is written to
// test-movies/web/ as NAME.swf and NAME.html.
#include "model/archive.h"
#include "web_test_support.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

namespace fs = std::filesystem;

const fs::path kOut = fs::path(CW_TEST_BINARY_DIR) / "test-movies" / "web";

void WriteBoth(model::Project& project, const std::string& name) {
    fs::create_directories(kOut);
    web_test::Builder b(project, name);
    b.builder.GenerateSWF(kOut / (name + ".swf"), nullptr, 1, 0);
    web::WriteWebPage(b.builder, project, web::PageOptions{"en"}, kOut / (name + ".html"));
    EXPECT_TRUE(fs::exists(kOut / (name + ".html")));
    EXPECT_FALSE(fs::exists(kOut / (name + ".html.partial")));
}

// A small generator of our own, so the projects are the same on every machine.
class Seeded {
public:
    explicit Seeded(uint32_t seed) : m_state(seed) {}
    int Below(int n) {
        m_state = m_state * 1664525u + 1013904223u;
        return int((m_state >> 8) % uint32_t(n));
    }

private:
    uint32_t m_state;
};

model::Project RandomProject(uint32_t seed) {
    static const char* kColours[] = {"#F0D0D0", "#D0F0D0", "#D0D0F0", "#F0F0C0", "#C0F0F0", "#F0C0F0"};
    static const char* kCompare[] = {"", ">", ">=", "=", "<=", "<"};
    Seeded rng(seed);
    model::Project p;
    p.settings = model::NewProjectSettings();
    p.settings.m_bPromoteLast = 0;
    p.settings.m_strEmail = "friend+gift@example.org";
    const int cards = 4 + rng.Below(3);
    for (int k = 0; k < cards; ++k) {
        auto card = model::CCardInfo::MakeNew(k);
        card->m_strTitle = "Card " + std::to_string(k) + " \xC3\xA9@-_.*+/ & \"q\"";
        card->m_strComment = "Seed " + std::to_string(seed);
        card->m_bProjectBg = 0;
        card->m_strBackground = kColours[k];
        card->m_bMailAlert = 1;
        const int links = 1 + rng.Below(3);
        for (int i = 0; i < links; ++i) {
            // Returns to the first card often, and now and then a link one past the last card.
            const int target = rng.Below(8) == 0 ? cards : rng.Below(4) == 0 ? 0 : rng.Below(cards);
            card->m_pLinks->AddLink("L" + std::to_string(i) + "#" + std::to_string(k), target,
                                    rng.Below(16) - 5, -1, kCompare[rng.Below(6)], rng.Below(21),
                                    rng.Below(cards));
        }
        p.cards.push_back(std::move(card));
    }
    return p;
}

TEST(GiftPagesTest, SampleQuiz) {
    model::Project quiz = model::LoadProjectFile(web_test::kData / "Themes" / "Quiz.cwp");
    WriteBoth(quiz, "quiz");
}

// Every placement of a background picture (3 x 3, tiled, locked ratio, stretched), a .dbl picture, a picture
// button face, the credit with the author's button, and text in other scripts (fallback faces).
TEST(GiftPagesTest, Pictures) {
    model::Project p;
    p.settings = model::NewProjectSettings();
    p.settings.m_strButton = "Button\\Green.png";
    p.settings.m_strButtonTextColor = "#FFFFFF";
    p.settings.m_strAuthor = "Ann";
    p.settings.m_strEmail = "ann@example.org";
    struct Card {
        const char* title;
        const char* comment;
        const char* background;
        int code;
    };
    const Card cards[] = {
        {"Top left", "Sunrise, placement 0", "Background\\Sunrise.jpg", 0},
        {"\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xE3\x81\xAE\xE3\x82\xAB\xE3\x83\xBC\xE3\x83\x89",
         "Locked ratio: \xD9\x85\xD8\xB1\xD8\xAD\xD8\xA8\xD8\xA7", "Background\\Meadow.png", 10},
        {"Stretched", "\xCE\x9A\xCE\xB1\xCE\xBB\xCE\xB7\xCE\xBC\xCE\xAD\xCF\x81\xCE\xB1",
         "Background\\Night.bmp", 11},
        {"Tiled", "Dots, placement 9", "Background\\Dots.gif", 9},
        {"Bottom right", "Sunrise again", "Background\\Sunrise.jpg", 8},
        {"Checks", "A .dbl picture", "Background\\Checks.dbl", 4},
    };
    const int count = int(std::size(cards));
    for (int k = 0; k < count; ++k) {
        auto card = model::CCardInfo::MakeNew(k);
        card->m_strTitle = cards[k].title;
        card->m_strComment = cards[k].comment;
        card->m_strBackground = cards[k].background;
        card->m_nBgAlign = cards[k].code;
        card->m_bProjectBg = 0;
        card->m_pLinks->AddLink("Next", (k + 1) % count, 0, -1, "", 0, 0);
        p.cards.push_back(std::move(card));
    }
    WriteBoth(p, "pictures");
}

// A slide show of three cards, one every 2 seconds, the first with a link.
TEST(GiftPagesTest, SlideShow) {
    model::Project p = model::MakeDefaultProject();
    p.settings.m_bSlideShow = 1;
    p.settings.m_strSlideSeconds = "2";
    WriteBoth(p, "slides");
}

TEST(GiftPagesTest, HostileTitles) {
    model::Project p = model::MakeDefaultProject();
    p.cards[0]->m_strTitle = "\"q' \\ </b><img src=x onerror=window.cwRan=1>";
    p.cards[0]->m_strComment = "<script>window.cwRan=2</script>\r\n</p></section><b>bold?</b>";
    p.cards[0]->m_pLinks->m_pLinkList[0]->m_strTitle = "<img src=x onerror=window.cwRan=3>";
    WriteBoth(p, "hostile");
}

TEST(GiftPagesTest, SeededProjects) {
    for (uint32_t seed : {1u, 2u, 3u, 4u}) {
        model::Project p = RandomProject(seed);
        WriteBoth(p, "seeded" + std::to_string(seed));
    }
}

} // namespace
