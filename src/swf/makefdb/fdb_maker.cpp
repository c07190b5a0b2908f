#include "swf/makefdb/fdb_maker.h"

#include "swf/bit_writer.h"
#include "swf/error.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <limits>
#include <memory>
#include <string>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

namespace swf::makefdb {

namespace {

using detail::BitWriter;

// Bits a signed field needs for `value`; at least one, as the font tool has always written them.
unsigned signed_bits(int32_t value) {
    return unsigned(std::max(1, detail::count_sbits(value)));
}

struct Point {
    double x = 0;
    double y = 0;
};

Point operator+(Point a, Point b) {
    return {a.x + b.x, a.y + b.y};
}
Point operator-(Point a, Point b) {
    return {a.x - b.x, a.y - b.y};
}
Point operator*(double k, Point a) {
    return {k * a.x, k * a.y};
}
Point mid(Point a, Point b) {
    return 0.5 * (a + b);
}

struct EmPoint {
    int32_t x = 0;
    int32_t y = 0;
    bool operator==(const EmPoint&) const = default;
};

struct EmBounds {
    int32_t x_min = INT32_MAX;
    int32_t x_max = INT32_MIN;
    int32_t y_min = INT32_MAX;
    int32_t y_max = INT32_MIN;
    void add(EmPoint p) {
        x_min = std::min(x_min, p.x);
        x_max = std::max(x_max, p.x);
        y_min = std::min(y_min, p.y);
        y_max = std::max(y_max, p.y);
    }
    bool empty() const { return x_min > x_max; }
};

struct Glyph {
    std::vector<uint8_t> shape;
    EmBounds bounds;
    int16_t advance = 0;
};

using FaceHandle = std::unique_ptr<FT_FaceRec_, decltype(&FT_Done_Face)>;
using LibraryHandle = std::unique_ptr<FT_LibraryRec_, decltype(&FT_Done_FreeType)>;

// Turns one outline (font units, y up) into SWF shape records on the 1024-unit EM square, y down: one
// fill style on the edges' left-hand side, no line style. Points are rounded before deltas are taken, so
// every contour closes exactly.
class ShapeEncoder {
public:
    ShapeEncoder(double scale, std::vector<uint8_t>& out) : scale_(scale), bits_(out) {
        bits_.ubits(4, 1); // fill style bits
        bits_.ubits(4, 0); // line style bits
    }

    void move_to(Point p) {
        const EmPoint to = em(p);
        const unsigned n = std::max(signed_bits(to.x), signed_bits(to.y));
        bits_.ubits(1, 0);                            // style change record
        bits_.ubits(5, first_contour_ ? 0x03 : 0x01); // move, and the fill on the first contour
        bits_.ubits(5, n);
        bits_.sbits(n, to.x);
        bits_.sbits(n, to.y);
        if (first_contour_) {
            bits_.ubits(1, 1); // fill style 0 is style 1
            first_contour_ = false;
        }
        pen_ = to;
        last_ = p;
        bounds_.add(to);
    }

    void line_to(Point p) {
        const EmPoint to = em(p);
        last_ = p;
        const int32_t dx = to.x - pen_.x;
        const int32_t dy = to.y - pen_.y;
        if (dx == 0 && dy == 0) {
            return;
        }
        const unsigned n = edge_bits({signed_bits(dx), signed_bits(dy)});
        bits_.ubits(1, 1); // edge
        bits_.ubits(1, 1); // straight
        bits_.ubits(4, n - 2);
        if (dx != 0 && dy != 0) {
            bits_.ubits(1, 1);
            bits_.sbits(n, dx);
            bits_.sbits(n, dy);
        } else {
            bits_.ubits(1, 0);
            bits_.ubits(1, dx == 0 ? 1 : 0); // vertical
            bits_.sbits(n, dx == 0 ? dy : dx);
        }
        pen_ = to;
        bounds_.add(to);
    }

