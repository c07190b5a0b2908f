// Text layout with the generated fonts: every script comes out as HarfBuzz shapes it, glyph by glyph,
// in visual order; characters the gift face lacks come from the fallback faces; a character no face has
// is reported and drawn as the replacement glyph.
#include "swf/font.h"
#include "swf/hb_reference.h"
#include "swf/movie.h"
#include "swf/swf_walk.h"
#include "swf/text.h"
#include "swf/text_layout.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

namespace fs = std::filesystem;

const fs::path kFonts = fs::path(CW_TEST_DATA_DIR) / "Font";

std::shared_ptr<swf::Font> Sans() {
    static const std::shared_ptr<swf::Font> font = [] {
        auto f = swf::Font::from_fdb_file(kFonts / "Sans.fdb");
        f->set_fallbacks(swf::FallbackFaces::load(kFonts / "Fallback"));
        return f;
    }();
    return font;
}

std::vector<size_t> Glyphs(const swf::LineLayout& line) {
    std::vector<size_t> glyphs;
    for (const swf::GlyphRun& run : line.runs) {
        for (const swf::PlacedGlyph& g : run.glyphs) {
            glyphs.push_back(g.glyph);
        }
    }
    return glyphs;
}

// The gift face's own glyphs for `text`, character by character.
std::vector<size_t> Nominal(std::u32string_view text) {
    std::vector<size_t> glyphs;
    for (char32_t c : text) {
        glyphs.push_back(Sans()->shaping()->nominal_glyph(c).value_or(0));
    }
    return glyphs;
}

TEST(TextLayout, EveryWordMatchesHarfBuzzGlyphByGlyph) {
    ASSERT_NE(Sans()->shaping(), nullptr) << "Font/Sans.ttf is beside Font/Sans.fdb";
    for (std::u32string_view word :
         {U"お誕生日おめでとう", U"Привет", U"مرحبا", U"Ελληνικά", U"και", U"עברית", U"안녕하세요", U"สวัสดี",
          U"नमस्ते", U"AVATAR", U"Tokyo", U"Wöchentlich"}) {
        const fs::path face = hbref::PickFace(kFonts / "Sans.ttf", word);
        ASSERT_FALSE(face.empty());
        const hbref::Shaped expected = hbref::Shape(face, word);
        const swf::LineLayout line = swf::lay_out_line(*Sans(), word);
        EXPECT_FALSE(line.missing);
        // Runs split where the script changes (kana and kanji), never where the face does not.
        const std::string fdb_name =
            swf::Font::from_fdb_file(fs::path(face).replace_extension(".fdb"))->name();
        std::vector<swf::PlacedGlyph> glyphs;
        for (const swf::GlyphRun& run : line.runs) {
            EXPECT_EQ(run.font->name(), fdb_name);
            glyphs.insert(glyphs.end(), run.glyphs.begin(), run.glyphs.end());
        }
        ASSERT_EQ(glyphs.size(), expected.glyphs.size()) << face;
        for (size_t i = 0; i < glyphs.size(); ++i) {
            EXPECT_EQ(glyphs[i].glyph, expected.glyphs[i].glyph) << face << " glyph " << i;
            EXPECT_NEAR(glyphs[i].advance, expected.em(expected.glyphs[i].advance), 1)
                << face << " glyph " << i;
        }
    }
}

TEST(TextLayout, HebrewComesInVisualOrder) {
    const std::vector<size_t> reversed = [] {
        auto g = Nominal(U"שלום");
        std::reverse(g.begin(), g.end());
        return g;
    }();
    EXPECT_EQ(Glyphs(swf::lay_out_line(*Sans(), U"שלום")), reversed);
}

TEST(TextLayout, ArabicUsesItsJoinedForms) {
    // Visually from the left: alef final, beh medial, hah initial, reh final, meem initial.
    EXPECT_EQ(Glyphs(swf::lay_out_line(*Sans(), U"مرحبا")), Nominal(U"\uFE8E\uFE92\uFEA3\uFEAE\uFEE3"));
}

