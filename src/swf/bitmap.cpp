#include "swf/bitmap.h"

#include "swf/dbl.h"
#include "swf/error.h"
#include "swf/file_bytes.h"
#include "swf/jpeg_info.h"
#include "swf/writer.h"

namespace swf {

Bitmap::Bitmap(Data data, int width, int height) : data_(std::move(data)), width_(width), height_(height) {}

std::shared_ptr<Bitmap> Bitmap::from_jpeg_bytes(std::vector<uint8_t> jpeg) {
    const detail::JpegSize size = detail::jpeg_size(jpeg);
    return std::make_shared<Bitmap>(DefineBitsJpeg2{0, std::move(jpeg)}, size.width, size.height);
}

std::shared_ptr<Bitmap> Bitmap::from_jpeg_file(const std::filesystem::path& path) {
    return from_jpeg_bytes(detail::read_file_bytes(path, "JPEG picture"));
}

std::shared_ptr<Bitmap> Bitmap::from_dbl_bytes(std::span<const uint8_t> dbl) {
    DefineBitsLossless bitmap = read_dbl(dbl);
    const int width = bitmap.width;
    const int height = bitmap.height;
    return std::make_shared<Bitmap>(std::move(bitmap), width, height);
}

std::shared_ptr<Bitmap> Bitmap::from_dbl_file(const std::filesystem::path& path) {
    return from_dbl_bytes(detail::read_file_bytes(path, "DBL bitmap"));
}

std::shared_ptr<Bitmap> Bitmap::from_rgba(int width, int height, std::span<const uint8_t> rgba) {
    if (width <= 0 || height <= 0 || width > 0xFFFF || height > 0xFFFF) {
        throw Error("a bitmap of " + std::to_string(width) + " x " + std::to_string(height) +
                    " pixels cannot be held in a movie");
    }
    return std::make_shared<Bitmap>(
        lossless_from_rgba(static_cast<uint16_t>(width), static_cast<uint16_t>(height), rgba, true), width,
        height);
}

void Bitmap::encode(CharacterId id, const detail::EncodeContext&, std::vector<uint8_t>& out) const {
    std::visit(
        [&](auto tag) {
            // A copy with the movie's id; bitmaps are written once per movie.
            tag.id = id;
            write_tag(tag, out);
        },
        data_);
}

} // namespace swf