    void conic_to(Point control, Point p) {
        const EmPoint c = em(control);
        const EmPoint to = em(p);
        last_ = p;
        if (c == pen_ || c == to) {
            line_to(p);
            return;
        }
        const int32_t cdx = c.x - pen_.x;
        const int32_t cdy = c.y - pen_.y;
        const int32_t adx = to.x - c.x;
        const int32_t ady = to.y - c.y;
        const unsigned n =
            edge_bits({signed_bits(cdx), signed_bits(cdy), signed_bits(adx), signed_bits(ady)});
        bits_.ubits(1, 1); // edge
        bits_.ubits(1, 0); // curved
        bits_.ubits(4, n - 2);
        bits_.sbits(n, cdx);
        bits_.sbits(n, cdy);
        bits_.sbits(n, adx);
        bits_.sbits(n, ady);
        pen_ = to;
        bounds_.add(c);
        bounds_.add(to);
    }

    // Approximates the cubic from the current point by quadratics, halving it until the error of one
    // quadratic is below a quarter of an EM unit.
    void cubic_to(Point c1, Point c2, Point p) { cubic(last_, c1, c2, p, 0); }

    void finish() {
        bits_.ubits(6, 0); // end record
        bits_.flush();
    }

    const EmBounds& bounds() const { return bounds_; }

private:
    EmPoint em(Point p) const {
        return {int32_t(std::lround(p.x * scale_)), int32_t(std::lround(-p.y * scale_))};
    }

    static unsigned edge_bits(std::initializer_list<unsigned> widths) {
        const unsigned n = std::max(2u, std::max(widths));
        if (n > 17) {
            throw Error("glyph outline too large for the EM square");
        }
        return n;
    }

    void cubic(Point p0, Point c1, Point c2, Point p3, int depth) {
        const Point d = p3 - 3.0 * c2 + 3.0 * c1 - p0;
        const double error = std::sqrt(d.x * d.x + d.y * d.y) * std::sqrt(3.0) / 36.0 * scale_;
        if (error <= 0.25 || depth >= 8) {
            conic_to(0.25 * (3.0 * (c1 + c2) - p0 - p3), p3);
            return;
        }
        const Point a = mid(p0, c1);
        const Point b = mid(c1, c2);
        const Point c = mid(c2, p3);
        const Point ab = mid(a, b);
        const Point bc = mid(b, c);
        const Point m = mid(ab, bc);
        cubic(p0, a, ab, m, depth + 1);
        cubic(m, bc, c, p3, depth + 1);
    }

    double scale_;
    BitWriter bits_;
    EmPoint pen_;
    Point last_;
    EmBounds bounds_;
    bool first_contour_ = true;
};

Point point(const FT_Vector* v) {
    return {double(v->x), double(v->y)};
}

Glyph load_glyph(FT_Face face, FT_UInt index, double scale) {
    if (FT_Load_Glyph(face, index, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) != 0) {
        throw Error("cannot load glyph " + std::to_string(index));
    }
    Glyph glyph;
    const long advance = std::lround(double(face->glyph->metrics.horiAdvance) * scale);
    glyph.advance = int16_t(std::clamp<long>(advance, INT16_MIN, INT16_MAX));
    ShapeEncoder encoder(scale, glyph.shape);
    if (face->glyph->format == FT_GLYPH_FORMAT_OUTLINE) {
        FT_Outline_Funcs funcs{};
        funcs.move_to = [](const FT_Vector* to, void* user) {
            static_cast<ShapeEncoder*>(user)->move_to(point(to));
            return 0;
        };
        funcs.line_to = [](const FT_Vector* to, void* user) {
            static_cast<ShapeEncoder*>(user)->line_to(point(to));
            return 0;
        };
        funcs.conic_to = [](const FT_Vector* control, const FT_Vector* to, void* user) {
            static_cast<ShapeEncoder*>(user)->conic_to(point(control), point(to));
            return 0;
        };
        funcs.cubic_to = [](const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* user) {
            static_cast<ShapeEncoder*>(user)->cubic_to(point(c1), point(c2), point(to));
            return 0;
        };
        if (FT_Outline_Decompose(&face->glyph->outline, &funcs, &encoder) != 0) {
            throw Error("cannot read the outline of glyph " + std::to_string(index));
        }
    }
    encoder.finish();
    glyph.bounds = encoder.bounds();
    return glyph;
}

void put8(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(uint8_t(v));
}
void put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}
void put32(std::vector<uint8_t>& out, uint32_t v) {
    put16(out, v & 0xffff);
    put16(out, v >> 16);
}

void put_rect(std::vector<uint8_t>& out, const EmBounds& b) {
    const EmBounds r = b.empty() ? EmBounds{0, 0, 0, 0} : b;
    const unsigned n =
        std::max({signed_bits(r.x_min), signed_bits(r.x_max), signed_bits(r.y_min), signed_bits(r.y_max)});
    BitWriter bits(out);
    bits.ubits(5, n);
    bits.sbits(n, r.x_min);
    bits.sbits(n, r.x_max);
    bits.sbits(n, r.y_min);
    bits.sbits(n, r.y_max);
}

uint16_t clamp_u16(long v) {
    return uint16_t(std::clamp<long>(v, 0, UINT16_MAX));
}

} // namespace

