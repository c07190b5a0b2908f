// Cards in every language: the multilingual card builds without a replacement glyph, with one embedded
// font per face used, and writes test-movies/gift/e2e_i18n.swf with the reference layout of its words
// (HarfBuzz's shaping of each word with the face a reader would pick) for the real-player suite
// (tests/e2e/i18n.suite.mjs). A character no face has gives one tip and still a movie.
#include "gift_fixture.h"

#include "swf/hb_reference.h"
#include "swf/utf8.h"

#include <fstream>

namespace gifttest {
namespace {

constexpr uint16_t kDefineFont2 = 48;

struct EmbeddedFont {
    std::string name;
    std::vector<uint16_t> codes;
};

// The name and code table of a DefineFont2 body.
EmbeddedFont ReadFont(const std::vector<uint8_t>& b) {
    EmbeddedFont font;
    const uint8_t flags = b.at(2);
    const size_t name_length = b.at(4);
    font.name.assign(b.begin() + 5, b.begin() + 5 + std::ptrdiff_t(name_length));
    size_t p = 5 + name_length;
    const size_t count = b.at(p) | b.at(p + 1) << 8;
    p += 2;
    const bool wide_offsets = flags & 0x08;
    const size_t table = p;
    const size_t at = table + (count * (wide_offsets ? 4 : 2));
    const size_t code_offset =
        wide_offsets ? (b.at(at) | b.at(at + 1) << 8 | b.at(at + 2) << 16 | size_t(b.at(at + 3)) << 24)
                     : (b.at(at) | b.at(at + 1) << 8);
    for (size_t i = 0; i < count; ++i) {
        const size_t c = table + code_offset + 2 * i;
        font.codes.push_back(uint16_t(b.at(c) | b.at(c + 1) << 8));
    }
    return font;
}

std::vector<EmbeddedFont> Fonts(const probe::Movie& movie) {
    std::vector<EmbeddedFont> fonts;
    for (const probe::Tag& tag : movie.tags) {
        if (tag.code == kDefineFont2) {
            fonts.push_back(ReadFont(tag.body));
        }
    }
    return fonts;
}

const fs::path kFonts = fs::path(CW_TEST_DATA_DIR) / "Font";

// Where each word of a line should show ink: words and single spaces in visual order from x = 10.
void AddLineWords(std::ofstream& json, bool& first, const fs::path& face, double height, double baseline,
                  bool leading_space, const std::vector<std::string>& words) {
    const std::u32string space = U" ";
    const hbref::Shaped space_shape = hbref::Shape(face, space);
    const double space_width = space_shape.width() * height / space_shape.units_per_em;
    double pen = 10;
    for (const std::string& word : words) {
        const std::u32string chars = swf::detail::decode_utf8(word);
        const fs::path file = hbref::PickFace(face, chars);
        ASSERT_FALSE(file.empty()) << word;
        const hbref::Shaped shape = hbref::Shape(file, chars);
        const double width = shape.width() * height / shape.units_per_em;
        const bool spaced = leading_space || &word != &words.front(); // title lines begin with a space
        pen += spaced ? space_width : 0;
        json << (first ? "" : ",\n") << "  {\"word\": \"" << word << "\", \"x0\": " << pen
             << ", \"x1\": " << pen + width << ", \"top\": " << baseline - 0.75 * height
             << ", \"bottom\": " << baseline + 0.1 * height << ", \"gap\": ";
        if (spaced) {
            json << pen - space_width / 2 << "}";
        } else {
            json << "null}";
        }
        first = false;
        pen += width;
    }
}

class GiftI18n : public GiftTest {};

TEST_F(GiftI18n, MultilingualCardBuildsWithEveryWordInItsOwnFace) {
    const std::string title = "お誕生日おめでとう Привет مرحبا";
    const std::vector<std::string> comment1 = {"Ελληνικά", "και", "עברית"};
    const std::vector<std::string> comment2 = {"안녕하세요", "สวัสดี", "नमस्ते"};
    project = PlainProject(1);
    builder = std::make_unique<movie::GiftBuilder>(project, state, *workspace, reporter);
    auto& card = *project.cards[0];
    card.m_strTitle = title;
    card.m_strTitleColor = "#000000";
    card.m_strComment = "Ελληνικά και עברית\r\n안녕하세요 สวัสดี नमस्ते";
    card.m_strCommentColor = "#000000";
    const probe::Movie movie = Build("e2e_i18n");
    EXPECT_TRUE(reporter.tips.empty()) << reporter.tips.front();
    EXPECT_TRUE(reporter.reasons.empty());

    std::set<std::string> names;
    for (const EmbeddedFont& font : Fonts(movie)) {
        names.insert(font.name);
        for (uint16_t code : font.codes) {
            EXPECT_NE(code, 0xFFFD) << font.name << " carries the replacement glyph";
        }
    }
    for (const char* face :
         {"DejaVu Sans", "Droid Sans Fallback", "NanumGothic", "Noto Sans Thai", "Noto Sans Devanagari"}) {
        EXPECT_EQ(names.count(face), 1u) << face << " is embedded once";
    }

    std::ofstream json(MovieFolder() / "e2e_i18n_words.json");
    json << "[\n";
    bool first = true;
    AddLineWords(json, first, kFonts / "_Sans.ttf", 24, 40, true, {"お誕生日おめでとう", "Привет", "مرحبا"});
    AddLineWords(json, first, kFonts / "Sans.ttf", 20, 100, false, comment1);
    AddLineWords(json, first, kFonts / "Sans.ttf", 20, 120, false, comment2);
    json << "\n]\n";
}

TEST_F(GiftI18n, ACharacterNoFaceHasGivesOneTipAndStillAMovie) {
    project = PlainProject(2);
    builder = std::make_unique<movie::GiftBuilder>(project, state, *workspace, reporter);
    project.cards[0]->m_strTitle = "Gift \xF4\x8F\xBF\xBF";                // U+10FFFF
    project.cards[0]->m_strComment = "one \xF4\x8F\xBF\xBF\ntwo \xCD\xB8"; // U+0378, unassigned
    project.cards[1]->m_strTitle = "again \xF4\x8F\xBF\xBF";
    const probe::Movie movie = Build("i18n_missing");
    EXPECT_EQ(movie.frame_count, 2);
    ASSERT_EQ(reporter.tips.size(), 1u);
    EXPECT_NE(reporter.tips[0].find("U+10FFFF"), std::string::npos) << reporter.tips[0];
    EXPECT_NE(reporter.tips[0].find("Gift \xF4\x8F\xBF\xBF"), std::string::npos) << reporter.tips[0];
    bool replacement = false;
    for (const EmbeddedFont& font : Fonts(movie)) {
        replacement = replacement || std::count(font.codes.begin(), font.codes.end(), 0xFFFD) > 0;
    }
    EXPECT_TRUE(replacement) << "the missing character is drawn as the replacement glyph";
}

} // namespace
} // namespace gifttest
