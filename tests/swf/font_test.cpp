// .fdb fonts: reading, text width, glyph subsetting and the replacement glyph.
#include "swf/error.h"
#include "swf/fdb.h"
#include "swf/movie.h"
#include "swf_walk.h"
#include "test_fonts.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

using Bytes = std::vector<uint8_t>;

TEST(font_test, fdb_round_trip_keeps_every_field) {
    const swf::DefineFont2 font = swf_test::abc_font();
    const Bytes file = swf::write_fdb(font);
    EXPECT_EQ((Bytes{file.begin(), file.begin() + 4}), (Bytes{'f', 'd', 'b', '0'}));
    const swf::DefineFont2 back = swf::read_fdb(file);
    EXPECT_EQ(back.name, "Test");
    ASSERT_EQ(back.glyphs.size(), font.glyphs.size());
    for (size_t i = 0; i < font.glyphs.size(); ++i) {
        EXPECT_EQ(back.glyphs[i].code, font.glyphs[i].code);
        EXPECT_EQ(back.glyphs[i].advance, font.glyphs[i].advance);
        EXPECT_EQ(back.glyphs[i].shape, font.glyphs[i].shape);
        EXPECT_EQ(back.glyphs[i].bounds, font.glyphs[i].bounds);
    }
    ASSERT_TRUE(back.layout);
    EXPECT_EQ(back.layout->ascent, 900);
    EXPECT_EQ(back.layout->descent, 250);
    EXPECT_EQ(back.layout->leading, 40);
    EXPECT_EQ(back.layout->kerning, font.layout->kerning);
}

TEST(font_test, fdb_with_narrow_codes_and_unsorted_glyphs_keeps_the_file_order) {
    // Written by hand: flags 0x80 (layout, narrow offsets, narrow codes), two glyphs 'B' then 'A',
    // each glyph one byte (an empty shape), one kerning pair A,B = -7.
    const Bytes file{'f',  'd',  'b',  '0',  0x80, 0x00, 0x01, 'X',
                     0x02, 0x00, 0x06, 0x00, 0x07, 0x00, 0x08, 0x00, // offsets: 6, 7, code table at 8
                     0x10, 0x10,                                     // two glyph shapes
                     'B',  'A',                                      // narrow codes
                     0x10, 0x00, 0x05, 0x00, 0x00, 0x00,             // ascent 16, descent 5, leading 0
                     0x20, 0x00, 0x30, 0x00,                         // advances 32 (B), 48 (A)
                     0x00, 0x00,                                     // two empty RECTs
                     0x01, 0x00, 'A',  'B',  0xF9, 0xFF};
    const swf::DefineFont2 font = swf::read_fdb(file);
    // The order is the face's glyph order, which shaped glyph indices refer to.
    ASSERT_EQ(font.glyphs.size(), 2u);
    EXPECT_EQ(font.glyphs[0].code, 'B');
    EXPECT_EQ(font.glyphs[0].advance, 32);
    EXPECT_EQ(font.glyphs[1].code, 'A');
    EXPECT_EQ(font.glyphs[1].advance, 48);
    const swf::Font looked_up(font);
    EXPECT_EQ(looked_up.glyph_for(U'A'), 1u);
    EXPECT_EQ(looked_up.glyph_for(U'B'), 0u);
    ASSERT_TRUE(font.layout);
    EXPECT_EQ(font.layout->kerning, (std::vector<swf::KerningPair>{{'A', 'B', -7}}));
}

TEST(font_test, malformed_fdb_files_are_refused) {
    const Bytes good = swf::write_fdb(swf_test::abc_font());
    EXPECT_THROW(swf::read_fdb(Bytes{}), swf::Error);
    Bytes bad_magic = good;
    bad_magic[3] = '1';
    EXPECT_THROW(swf::read_fdb(bad_magic), swf::Error);
    for (size_t cut : {size_t{5}, size_t{12}, good.size() / 2, good.size() - 1}) {
        EXPECT_THROW(swf::read_fdb(Bytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(cut))),
                     swf::Error)
            << "cut at " << cut;
    }
    Bytes disordered = good;
    // The first glyph offset follows flags, language, name ("Test") and count: byte 4+1+1+1+4+2.
    disordered[13] = 0xFF;
    disordered[14] = 0x7F;
    EXPECT_THROW(swf::read_fdb(disordered), swf::Error);
    EXPECT_THROW(swf::Font::from_fdb_file("/no/such/font.fdb"), swf::Error);
}

