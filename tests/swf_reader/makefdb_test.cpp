// The font tool: the generated .fdb files follow the DefineFont2 layout, carry every glyph of the face in
// its own glyph order (each under its lowest character, U+FFFD included), and keep FreeType's advances
// and kerning on the 1024-unit EM square.
#include "swf/byte_reader.h"
#include "swf/error.h"
#include "swf/makefdb/fdb_maker.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <map>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_BBOX_H
#include FT_OUTLINE_H

namespace {

struct GlyphInfo {
    int16_t advance = 0;
    int32_t x_min = 0, x_max = 0, y_min = 0, y_max = 0;
    int curves = 0;
    int edges = 0;
};

struct Fdb {
    uint8_t flags = 0;
    std::string name;
    std::vector<uint16_t> codes;
    std::vector<GlyphInfo> glyphs;
    uint16_t ascent = 0, descent = 0;
    std::map<std::pair<uint16_t, uint16_t>, int16_t> kerning;
    size_t kerning_count = 0;
};

// Walks one glyph's shape records: one fill bit, no line bits, ending within its slot.
void read_glyph_shape(std::span<const uint8_t> shape, GlyphInfo& glyph) {
    swf::ByteReader r(shape);
    swf::BitReader bits(r);
    ASSERT_EQ(bits.ub(4), 1u) << "fill bits";
    ASSERT_EQ(bits.ub(4), 0u) << "line bits";
    for (;;) {
        if (bits.flag()) {
            const bool straight = bits.flag();
            const unsigned n = bits.ub(4) + 2;
            if (straight) {
                if (bits.flag()) {
                    bits.sb(n), bits.sb(n);
                } else {
                    bits.flag(), bits.sb(n);
                }
            } else {
                bits.sb(n), bits.sb(n), bits.sb(n), bits.sb(n);
                ++glyph.curves;
            }
            ++glyph.edges;
            continue;
        }
        const unsigned flags = bits.ub(5);
        if (flags == 0) {
            break;
        }
        ASSERT_EQ(flags & ~0x07u, 0u) << "only moves and fills";
        if (flags & 1) {
            const unsigned n = bits.ub(5);
            bits.sb(n), bits.sb(n);
        }
        if (flags & 2) {
            EXPECT_EQ(bits.ub(1), 1u);
        }
        if (flags & 4) {
            bits.ub(1);
        }
    }
    bits.align();
    EXPECT_TRUE(r.at_end()) << "glyph slot holds exactly its shape";
}

Fdb read_fdb(std::span<const uint8_t> file) {
    Fdb fdb;
    swf::ByteReader r(file);
    const auto magic = r.bytes(4);
    EXPECT_EQ(std::string(magic.begin(), magic.end()), "fdb0");
    fdb.flags = r.u8();
    r.u8();
    const auto name = r.bytes(r.u8());
    fdb.name.assign(name.begin(), name.end());
    const size_t n = r.u16();
    const bool wide = fdb.flags & 0x08;
    const size_t table_start = r.position();
    std::vector<size_t> offsets;
    for (size_t i = 0; i <= n; ++i) {
        offsets.push_back(wide ? r.u32() : r.u16());
    }
    fdb.glyphs.resize(n);
    for (size_t i = 0; i < n; ++i) {
        EXPECT_LE(offsets[i], offsets[i + 1]);
        read_glyph_shape(file.subspan(table_start + offsets[i], offsets[i + 1] - offsets[i]), fdb.glyphs[i]);
    }
    r.skip(table_start + offsets[n] - r.position());
    for (size_t i = 0; i < n; ++i) {
        fdb.codes.push_back(r.u16());
    }
    fdb.ascent = r.u16();
    fdb.descent = r.u16();
    r.i16();
    for (GlyphInfo& g : fdb.glyphs) {
        g.advance = r.i16();
    }
    for (GlyphInfo& g : fdb.glyphs) {
        swf::BitReader bits(r);
        const unsigned nb = bits.ub(5);
        g.x_min = bits.sb(nb), g.x_max = bits.sb(nb), g.y_min = bits.sb(nb), g.y_max = bits.sb(nb);
    }
    fdb.kerning_count = r.u16();
    for (size_t i = 0; i < fdb.kerning_count; ++i) {
        const uint16_t left = r.u16();
        const uint16_t right = r.u16();
        fdb.kerning[{left, right}] = r.i16();
    }
    EXPECT_TRUE(r.at_end());
    return fdb;
}

std::vector<uint8_t> read_file(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

size_t index_of(const Fdb& fdb, char32_t code) {
    for (size_t i = 0; i < fdb.codes.size(); ++i) {
        if (fdb.codes[i] == code) {
            return i;
        }
    }
    ADD_FAILURE() << "code " << uint32_t(code) << " missing";
    return 0;
}

// FreeType's view of the same font, scaled to 1024 units per EM.
class FreeTypeFont {
public:
    explicit FreeTypeFont(const std::filesystem::path& path) {
        FT_Init_FreeType(&library_);
        if (FT_New_Face(library_, path.c_str(), 0, &face_) != 0) {
            throw std::runtime_error("cannot open " + path.string());
        }
        FT_Select_Charmap(face_, FT_ENCODING_UNICODE);
    }
    ~FreeTypeFont() {
        FT_Done_Face(face_);
        FT_Done_FreeType(library_);
    }
    double scale() const { return 1024.0 / face_->units_per_EM; }
    long ascent() const { return std::lround(face_->ascender * scale()); }
    long advance(char32_t code) {
        load(code);
        return std::lround(face_->glyph->metrics.horiAdvance * scale());
    }
    long glyph_count() const { return face_->num_glyphs; }
    size_t glyph_index(char32_t code) const { return FT_Get_Char_Index(face_, code); }
    long kerning(char32_t left, char32_t right) {
        FT_Vector k{};
        FT_Get_Kerning(face_, FT_Get_Char_Index(face_, left), FT_Get_Char_Index(face_, right),
                       FT_KERNING_UNSCALED, &k);
        return std::lround(k.x * scale());
    }
    // Exact bounds of the outline, y down.
    FT_BBox bounds(char32_t code) {
        load(code);
        FT_BBox box{};
        FT_Outline_Get_BBox(&face_->glyph->outline, &box);
        return {std::lround(box.xMin * scale()), std::lround(-box.yMax * scale()),
                std::lround(box.xMax * scale()), std::lround(-box.yMin * scale())};
    }

private:
    void load(char32_t code) {
        FT_Load_Glyph(face_, FT_Get_Char_Index(face_, code), FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING);
    }
    FT_Library library_ = nullptr;
    FT_Face face_ = nullptr;
};

const std::filesystem::path kDejaVu = "/usr/share/fonts/truetype/dejavu";

TEST(MakeFdb, GeneratedSansCarriesEveryGlyphOfTheFaceInItsOrder) {
    const auto bytes = read_file(std::filesystem::path(CW_TEST_DATA_DIR) / "Font" / "Sans.fdb");
    ASSERT_FALSE(bytes.empty()) << "the build makes data/Font/Sans.fdb";
    const Fdb fdb = read_fdb(bytes);
    EXPECT_EQ(fdb.flags, 0x80 | 0x08 | 0x04) << "layout, wide offsets, wide codes, neither bold nor italic";
    EXPECT_EQ(fdb.name, "DejaVu Sans");
    FreeTypeFont ft(kDejaVu / "DejaVuSans.ttf");
    ASSERT_EQ(long(fdb.codes.size()), ft.glyph_count()) << "the whole face";
    for (char32_t c : {U'A', U'א', U'ب', char32_t(0xFEE3)}) {
        EXPECT_EQ(index_of(fdb, c), ft.glyph_index(c)) << "glyph " << uint32_t(c) << " keeps its number";
    }
    for (char32_t c : {U'A', U'z', U'é', U'ß', U'Ω', U'Ж', U'€', U'—', U'“', char32_t(0xFFFD)}) {
        index_of(fdb, c);
    }
    EXPECT_EQ(fdb.glyphs[index_of(fdb, U' ')].edges, 0);
    EXPECT_GT(fdb.glyphs[index_of(fdb, 0xFFFD)].edges, 0) << "the replacement glyph has ink";
    EXPECT_GT(fdb.glyphs[index_of(fdb, U'O')].curves, 0);

    for (char32_t c : {U'A', U'W', U'i', U'é', U'Ж', U' '}) {
        EXPECT_EQ(fdb.glyphs[index_of(fdb, c)].advance, ft.advance(c)) << uint32_t(c);
    }
    EXPECT_EQ(fdb.ascent, ft.ascent());
    const FT_BBox o = ft.bounds(U'O');
    const GlyphInfo& glyph_o = fdb.glyphs[index_of(fdb, U'O')];
    EXPECT_NEAR(glyph_o.x_min, o.xMin, 1);
    EXPECT_NEAR(glyph_o.y_min, o.yMin, 1) << "y grows downwards: the top is negative";
    EXPECT_LT(glyph_o.y_min, 0);
}

TEST(MakeFdb, KerningPairsMatchFreeType) {
    const Fdb fdb = read_fdb(read_file(std::filesystem::path(CW_TEST_DATA_DIR) / "Font" / "Sans.fdb"));
    EXPECT_GT(fdb.kerning_count, 100u);
    EXPECT_EQ(fdb.kerning.size(), fdb.kerning_count) << "no pair twice";
    FreeTypeFont ft(kDejaVu / "DejaVuSans.ttf");
    const long av = ft.kerning(U'A', U'V');
    ASSERT_NE(av, 0) << "DejaVu Sans kerns A and V";
    EXPECT_EQ(fdb.kerning.at({'A', 'V'}), av);
    EXPECT_EQ(fdb.kerning.at({'T', 'o'}), ft.kerning(U'T', U'o'));
    for (const auto& [pair, adjust] : fdb.kerning) {
        ASSERT_NE(adjust, 0);
        ASSERT_EQ(adjust, ft.kerning(pair.first, pair.second));
    }
}

TEST(MakeFdb, BoldFacesAndAllSixFontsAreMade) {
    for (const char* name : {"Sans", "_Sans", "Serif", "_Serif", "Mono", "_Mono"}) {
        const auto bytes =
            read_file(std::filesystem::path(CW_TEST_DATA_DIR) / "Font" / (std::string(name) + ".fdb"));
        ASSERT_FALSE(bytes.empty()) << name;
        const Fdb fdb = read_fdb(bytes);
        EXPECT_EQ((fdb.flags & 0x01) != 0, name[0] == '_') << name;
        EXPECT_EQ(std::count(fdb.codes.begin(), fdb.codes.end(), 0xFFFD), 1) << name;
    }
}

TEST(MakeFdb, FallbackFacesComeInTheirOrderWithTheirShapingTablesBeside) {
    const auto folder = std::filesystem::path(CW_TEST_DATA_DIR) / "Font" / "Fallback";
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() == ".fdb") {
            names.push_back(entry.path().filename().string());
            auto ttf = entry.path();
            const Fdb fdb = read_fdb(read_file(entry.path()));
            EXPECT_EQ(long(fdb.codes.size()), FreeTypeFont(ttf.replace_extension(".ttf")).glyph_count())
                << entry.path();
        }
    }
    std::sort(names.begin(), names.end());
    ASSERT_GE(names.size(), 10u);
    EXPECT_EQ(names[0], "10-DroidSansFallbackFull.fdb"); // Chinese and Japanese
    EXPECT_EQ(names[1], "11-NanumGothic.fdb");           // Korean
    EXPECT_EQ(names[2], "12-NotoSansArabic-Regular.fdb");
    EXPECT_EQ(names.back(), "42-NotoSansSymbols2-Regular.fdb");
}

