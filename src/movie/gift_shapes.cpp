#include "movie/gift_shapes.h"

#include "imaging/picture.h"
#include "swf/error.h"

#include <algorithm>
#include <cctype>

namespace movie {

std::shared_ptr<swf::Shape> FilledRectangle(double w, double h,
                                            const std::function<swf::Shape::Fill(swf::Shape&)>& make_fill) {
    auto shape = std::make_shared<swf::Shape>();
    shape->set_right_fill(make_fill(*shape));
    shape->move_pen_to(0, 0);
    shape->draw_line(w, 0);
    shape->draw_line(0, h);
    shape->draw_line(-w, 0);
    shape->draw_line(0, -h);
    shape->end();
    return shape;
}

std::shared_ptr<swf::Shape> ColourRectangle(double w, double h, Rgb colour, uint8_t alpha) {
    return FilledRectangle(w, h, [&](swf::Shape& s) {
        return s.add_solid_fill(swf::Rgba{colour.red, colour.green, colour.blue, alpha});
    });
}

std::shared_ptr<const swf::Bitmap> ReadBitmap(const std::filesystem::path& file) {
    const std::string name = Lowered(file.string());
    if (EndsWith(name, ".dbl")) {
        return swf::Bitmap::from_dbl_file(file);
    }
    if (EndsWith(name, ".jpg")) {
        return swf::Bitmap::from_jpeg_file(file);
    }
    if (EndsWith(name, ".png")) { // a converted picture with transparency: kept lossless, with its alpha
        const imaging::Picture picture = imaging::Picture::Load(file);
        const imaging::Size size = picture.size();
        return swf::Bitmap::from_rgba(size.width, size.height, picture.EncodeRgba());
    }
    throw swf::Error("not a picture a movie can hold: " + file.string());
}

swf::Rgba Opaque(Rgb colour) {
    return swf::Rgba{colour.red, colour.green, colour.blue, 255};
}

std::string Lowered(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return std::tolower(c); });
    return out;
}

bool EndsWith(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

} // namespace movie