TEST(font_test, string_width_follows_the_advance_formula) {
    const auto font = swf_test::abc();
    // (600 - 50 + 650) EM units * 480 twips / 1024 = 562 twips (integer division) = 28.1 pixels
    EXPECT_DOUBLE_EQ(font->string_width("AB", 24), 28.1);
    // (600 - 50 + 650 - 20 + 700) * 400 / 1024 = 734 twips
    EXPECT_DOUBLE_EQ(font->string_width("ABC", 20), 36.7);
    // no kerning for B,A
    EXPECT_DOUBLE_EQ(font->string_width("BA", 24), (1250 * 480 / 1024) / 20.0);
    EXPECT_DOUBLE_EQ(font->string_width("", 24), 0.0);
    // a character the font lacks measures as the replacement glyph (800)
    EXPECT_DOUBLE_EQ(font->string_width("AZ", 24), (1400 * 480 / 1024) / 20.0);
    // without U+FFFD the first glyph (the space, 300) stands in
    EXPECT_DOUBLE_EQ(swf_test::abc(false)->string_width("AZ", 24), (900 * 480 / 1024) / 20.0);

    swf::Text text;
    text.set_font(font);
    text.set_height(24);
    EXPECT_DOUBLE_EQ(text.string_width("AB"), 28.1);
}

// The DefineFont2 and DefineText2 bodies of a movie, in order.
struct FontAndTexts {
    swf::DefineFont2 font;
    std::vector<swf_test::TextGlyphs> texts;
    uint8_t flags = 0;
};

FontAndTexts font_and_texts(const std::vector<uint8_t>& file) {
    FontAndTexts out;
    for (const auto& tag : swf_test::walk(file).tags) {
        if (tag.code == 48) {
            Bytes fdb{'f', 'd', 'b', '0'};
            fdb.insert(fdb.end(), tag.body.begin() + 2, tag.body.end());
            out.font = swf::read_fdb(fdb);
            out.flags = tag.body[2];
        } else if (tag.code == 33) {
            out.texts.push_back(swf_test::text_glyphs(tag.body));
        }
    }
    return out;
}

std::vector<uint16_t> codes(const swf::DefineFont2& font) {
    std::vector<uint16_t> out;
    for (const auto& glyph : font.glyphs) {
        out.push_back(glyph.code);
    }
    return out;
}

TEST(font_test, only_the_glyphs_used_are_written_with_wide_codes_in_ascending_order) {
    swf::Movie movie;
    const auto font = swf_test::abc();
    for (const char* line : {"CA", "AB"}) {
        auto text = std::make_shared<swf::Text>();
        text->set_font(font);
        text->set_height(24);
        text->add_string(line);
        movie.add(text);
    }
    movie.next_frame();
    const Bytes file = movie.to_bytes();
    swf_test::save_test_movie(file, "writer_font_subset.swf");
    const FontAndTexts found = font_and_texts(file);
    EXPECT_EQ(codes(found.font), (std::vector<uint16_t>{'A', 'B', 'C'}));
    EXPECT_EQ(found.flags & 0x84, 0x84); // layout and wide codes
    ASSERT_TRUE(found.font.layout);
    // only pairs whose two codes are written stay
    EXPECT_EQ(found.font.layout->kerning, (std::vector<swf::KerningPair>{{'A', 'B', -50}, {'B', 'C', -20}}));
    ASSERT_EQ(found.texts.size(), 2u);
    EXPECT_EQ(found.texts[0].indices, (std::vector<uint32_t>{2, 0}));
    EXPECT_EQ(found.texts[1].indices, (std::vector<uint32_t>{0, 1}));
    // advances add up to the measured width: "AB" at 24 is 562 twips, kerning included
    EXPECT_EQ(found.texts[1].advances[0] + found.texts[1].advances[1], 562);
}

