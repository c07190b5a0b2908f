// Shapes: filled areas drawn with a pen (DefineShape3). Coordinates are pixels (1 pixel = 20 twips).
//
//     auto rect = std::make_shared<swf::Shape>();
//     auto fill = rect->add_solid_fill({255, 0, 0, 255});
//     rect->set_right_fill(fill);
//     rect->move_pen_to(0, 0);
//     rect->draw_line(w, 0); rect->draw_line(0, h); rect->draw_line(-w, 0); rect->draw_line(0, -h);
//     rect->end();
#pragma once

#include "swf/bitmap.h"
#include "swf/character.h"
#include "swf/tags.h"

#include <memory>
#include <vector>

namespace swf {

class Shape final : public Character {
public:
    // A fill style of this shape; Fill{} (index 0) means no fill.
    struct Fill {
        uint16_t index = 0;
    };

    Shape() = default;

    Fill add_solid_fill(Rgba color);
    // A bitmap fill whose matrix maps one bitmap pixel to one stage pixel (scale 20), anchored at the
    // shape's origin. Clipped (0x41) shows the picture once, tiled (0x40) repeats it.
    Fill add_bitmap_fill(std::shared_ptr<const Bitmap> bitmap, BitmapFillKind kind = BitmapFillKind::Clipped);

    void set_left_fill(Fill fill);
    void set_right_fill(Fill fill);
    void move_pen_to(double x, double y);
    void draw_line(double dx, double dy); // relative to the pen
    // Ends drawing; further drawing throws swf::Error. A movie writes the shape as it stands when the
    // movie is written.
    void end();

    // The shape as it stands, with id 0 and bitmap ids 0 (for tests and tools).
    const std::vector<FillStyle>& fill_styles() const { return fill_styles_; }
    const std::vector<ShapeRecord>& records() const { return records_; }
    Rect bounds() const;

private:
    void define_dependencies(detail::DefineContext& context) const override;
    void encode(CharacterId id, const detail::EncodeContext& context,
                std::vector<uint8_t>& out) const override;
    StyleChange& pending_style_change();
    void check_open() const;

    std::vector<FillStyle> fill_styles_;
    std::vector<std::shared_ptr<const Bitmap>> fill_bitmaps_; // parallel to fill_styles_, null for solid
    std::vector<ShapeRecord> records_;
    Twips pen_x_;
    Twips pen_y_;
    Twips min_x_, max_x_, min_y_, max_y_;
    bool has_points_ = false;
    bool ended_ = false;
};

} // namespace swf