TEST(TextLayout, MixedLinesKeepEachRunInItsOwnOrder) {
    struct Case {
        std::u32string_view text;
        std::u32string_view visual; // Hebrew already reversed
    };
    // A number after Hebrew joins its right-to-left run (left to right inside it); in a right-to-left
    // line the Latin word and the number after it form one left-to-right run.
    for (const Case& c :
         {Case{U"Hello שלום 123", U"Hello 123 םולש"}, Case{U"שלום Hello 123", U"Hello 123 םולש"},
          Case{U"שלום 123 עולם", U"םלוע 123 םולש"}}) {
        EXPECT_EQ(Glyphs(swf::lay_out_line(*Sans(), c.text)), Nominal(c.visual));
    }
}

TEST(TextLayout, ACharacterNoFaceHasIsReportedAndDrawnAsTheReplacementGlyph) {
    for (char32_t missing : {char32_t(0x10FFFF), char32_t(0x0378), char32_t(0xFDD0)}) {
        const std::u32string text = U"ab" + std::u32string(1, missing) + U"שלום" + std::u32string(1, missing);
        const swf::LineLayout line = swf::lay_out_line(*Sans(), text);
        ASSERT_EQ(line.missing, missing);
        const auto glyphs = Glyphs(line);
        EXPECT_EQ(std::count(glyphs.begin(), glyphs.end(), *Sans()->glyph_for(0xFFFD)), 2);
    }
}

TEST(TextLayout, GlyphsMovedByShapingGetARecordAtTheirOffset) {
    // Thai vowel marks sit over their consonant, moved by the font's mark positioning.
    const swf::LineLayout line = swf::lay_out_line(*Sans(), U"สวัสดี");
    ASSERT_EQ(line.runs.size(), 1u);
    constexpr int64_t height = 400; // 20 pixels in twips
    std::vector<int32_t> x_offsets; // where each record should start
    int64_t em = 0;
    int32_t dx = 0;
    int32_t dy = 0;
    bool moved = false;
    for (size_t i = 0; i < line.runs[0].glyphs.size(); ++i) {
        const swf::PlacedGlyph& g = line.runs[0].glyphs[i];
        const auto gx = int32_t(g.x_offset * height / 1024);
        const auto gy = int32_t(g.y_offset * height / 1024);
        moved = moved || gx != 0 || gy != 0;
        if (i == 0 || gx != dx || gy != dy) {
            x_offsets.push_back(int32_t(em * height / 1024) + gx);
        }
        dx = gx;
        dy = gy;
        em += g.advance;
    }
    ASSERT_TRUE(moved) << "shaping moves the marks";

    swf::Movie movie;
    auto text = std::make_shared<swf::Text>();
    text->set_font(Sans());
    text->set_height(20);
    text->add_string("สวัสดี");
    movie.add(text);
    movie.next_frame();
    int texts = 0;
    for (const auto& tag : swf_test::walk(movie.to_bytes()).tags) {
        if (tag.code == 33) {
            EXPECT_EQ(swf_test::text_glyphs(tag.body).x_offsets, x_offsets);
            ++texts;
        }
    }
    EXPECT_EQ(texts, 1);
}

TEST(TextLayout, ClustersStayWhole) {
    EXPECT_TRUE(swf::is_cluster_boundary(U'a', U'b'));
    EXPECT_FALSE(swf::is_cluster_boundary(U'e', U'\u0301')); // combining acute
    EXPECT_FALSE(swf::is_cluster_boundary(U'स', U'\u094D')); // virama after a consonant
    EXPECT_FALSE(swf::is_cluster_boundary(U'\u094D', U'त')); // conjunct across the virama
    EXPECT_FALSE(swf::is_cluster_boundary(U'ส', U'\u0E31')); // Thai vowel mark
    EXPECT_FALSE(swf::is_cluster_boundary(U'\u200D', U'a'));
}

} // namespace
