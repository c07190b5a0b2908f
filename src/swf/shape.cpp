#include "swf/shape.h"

#include "swf/error.h"
#include "swf/movie_state.h"
#include "swf/writer.h"

#include <algorithm>

namespace swf {

namespace {

constexpr int32_t bitmap_pixel_scale = Twips::per_pixel * Matrix::one; // one bitmap pixel = 20 twips

} // namespace

void Shape::check_open() const {
    if (ended_) {
        throw Error("the shape is already ended");
    }
}

Shape::Fill Shape::add_solid_fill(Rgba color) {
    check_open();
    if (fill_styles_.size() >= 0xFFFF) {
        throw Error("too many fill styles in one shape");
    }
    fill_styles_.emplace_back(SolidFill{color});
    fill_bitmaps_.emplace_back();
    return Fill{static_cast<uint16_t>(fill_styles_.size())};
}

Shape::Fill Shape::add_bitmap_fill(std::shared_ptr<const Bitmap> bitmap, BitmapFillKind kind) {
    check_open();
    if (!bitmap) {
        throw Error("no bitmap given for a bitmap fill");
    }
    if (fill_styles_.size() >= 0xFFFF) {
        throw Error("too many fill styles in one shape");
    }
    fill_styles_.emplace_back(BitmapFill{kind, 0, Matrix::scale(bitmap_pixel_scale, bitmap_pixel_scale)});
    fill_bitmaps_.push_back(std::move(bitmap));
    return Fill{static_cast<uint16_t>(fill_styles_.size())};
}

StyleChange& Shape::pending_style_change() {
    if (records_.empty() || !std::holds_alternative<StyleChange>(records_.back())) {
        records_.emplace_back(StyleChange{});
    }
    return std::get<StyleChange>(records_.back());
}

void Shape::set_left_fill(Fill fill) {
    check_open();
    if (fill.index > fill_styles_.size()) {
        throw Error("unknown fill style");
    }
    pending_style_change().fill_style0 = fill.index;
}

void Shape::set_right_fill(Fill fill) {
    check_open();
    if (fill.index > fill_styles_.size()) {
        throw Error("unknown fill style");
    }
    pending_style_change().fill_style1 = fill.index;
}

void Shape::move_pen_to(double x, double y) {
    check_open();
    pen_x_ = Twips::from_pixels(x);
    pen_y_ = Twips::from_pixels(y);
    pending_style_change().move_to = std::make_pair(pen_x_, pen_y_);
}

void Shape::draw_line(double dx, double dy) {
    check_open();
    // Deltas are taken from the rounded end point so rounding errors never add up along a path.
    const Twips end_x{Twips::from_pixels(pen_x_.to_pixels() + dx)};
    const Twips end_y{Twips::from_pixels(pen_y_.to_pixels() + dy)};
    if (!has_points_) {
        min_x_ = max_x_ = pen_x_;
        min_y_ = max_y_ = pen_y_;
        has_points_ = true;
    }
    records_.emplace_back(StraightEdge{Twips{end_x.value - pen_x_.value}, Twips{end_y.value - pen_y_.value}});
    pen_x_ = end_x;
    pen_y_ = end_y;
    min_x_.value = std::min(min_x_.value, pen_x_.value);
    max_x_.value = std::max(max_x_.value, pen_x_.value);
    min_y_.value = std::min(min_y_.value, pen_y_.value);
    max_y_.value = std::max(max_y_.value, pen_y_.value);
}

void Shape::end() {
    ended_ = true;
}

Rect Shape::bounds() const {
    if (!has_points_) {
        return Rect{};
    }
    return Rect{min_x_, max_x_, min_y_, max_y_};
}

void Shape::define_dependencies(detail::DefineContext& context) const {
    for (const auto& bitmap : fill_bitmaps_) {
        if (bitmap) {
            context.require(bitmap);
        }
    }
}

void Shape::encode(CharacterId id, const detail::EncodeContext& context, std::vector<uint8_t>& out) const {
    DefineShape3 tag;
    tag.id = id;
    tag.bounds = bounds();
    tag.fill_styles = fill_styles_;
    for (size_t i = 0; i < fill_styles_.size(); ++i) {
        if (fill_bitmaps_[i]) {
            std::get<BitmapFill>(tag.fill_styles[i]).bitmap_id = context.id_of(*fill_bitmaps_[i]);
        }
    }
    tag.records = records_;
    write_tag(tag, out);
}

} // namespace swf
