// Small hand-made fonts for the writer tests: square glyphs with chosen advances and kerning.
#pragma once

#include "swf/bit_writer.h"
#include "swf/fdb.h"
#include "swf/font.h"

#include <map>
#include <memory>
#include <vector>

namespace swf_test {

// A glyph outline: a filled box 400 x 700 EM units standing on the baseline.
inline std::vector<uint8_t> box_glyph() {
    std::vector<uint8_t> shape;
    swf::detail::BitWriter w(shape);
    w.ubits(4, 1);        // fill bits
    w.ubits(4, 0);        // line bits
    w.ubits(6, 0b000011); // style change: fill style 0 and move to
    w.ubits(5, 8);
    w.sbits(8, 100);
    w.sbits(8, 0);
    w.ubits(1, 1);
    auto edge = [&](int dx, int dy) {
        w.ubits(2, 0b11);
        w.ubits(4, 11 - 2);
        w.flag(dx == 0 ? false : dy != 0);
        w.flag(dx == 0);
        w.sbits(11, dx == 0 ? dy : dx);
    };
    edge(400, 0);
    edge(0, -700);
    edge(-400, 0);
    edge(0, 700);
    w.ubits(6, 0);
    w.flush();
    return shape;
}

// 'A' 600, 'B' 650, 'C' 700, ' ' 300 and, with `with_replacement`, U+FFFD 800; the pair A,B kerns by -50.
inline swf::DefineFont2 abc_font(bool with_replacement = true) {
    swf::DefineFont2 font;
    font.name = "Test";
    const std::map<uint16_t, int16_t> advances{{' ', 300}, {'A', 600}, {'B', 650}, {'C', 700}, {0xFFFD, 800}};
    for (const auto& [code, advance] : advances) {
        if (code == 0xFFFD && !with_replacement) {
            continue;
        }
        font.glyphs.push_back(swf::Glyph{
            box_glyph(), code, advance, {swf::Twips{100}, swf::Twips{500}, swf::Twips{-700}, swf::Twips{0}}});
    }
    font.layout = swf::FontLayout{900, 250, 40, {{'A', 'B', -50}, {'B', 'C', -20}, {'X', 'Y', 5}}};
    return font;
}

inline std::shared_ptr<swf::Font> abc(bool with_replacement = true) {
    return swf::Font::from_fdb_bytes(swf::write_fdb(abc_font(with_replacement)));
}

} // namespace swf_test
