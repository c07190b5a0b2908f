// Internals of Movie shared with the character classes: the contexts through which characters are
// defined (ids, order) and encoded (ids of what they refer to, font subsets).
#pragma once

#include "swf/character.h"
#include "swf/color.h"
#include "swf/font.h"
#include "swf/matrix.h"
#include "swf/movie.h"
#include "swf/tags.h"

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <unordered_map>
#include <variant>
#include <vector>

namespace swf::detail {

struct PlacedItem {
    Depth depth = 0;
    CharacterId character_id = 0;
    std::optional<Matrix> matrix;
    std::optional<ColorTransform> color_transform;
    bool shown = false;   // its placement has been written into an ended frame
    bool changed = false; // moved or recoloured since then
    bool removed = false;
};

// The glyphs of one font that a movie's texts use, in the order they are written: by code, then by
// glyph (glyphs only shaping reaches have code 0 and come first).
struct FontSubset {
    std::vector<size_t> glyphs;
    std::unordered_map<size_t, uint32_t> index; // font glyph -> position in `glyphs`
    std::set<uint16_t> codes;
    std::optional<uint32_t> index_of(size_t glyph) const;
    bool has_code(uint16_t code) const { return codes.count(code) != 0; }
};

class MovieState;

class DefineContext {
public:
    explicit DefineContext(MovieState& movie) : movie_(movie) {}

    // The character's id in this movie, defining it (and what it depends on) first when needed.
    CharacterId require(const std::shared_ptr<const Character>& character);
    CharacterId allocate_id();
    // Used by Character::define: the definition is encoded when the movie is written.
    void defer(const Character& character, CharacterId id);
    void add_definition(const RawTag& tag);

private:
    MovieState& movie_;
};

class EncodeContext {
public:
    EncodeContext(const std::unordered_map<const Character*, CharacterId>& ids,
                  const std::unordered_map<const Font*, FontSubset>& subsets)
        : ids_(ids), subsets_(subsets) {}

    CharacterId id_of(const Character& character) const;
    const FontSubset& subset(const Font& font) const;
    static void encode(const Character& character, CharacterId id, const EncodeContext& context,
                       std::vector<uint8_t>& out) {
        character.encode(id, context, out);
    }

private:
    const std::unordered_map<const Character*, CharacterId>& ids_;
    const std::unordered_map<const Font*, FontSubset>& subsets_;
};

class MovieState {
public:
    struct Deferred {
        const Character* character;
        CharacterId id;
    };
    struct Pending {
        std::shared_ptr<PlacedItem> item;
    };
    using Entry = std::variant<std::vector<uint8_t>, Deferred, Pending>;

    uint8_t version = 6;
    Rect stage{Twips{0}, Twips::from_pixels(550), Twips{0}, Twips::from_pixels(400)};
    uint16_t rate = 12 * 256;
    std::optional<Rgba> background;

    std::vector<Entry> entries;
    size_t frame_start = 0;         // first entry of the current frame
    bool frame_has_content = false; // anything but removals since the last ShowFrame
    int frames = 0;
    uint32_t next_id = 1;
    uint32_t next_depth = 1;
    std::unordered_map<const Character*, CharacterId> ids;
    std::vector<std::shared_ptr<const Character>> keep_alive;
    std::vector<std::shared_ptr<PlacedItem>> changed_items;

    // Appends encoded tag bytes to the entries.
    std::vector<uint8_t>& bytes();
    void append_tag(const Tag& tag);
    CharacterId allocate_id();
    std::shared_ptr<PlacedItem> place(const std::shared_ptr<const Character>& character);
    void change(const std::shared_ptr<PlacedItem>& item);
    void remove(PlacedItem& item);
    void next_frame();
    std::vector<uint8_t> tags_for_file() const;

    static DisplayItem make_item(const std::shared_ptr<MovieState>& state, std::shared_ptr<PlacedItem> item);

private:
    std::unordered_map<const Font*, FontSubset> font_subsets() const;
    void write_pending_frame(const EncodeContext& context, std::vector<uint8_t>& out) const;
};

} // namespace swf::detail