TEST(font_test, missing_characters_use_the_replacement_glyph) {
    for (bool with_replacement : {true, false}) {
        swf::Movie movie;
        auto text = std::make_shared<swf::Text>();
        text->set_font(swf_test::abc(with_replacement));
        text->set_height(20);
        text->add_string("A\xC3\xA9"); // "Aé": é is not in the font
        movie.add(text);
        const FontAndTexts found = font_and_texts(movie.to_bytes());
        const std::vector<uint16_t> expected =
            with_replacement ? std::vector<uint16_t>{'A', 0xFFFD} : std::vector<uint16_t>{' ', 'A'};
        EXPECT_EQ(codes(found.font), expected);
        ASSERT_EQ(found.texts.size(), 1u);
        EXPECT_EQ(found.texts[0].indices.size(), 2u) << "nothing dropped";
    }
}

TEST(font_test, long_strings_and_several_runs_continue_on_the_baseline) {
    swf::Movie movie;
    auto text = std::make_shared<swf::Text>();
    text->set_font(swf_test::abc());
    text->set_height(10);
    text->add_string(std::string(300, 'A'));
    text->set_color({0, 0, 255, 255});
    text->add_string("B");
    movie.add(text);
    const FontAndTexts found = font_and_texts(movie.to_bytes());
    ASSERT_EQ(found.texts.size(), 1u);
    EXPECT_EQ(found.texts[0].indices.size(), 301u); // split into records of at most 255 glyphs
    EXPECT_EQ(found.texts[0].font_ids.size(), 2u);  // font stated again for the second run
}

TEST(font_test, an_unused_font_still_carries_a_glyph) {
    swf::Movie movie;
    auto text = std::make_shared<swf::Text>();
    text->set_font(swf_test::abc());
    movie.add(text); // no string at all
    const FontAndTexts found = font_and_texts(movie.to_bytes());
    EXPECT_EQ(codes(found.font), (std::vector<uint16_t>{0xFFFD}));
}

TEST(font_test, hello_world_in_the_generated_sans_font) {
    const auto path = std::filesystem::path(CW_TEST_DATA_DIR) / "Font" / "Sans.fdb";
    if (!std::filesystem::exists(path)) {
        GTEST_SKIP() << "Sans.fdb is generated by the font tool; not in this build";
    }
    std::ifstream in(path, std::ios::binary);
    const Bytes file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const swf::DefineFont2 definition = swf::read_fdb(file);
    // The expected width from the font's own tables: advances plus kerning pairs, times 480 twips / 1024.
    auto advance = [&](char c) {
        for (const auto& glyph : definition.glyphs) {
            if (glyph.code == static_cast<uint16_t>(c)) {
                return int64_t{glyph.advance};
            }
        }
        ADD_FAILURE() << "no glyph for " << c;
        return int64_t{0};
    };
    auto kern = [&](char a, char b) {
        for (const auto& pair : definition.layout->kerning) {
            if (pair.left == static_cast<uint16_t>(a) && pair.right == static_cast<uint16_t>(b)) {
                return int64_t{pair.adjustment};
            }
        }
        return int64_t{0};
    };
    const std::string hello = "Hello World";
    int64_t em = 0;
    for (size_t i = 0; i < hello.size(); ++i) {
        em += advance(hello[i]) + (i + 1 < hello.size() ? kern(hello[i], hello[i + 1]) : 0);
    }
    ASSERT_TRUE(definition.layout);
    const auto font = swf::Font::from_fdb_file(path);
    EXPECT_DOUBLE_EQ(font->string_width(hello, 24), static_cast<double>(em * 480 / 1024) / 20.0);
    EXPECT_GT(font->string_width(hello, 24), 60.0);

    // Letters outside ASCII have their own glyphs in the generated font.
    for (char32_t c : {U'é', U'ß', U'Ω', U'Ж', U'\uFFFD'}) {
        bool found = false;
        for (const auto& glyph : definition.glyphs) {
            found = found || glyph.code == c;
        }
        EXPECT_TRUE(found) << "U+" << std::hex << static_cast<uint32_t>(c);
    }
    swf::Movie movie;
    auto text = std::make_shared<swf::Text>();
    text->set_font(font);
    text->set_height(24);
    text->add_string("Hello World é ß Ω Ж");
    movie.add(text).move_to(10, 40);
    movie.next_frame();
    swf_test::save_test_movie(movie.to_bytes(), "writer_sans_text.swf");
}

} // namespace
