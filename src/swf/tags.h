// The tags this library writes, one struct per tag meaning. Structs hold values only: bit widths,
// lengths and presence flags are derived by the writer (writer.h).
#pragma once

#include "swf/color.h"
#include "swf/matrix.h"
#include "swf/raw_tag.h"

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace swf {

// ---- shapes -------------------------------------------------------------------------------------

enum class BitmapFillKind : uint8_t {
    Tiled = 0x40,
    Clipped = 0x41,
};

struct SolidFill {
    Rgba color;
    friend bool operator==(const SolidFill&, const SolidFill&) = default;
};

struct BitmapFill {
    BitmapFillKind kind = BitmapFillKind::Clipped;
    CharacterId bitmap_id = 0;
    Matrix matrix; // maps bitmap pixels to shape twips
    friend bool operator==(const BitmapFill&, const BitmapFill&) = default;
};

using FillStyle = std::variant<SolidFill, BitmapFill>;

// Fill style indices are 1-based into the shape's fill styles; 0 means "no fill".
struct StyleChange {
    std::optional<std::pair<Twips, Twips>> move_to; // absolute position
    std::optional<uint16_t> fill_style0;            // the fill on the left of the path
    std::optional<uint16_t> fill_style1;            // the fill on the right of the path
    friend bool operator==(const StyleChange&, const StyleChange&) = default;
};

struct StraightEdge {
    Twips dx;
    Twips dy;
    friend bool operator==(const StraightEdge&, const StraightEdge&) = default;
};

using ShapeRecord = std::variant<StyleChange, StraightEdge>; // the end record is implicit

// DefineShape3: RGBA colours, no line styles (the library draws filled areas only).
struct DefineShape3 {
    CharacterId id = 0;
    Rect bounds;
    std::vector<FillStyle> fill_styles;
    std::vector<ShapeRecord> records;
};

// ---- bitmaps ------------------------------------------------------------------------------------

// DefineBitsJPEG2: a complete JPEG stream (encoding tables and image data together).
struct DefineBitsJpeg2 {
    CharacterId id = 0;
    std::vector<uint8_t> jpeg_data;
};

// DefineBitsLossless (version 1, RGB) or DefineBitsLossless2 (version 2, with alpha).
struct DefineBitsLossless {
    CharacterId id = 0;
    uint8_t version = 1;
    uint8_t format = 5; // 3 colour-mapped, 4 15-bit RGB, 5 32-bit
    uint16_t width = 0;
    uint16_t height = 0;
    uint8_t palette_size_minus_one = 0; // written only for format 3
    std::vector<uint8_t> zlib_data;     // palette and pixels, zlib-compressed
};

// ---- fonts and texts ----------------------------------------------------------------------------

struct Glyph {
    std::vector<uint8_t> shape; // the glyph's SHAPE bytes (fill and line bit counts, records), as stored
    uint16_t code = 0;          // Unicode code point (UCS-2)
    int16_t advance = 0;        // EM units (1024 per EM)
    Rect bounds;                // EM units
};

struct KerningPair {
    uint16_t left = 0;
    uint16_t right = 0;
    int16_t adjustment = 0;
    friend bool operator==(const KerningPair&, const KerningPair&) = default;
};

struct FontLayout {
    int16_t ascent = 0;
    int16_t descent = 0;
    int16_t leading = 0;
    std::vector<KerningPair> kerning;
};

// DefineFont2. Glyphs are in ascending code order; the writer always uses wide codes and picks the
// offset width itself.
struct DefineFont2 {
    CharacterId id = 0;
    bool bold = false;
    bool italic = false;
    bool small_text = false;
    uint8_t language = 0;
    std::string name;
    std::vector<Glyph> glyphs;
    std::optional<FontLayout> layout;
};

struct GlyphEntry {
    uint32_t index = 0;
    int32_t advance = 0; // twips
    friend bool operator==(const GlyphEntry&, const GlyphEntry&) = default;
};

struct TextRecord {
    std::optional<CharacterId> font_id; // written together with `height`
    std::optional<Rgba> color;
    std::optional<Twips> x_offset;
    std::optional<Twips> y_offset;
    Twips height;
    std::vector<GlyphEntry> glyphs; // at most 255 per record
};

// DefineText2: RGBA colours.
struct DefineText2 {
    CharacterId id = 0;
    Rect bounds;
    Matrix matrix;
    std::vector<TextRecord> records;
};

// ---- buttons ------------------------------------------------------------------------------------

struct ButtonRecord {
    uint8_t states = 0; // up 1, over 2, down 4, hit 8
    CharacterId character_id = 0;
    Depth depth = 1;
    Matrix matrix;
    ColorTransform color_transform;
};

struct ButtonCondAction {
    uint16_t conditions = 0;           // e.g. 0x08 release over the button, 0x04 press
    std::vector<uint8_t> action_bytes; // compiled actions, ending with the End action
};

struct DefineButton2 {
    CharacterId id = 0;
    bool track_as_menu = false;
    std::vector<ButtonRecord> records;
    std::vector<ButtonCondAction> actions;
};

// ---- display list and control tags --------------------------------------------------------------

// PlaceObject2: a new placement (`character_id` set, `is_move` false) or a change of the character
// at `depth` (`is_move` true).
struct PlaceObject2 {
    Depth depth = 1;
    bool is_move = false;
    std::optional<CharacterId> character_id;
    std::optional<Matrix> matrix;
    std::optional<ColorTransform> color_transform;
};

struct RemoveObject2 {
    Depth depth = 1;
};

struct SetBackgroundColor {
    Rgba color; // alpha is not written
};

struct DoAction {
    std::vector<uint8_t> action_bytes; // ending with the End action
};

struct ShowFrame {};
struct End {};

using Tag =
    std::variant<ShowFrame, End, SetBackgroundColor, DefineShape3, DefineBitsJpeg2, DefineBitsLossless,
                 DefineFont2, DefineText2, DefineButton2, PlaceObject2, RemoveObject2, DoAction, RawTag>;

} // namespace swf
