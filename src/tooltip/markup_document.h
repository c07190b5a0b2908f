// The parsed form of a tooltip mark-up text: a list of items (text runs, breaks, tabs, rules, pictures,
// tables) with their resolved styles, independent of any drawing library.
#pragma once

#include "tooltip/markup_style.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace markup {

struct Link {
    std::string href; // opened by the desktop when clicked
    std::string msg;  // sent to the owner when clicked
};

enum class ImageKind { Bitmap, Icon, ImageList };

struct ImageRef {
    ImageKind kind = ImageKind::Bitmap;
    int idres = -1;           // one of the program's own pictures
    std::string file;         // a picture file
    std::uint32_t handle = 0; // a picture registered with the drawer
    int index = 0;            // picture in a strip
    int cx = 0;               // cell size in a strip
    int cy = 0;
    std::string width; // scaling: a percentage or a length, empty for the natural size
    std::string height;
    bool mask = false; // draw transparently
    std::optional<Colour> maskColour;
    std::string style;    // letters g, d, l, s
    std::string hotStyle; // the same, while the mouse is over it
};

// Background effects of cells and of the tip window.
enum class Effect {
    Transparent = -1,
    Solid = 0,
    HGradient = 1,
    VGradient = 2,
    HCGradient = 3,
    VCGradient = 4,
    H3Gradient = 5,
    V3Gradient = 6,
    Noise = 7,
    DiagShade = 8,
    HShade = 9,
    VShade = 10,
    HBump = 11,
    VBump = 12,
    SoftBump = 13,
    HardBump = 14,
    Metal = 15,
};

// Reads an effect by name or number; anything else is taken as a number (an unknown number paints
// the begin colour, like "solid").
int ParseEffect(std::string_view text);

struct CellAttributes {
    std::string width; // a percentage or a length
    std::optional<HAlign> align;
    std::optional<VAlign> valign;
    std::optional<Colour> bgColour;
    std::optional<int> bgEffect;
    std::optional<Colour> bgMidColour;
    std::optional<Colour> bgEndColour;
    std::optional<int> border;
    std::optional<Colour> borderColour;
    std::optional<Colour> borderColourLight;
    std::optional<Colour> borderColourDark;
    std::optional<int> cellPadding;
    std::optional<int> cellSpacing;
    int rowSpan = 1;
    int colSpan = 1;
};

struct Table;

struct Item {
    enum class Kind { Text, Break, Tab, Rule, Image, Table };
    Kind kind = Kind::Text;
    TextStyle style;
    TextStyle hoverStyle; // used instead of `style` while the item's link is hot
    std::string text;     // Kind::Text, entities decoded
    int link = -1;        // index into Document::links
    int count = 1;        // Break and Tab repetitions
    // Kind::Rule
    std::string ruleWidth; // empty: the whole area
    int ruleSize = 1;
    Colour ruleColour{};
    // Kind::Image
    ImageRef image;
    int imageIndex = -1;
    // Kind::Table
    std::shared_ptr<Table> table;
};

struct Cell {
    CellAttributes attributes;
    std::vector<Item> items;
};

struct Row {
    CellAttributes attributes;
    std::vector<Cell> cells;
};

struct Table {
    CellAttributes attributes;
    std::vector<Row> rows;
};

struct Document {
    std::vector<Item> items;
    std::vector<Link> links;
    int imageCount = 0;
};

} // namespace markup