bool is_covered(char32_t code) {
    const auto in = [code](char32_t first, char32_t last) { return code >= first && code <= last; };
    return in(0x20, 0x7E) ||     // Basic Latin
           in(0xA0, 0x24F) ||    // Latin-1 Supplement, Latin Extended-A and -B
           in(0x2B0, 0x2FF) ||   // spacing modifier letters
           in(0x370, 0x3FF) ||   // Greek
           in(0x400, 0x52F) ||   // Cyrillic and its supplement
           in(0x1E00, 0x1EFF) || // Latin Extended Additional
           in(0x1F00, 0x1FFF) || // Greek Extended
           in(0x2000, 0x206F) || // General Punctuation
           in(0x20A0, 0x20CF) || // currency symbols
           in(0x2100, 0x214F) || // letter-like symbols
           code == kReplacementCharacter;
}

std::vector<uint8_t> make_fdb(const std::filesystem::path& font_file) {
    FT_Library raw_library = nullptr;
    if (FT_Init_FreeType(&raw_library) != 0) {
        throw Error("cannot start FreeType");
    }
    LibraryHandle library(raw_library, &FT_Done_FreeType);
    FT_Face raw_face = nullptr;
    if (FT_New_Face(library.get(), font_file.c_str(), 0, &raw_face) != 0) {
        throw Error("cannot read the font " + font_file.string());
    }
    FaceHandle face(raw_face, &FT_Done_Face);
    if (!FT_IS_SCALABLE(face.get()) || face->units_per_EM == 0) {
        throw Error(font_file.string() + " has no outlines");
    }
    if (FT_Select_Charmap(face.get(), FT_ENCODING_UNICODE) != 0) {
        throw Error(font_file.string() + " has no Unicode character map");
    }
    const size_t glyph_count = size_t(face->num_glyphs);
    if (glyph_count > UINT16_MAX) {
        throw Error(font_file.string() + " has " + std::to_string(glyph_count) +
                    " glyphs; an .fdb file holds at most 65,535");
    }
    const double scale = double(kFdbEmUnits) / face->units_per_EM;

    // Glyph i of the file is the font's glyph i, so shaped glyph indices need no table. Each glyph is
    // listed under the lowest BMP character the font maps to it, or 0 when only shaping reaches it.
    std::vector<uint16_t> glyph_codes(glyph_count, 0);
    // The characters whose kerning pairs the file lists, with their glyphs, in ascending order.
    std::vector<std::pair<char32_t, FT_UInt>> codes;
    FT_UInt index = 0;
    for (FT_ULong code = FT_Get_First_Char(face.get(), &index); index != 0;
         code = FT_Get_Next_Char(face.get(), code, &index)) {
        if (code <= 0xFFFF && index < glyph_count && glyph_codes[index] == 0) {
            glyph_codes[index] = uint16_t(code);
        }
        if (is_covered(char32_t(code)) && code != kReplacementCharacter) {
            codes.emplace_back(char32_t(code), index);
        }
    }
    // The replacement glyph: the font's own, else its missing-glyph shape (glyph 0).
    const FT_UInt replacement = FT_Get_Char_Index(face.get(), kReplacementCharacter);
    codes.emplace_back(kReplacementCharacter, replacement);
    if (replacement == 0 && glyph_count > 0 && glyph_codes[0] == 0) {
        glyph_codes[0] = uint16_t(kReplacementCharacter);
    }
    std::sort(codes.begin(), codes.end());

    std::vector<Glyph> glyphs;
    glyphs.reserve(glyph_count);
    size_t shapes_size = 0;
    for (size_t i = 0; i < glyph_count; ++i) {
        glyphs.push_back(load_glyph(face.get(), FT_UInt(i), scale));
        shapes_size += glyphs.back().shape.size();
    }

    std::vector<uint8_t> out = {'f', 'd', 'b', '0'};
    const size_t n = glyphs.size();
    const bool wide_offsets = (n + 1) * 2 + shapes_size > UINT16_MAX;
    const bool bold = (face->style_flags & FT_STYLE_FLAG_BOLD) != 0;
    const bool italic = (face->style_flags & FT_STYLE_FLAG_ITALIC) != 0;
    put8(out, 0x80 | (wide_offsets ? 0x08 : 0) | 0x04 | (italic ? 0x02 : 0) | (bold ? 0x01 : 0));
    put8(out, 0); // language: none
    std::string name = face->family_name ? face->family_name : "";
    name.resize(std::min<size_t>(name.size(), 255));
    put8(out, uint32_t(name.size()));
    out.insert(out.end(), name.begin(), name.end());
    put16(out, uint32_t(n));

    // Offsets count from the start of the offset table; the last one is where the code table starts.
    const size_t entry = wide_offsets ? 4 : 2;
    size_t offset = (n + 1) * entry;
    for (size_t i = 0; i <= n; ++i) {
        wide_offsets ? put32(out, uint32_t(offset)) : put16(out, uint32_t(offset));
        if (i < n) {
            offset += glyphs[i].shape.size();
        }
    }
    for (const Glyph& g : glyphs) {
        out.insert(out.end(), g.shape.begin(), g.shape.end());
    }
    for (uint16_t code : glyph_codes) {
        put16(out, code);
    }

    // Layout.
    put16(out, clamp_u16(std::lround(face->ascender * scale)));
    put16(out, clamp_u16(std::lround(-face->descender * scale)));
    const long leading = std::lround((face->height - face->ascender + face->descender) * scale);
    put16(out, uint16_t(int16_t(std::clamp<long>(leading, INT16_MIN, INT16_MAX))));
    for (const Glyph& g : glyphs) {
        put16(out, uint16_t(g.advance));
    }
    for (const Glyph& g : glyphs) {
        put_rect(out, g.bounds);
    }
    std::vector<uint8_t> kerning;
    size_t pairs = 0;
    if (FT_HAS_KERNING(face.get())) {
        for (const auto& [left, left_glyph] : codes) {
            for (const auto& [right, right_glyph] : codes) {
                FT_Vector k{};
                if (FT_Get_Kerning(face.get(), left_glyph, right_glyph, FT_KERNING_UNSCALED, &k) != 0) {
                    continue;
                }
                const long adjust = std::lround(double(k.x) * scale);
                if (adjust == 0 || pairs == UINT16_MAX) {
                    continue;
                }
                put16(kerning, uint32_t(left));
                put16(kerning, uint32_t(right));
                put16(kerning, uint16_t(int16_t(std::clamp<long>(adjust, INT16_MIN, INT16_MAX))));
                ++pairs;
            }
        }
    }
    put16(out, uint32_t(pairs));
    out.insert(out.end(), kerning.begin(), kerning.end());
    return out;
}

} // namespace swf::makefdb
