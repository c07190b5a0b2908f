// Fuzz target for text layout: any UTF-8 (or broken UTF-8) line is laid out with the Sans face and the
// fallback faces, written into a movie, and every glyph it draws exists in its font.
#include "swf/error.h"
#include "swf/font.h"
#include "swf/movie.h"
#include "swf/utf8.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

std::shared_ptr<swf::Font> Sans() {
    static const std::shared_ptr<swf::Font> font = [] {
        const std::filesystem::path folder = CW_FUZZ_FONT_DIR;
        auto f = swf::Font::from_fdb_file(folder / "Sans.fdb");
        f->set_fallbacks(swf::FallbackFaces::load(folder / "Fallback"));
        return f;
    }();
    return font;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view utf8(reinterpret_cast<const char*>(data), size);
    const swf::LineLayout line = swf::lay_out_line(*Sans(), swf::detail::decode_utf8(utf8));
    for (const swf::GlyphRun& run : line.runs) {
        for (const swf::PlacedGlyph& glyph : run.glyphs) {
            if (glyph.glyph >= run.font->definition().glyphs.size()) {
                std::abort(); // a glyph the font does not have
            }
        }
    }
    swf::Movie movie;
    auto text = std::make_shared<swf::Text>();
    text->set_font(Sans());
    text->set_height(20);
    text->add_string(utf8);
    movie.add(text).move_to(10, 40);
    movie.next_frame();
    movie.to_bytes();
    return 0;
}
