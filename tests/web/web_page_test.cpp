// The page writer's rules: author text stays text, pictures are stored once, the page is small and
// loads nothing, its language, the plan both writers share, and the .dbl pictures it converts.
#include "imaging/picture.h"
#include "model/archive.h"
#include "movie/card_plan.h"
#include "swf/dbl.h"
#include "web/dbl_png.h"
#include "web/page_lang.h"
#include "web/page_text.h"
#include "web_test_support.h"

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;
using web_test::Count;
using web_test::Page;

TEST(WebPageTest, AuthorTextIsEscapedEverywhere) {
    model::Project project = model::MakeDefaultProject();
    const std::string hostile = "Q\"uo'te \\ </b><img src=x onerror=alert(1)><script>x()</script>&amp;";
    project.cards[0]->m_strTitle = hostile;
    project.cards[0]->m_strComment = hostile;
    project.cards[0]->m_pLinks->m_pLinkList[0]->m_strTitle = hostile;
    project.cards[0]->m_bMailAlert = 1;
    project.settings.m_strAuthor = hostile;
    project.settings.m_bPromoteEach = 1;
    const std::string page = Page(project);
    for (const char* raw : {"<img", "</b>", "<script>x", "onerror=alert(1)>", "'te"}) {
        EXPECT_EQ(Count(page, raw), 0u) << raw;
    }
    EXPECT_GE(Count(page, "&lt;img src=x onerror=alert(1)&gt;"), 4u)
        << "title, comment, caption, trace, author";
    EXPECT_EQ(Count(page, "<script>"), 1u) << "only the runtime";
    EXPECT_GE(Count(page, "&amp;amp;"), 1u);
}

