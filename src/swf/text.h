// Static texts (DefineText2). Each add_string continues on the baseline where the previous one ended,
// with the font, colour and height set at that moment. The text's origin is on the baseline at the left
// end of its first glyph. Strings may be added after the text has been placed (texts are encoded when
// the movie is written), but set the font before placing the text: a font first set afterwards was
// never defined in the movie, and writing the movie then throws swf::Error. The same holds for the
// fallback faces a string draws from: add strings that may need them before placing the text.
#pragma once

#include "swf/character.h"
#include "swf/font.h"
#include "swf/text_layout.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace swf {

class Text final : public Character {
public:
    Text() = default;

    void set_font(std::shared_ptr<const Font> font);
    void set_color(Rgba color);
    void set_height(double height); // pixels
    // Lays the string out (text_layout.h) and adds one run per face. Throws swf::Error when no font is
    // set or the font is a device font.
    void add_string(std::string_view utf8);
    // The first character added that no face has (drawn as the replacement glyph), if any.
    std::optional<char32_t> missing_character() const { return missing_; }
    // Width of `utf8` with the current font and height, in pixels (Font::string_width); 0 without font.
    double string_width(std::string_view utf8) const;

    struct Run {
        std::shared_ptr<const Font> font;
        Rgba color;
        Twips height;
        Twips x; // pen position where the run starts
        std::vector<PlacedGlyph> glyphs;
    };
    const std::vector<Run>& runs() const { return runs_; }

private:
    void define_dependencies(detail::DefineContext& context) const override;
    void encode(CharacterId id, const detail::EncodeContext& context,
                std::vector<uint8_t>& out) const override;

    std::shared_ptr<const Font> font_;
    Rgba color_{0, 0, 0, 255};
    Twips height_ = Twips::from_pixels(12);
    Twips pen_x_;
    std::vector<Run> runs_;
    std::optional<char32_t> missing_;
};

} // namespace swf
