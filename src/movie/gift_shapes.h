// Shapes and pictures shared by the parts of a card frame.
#pragma once

#include "movie/card_text.h"
#include "swf/bitmap.h"
#include "swf/shape.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace movie {

// A w x h rectangle from (0, 0) whose inside is the fill `make_fill` adds to the shape.
std::shared_ptr<swf::Shape> FilledRectangle(double w, double h,
                                            const std::function<swf::Shape::Fill(swf::Shape&)>& make_fill);

// A w x h rectangle from (0, 0) filled with one colour.
std::shared_ptr<swf::Shape> ColourRectangle(double w, double h, Rgb colour, uint8_t alpha);

// A converted picture as a bitmap: ".dbl" files as lossless pictures, ".jpg" files as JPEG. Throws
// swf::Error for anything else or a file that cannot be read.
std::shared_ptr<const swf::Bitmap> ReadBitmap(const std::filesystem::path& file);

swf::Rgba Opaque(Rgb colour);

std::string Lowered(std::string_view text);
bool EndsWith(std::string_view text, std::string_view end);

} // namespace movie