TEST(WebPageTest, ForbidsEveryNetworkLoadAndFitsPhones) {
    model::Project project = model::MakeDefaultProject();
    const std::string page = Page(project);
    EXPECT_NE(page.find("<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; "
                        "script-src 'sha256-"),
              std::string::npos);
    EXPECT_NE(page.find("img-src data:; font-src data:; media-src data:;"), std::string::npos);
    EXPECT_NE(page.find("<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">"),
              std::string::npos);
    EXPECT_EQ(Count(page, "src=\"http"), 0u);
    EXPECT_EQ(Count(page, "url(http"), 0u);
    EXPECT_EQ(Count(page, "<main"), 1u);
    EXPECT_LE(page.size(), 48u * 1024) << "the default project's page";
}

TEST(WebPageTest, EachPictureIsStoredOnce) {
    model::Project project = model::MakeDefaultProject();
    for (auto& card : project.cards) {
        card->m_bProjectBg = 0;
        card->m_strBackground = "Background\\Sunrise.jpg";
    }
    project.cards[2]->m_strBackground = "Background\\Checks.dbl";
    project.cards[2]->m_nBgAlign = 9;
    const std::string page = Page(project);
    EXPECT_EQ(Count(page, "data:image/jpeg"), 1u);
    EXPECT_EQ(Count(page, "data:image/png"), 1u) << "the .dbl picture";
    EXPECT_EQ(Count(page, "class=\"bg p0\""), 2u);
    EXPECT_EQ(Count(page, "background-repeat:repeat"), 1u) << "the tiled picture";
}

TEST(WebPageTest, SlideShowAndMusicAsTheMovieHasThem) {
    struct Case {
        int slideShow;
        std::string seconds, interval;
    };
    for (const Case& c :
         std::vector<Case>{{0, "3", "0"}, {1, "0.5", "500"}, {1, "", "83"}, {1, "3", "3000"}}) {
        model::Project project = model::MakeDefaultProject();
        project.settings.m_bSlideShow = c.slideShow;
        project.settings.m_strSlideSeconds = c.seconds;
        EXPECT_NE(Page(project).find("data-interval=\"" + c.interval + "\""), std::string::npos) << c.seconds;
    }
    model::Project project = model::MakeDefaultProject();
    project.settings.m_strMusic = (fs::path(CW_TEST_SOURCE_DIR) / "data" / "Music" / "Chord.mp3").string();
    const std::string page = Page(project);
    EXPECT_EQ(Count(page, "<audio id=\"music\" loop src=\"data:audio/mpeg;base64,"), 1u);
}

TEST(WebPageTest, TitleLinesAreThePlansLines) {
    model::Project project = model::MakeDefaultProject();
    project.cards[0]->m_strTitle = "A title long enough that it cannot fit on one line of the card at all";
    web_test::Builder b(project, "plan");
    b.builder.LoadGiftFonts(1);
    const movie::CardPlan plan = b.builder.Plan(*project.cards[0], 60, 30);
    ASSERT_FALSE(plan.title[1].text.empty()) << "the title is broken";
    const std::string page = web::BuildWebPage(b.builder, project, {});
    EXPECT_NE(page.find(">" + plan.title[0].text + "</span>"), std::string::npos);
    EXPECT_NE(page.find(">" + plan.title[1].text + "</span>"), std::string::npos);
    EXPECT_EQ(plan.links.size(), 2u);
    EXPECT_EQ(plan.links[1].x, 95);
}

TEST(WebPageTest, LanguageFollowsTheAuthorOrTheScript) {
    struct Case {
        std::string text, author, expected;
    };
    const std::vector<Case> cases = {
        {"Happy birthday", "de-DE", "de-DE"},
        {"お誕生日おめでとう 日本", "en", "ja"},
        {"生日快乐", "en", "zh"},
        {"С днём рождения", "en", "ru"},
        {"З днем народження", "uk", "uk"},
        {"Χρόνια πολλά", "en", "el"},
        {"مرحبا بكم", "en", "ar"},
        {"שלום לכם", "fr", "he"},
        {"생일 축하해요", "en", "ko"},
        {"สุขสันต์วันเกิด", "en", "th"},
        {"जन्मदिन मुबारक", "en", "hi"},
        {"Hello Мир and more latin words", "en", "en"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(web::PageLanguage(c.text, c.author), c.expected) << c.text;
    }
    EXPECT_EQ(web::LanguageTag("de_DE.UTF-8"), "de-DE");
    EXPECT_EQ(web::LanguageTag("C.UTF-8"), "en");
    EXPECT_EQ(web::LanguageTag("\"><x"), "en");
}

TEST(WebPageTest, FlashClipsAreNamed) {
    // The themes use no clips; these take the clips the pickers offer.
    model::Project greeting = model::LoadProjectFile(web_test::kData / "Themes" / "Greeting.cwp");
    greeting.cards[2]->m_strBackground = "Background\\Bubbles.swf";
    model::Project quiz = model::LoadProjectFile(web_test::kData / "Themes" / "Quiz.cwp");
    model::Project story = model::LoadProjectFile(web_test::kData / "Themes" / "Story.cwp");
    story.settings.m_strMusic = "Music\\Chime.swf";
    story.cards[3]->m_strBackground = "Background\\Bubbles.swf";
    web_test::Builder a(greeting, "clip-a");
    web_test::Builder b(quiz, "clip-b");
    web_test::Builder c(story, "clip-c");
    EXPECT_EQ(web::FlashClipOf(greeting, a.builder).value_or("").filename(), "Bubbles.swf");
    EXPECT_FALSE(web::FlashClipOf(quiz, b.builder).has_value());
    EXPECT_EQ(web::FlashClipOf(story, c.builder).value_or("").filename(), "Chime.swf") << "the music first";
    EXPECT_NE(web::FlashClipMessage("/x/Bubbles.swf").find("Bubbles.swf"), std::string::npos);
}

TEST(WebPageTest, DblPicturesBecomePngsWithTheirPixels) {
    const std::vector<uint8_t> rgba = {255, 0,  0,  255, 0, 255, 0, 128, 0, 0, 255, 0,
                                       10,  20, 30, 255, 1, 2,   3, 255, 4, 5, 6,   255};
    for (bool alpha : {false, true}) {
        const auto dbl = swf::write_dbl(swf::lossless_from_rgba(3, 2, rgba, alpha));
        const web::DecodedPicture png = web::DblToPng(dbl);
        EXPECT_EQ(png.width, 3u);
        EXPECT_EQ(png.height, 2u);
        const imaging::Picture picture = imaging::Picture::LoadFromBuffer(png.png);
        const std::vector<uint8_t> back = picture.EncodeRgba();
        ASSERT_EQ(back.size(), rgba.size());
        EXPECT_EQ(back[0], 255);
        EXPECT_EQ(back[12], 10);
        EXPECT_EQ(back[15], 255);
        if (alpha) {
            EXPECT_EQ(back[7], 128);
            EXPECT_EQ(back[11], 0);
        } else {
            EXPECT_EQ(back[7], 255);
        }
    }
    EXPECT_THROW(web::DblToPng(std::vector<uint8_t>{'D', 'B', 'x'}), web::WebError);
}

TEST(WebPageTest, Base64AndPixels) {
    EXPECT_EQ(web::Base64(std::vector<uint8_t>{'M', 'a', 'n', 'M', 'a'}), "TWFuTWE=");
    EXPECT_EQ(web::Base64(std::vector<uint8_t>{'M'}), "TQ==");
    EXPECT_EQ(web::Px(12), "12px");
    EXPECT_EQ(web::Px(-0.0001), "0px");
    EXPECT_EQ(web::Px(12.25), "12.25px");
}

} // namespace