TEST(MakeFdb, CubicOutlinesBecomeQuadraticsCloseToTheCurve) {
    const std::filesystem::path otf = "/usr/share/fonts/opentype/urw-base35/NimbusSans-Regular.otf";
    const Fdb fdb = read_fdb(swf::makefdb::make_fdb(otf));
    EXPECT_GT(fdb.codes.size(), 200u);
    EXPECT_EQ(fdb.codes.front(), 0xFFFD) << "a font without U+FFFD lends its missing-glyph shape";
    FreeTypeFont ft(otf);
    for (char32_t c : {U'O', U'S', U'e', U'g'}) {
        const GlyphInfo& g = fdb.glyphs[index_of(fdb, c)];
        EXPECT_GT(g.curves, 0);
        const FT_BBox exact = ft.bounds(c);
        // Control points of the quadratics lie just outside a round outline, never far from it.
        EXPECT_NEAR(g.x_min, exact.xMin, 3) << uint32_t(c);
        EXPECT_NEAR(g.x_max, exact.xMax, 3) << uint32_t(c);
        EXPECT_NEAR(g.y_min, exact.yMin, 3) << uint32_t(c);
        EXPECT_NEAR(g.y_max, exact.yMax, 3) << uint32_t(c);
        EXPECT_EQ(g.advance, ft.advance(c));
    }
}

TEST(MakeFdb, RefusesFilesThatAreNotFonts) {
    const auto path = std::filesystem::path(CW_TEST_BINARY_DIR) / "not-a-font.ttf";
    std::ofstream(path) << "hello";
    EXPECT_THROW(swf::makefdb::make_fdb(path), swf::Error);
    EXPECT_THROW(swf::makefdb::make_fdb("/nonexistent/font.ttf"), swf::Error);
}

TEST(MakeFdb, CoverageTakesLatinGreekCyrillicAndPunctuation) {
    using swf::makefdb::is_covered;
    for (char32_t c : {U' ', U'~', U'é', U'ő', U'Ω', U'ж', U'Ѣ', U'–', U'€', U'™', char32_t(0xFFFD)}) {
        EXPECT_TRUE(is_covered(c)) << uint32_t(c);
    }
    for (char32_t c : {char32_t(0x1F), char32_t(0x7F), char32_t(0x85), U'א', U'中', char32_t(0x1F600)}) {
        EXPECT_FALSE(is_covered(c)) << uint32_t(c);
    }
}

} // namespace
