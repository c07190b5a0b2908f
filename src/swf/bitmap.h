// Bitmaps: JPEG pictures (DefineBitsJPEG2), lossless DBL pictures (DefineBitsLossless/2) and pictures with
// transparency (DefineBitsLossless2).
#pragma once

#include "swf/character.h"
#include "swf/tags.h"

#include <filesystem>
#include <memory>
#include <span>
#include <variant>

namespace swf {

class Bitmap final : public Character {
public:
    // A baseline or progressive JPEG file. Throws swf::Error when the file cannot be read or is not a
    // JPEG whose size can be found.
    static std::shared_ptr<Bitmap> from_jpeg_file(const std::filesystem::path& path);
    static std::shared_ptr<Bitmap> from_jpeg_bytes(std::vector<uint8_t> jpeg);

    // A .dbl file (dbl.h describes the layout). Throws swf::Error on a malformed file.
    static std::shared_ptr<Bitmap> from_dbl_file(const std::filesystem::path& path);
    static std::shared_ptr<Bitmap> from_dbl_bytes(std::span<const uint8_t> dbl);

    // Straight (not premultiplied) RGBA pixels, row by row from the top, kept with their alpha as a
    // DefineBitsLossless2. Throws swf::Error when the sizes do not fit a bitmap or the pixels.
    static std::shared_ptr<Bitmap> from_rgba(int width, int height, std::span<const uint8_t> rgba);

    int width() const { return width_; }
    int height() const { return height_; }

    using Data = std::variant<DefineBitsJpeg2, DefineBitsLossless>; // ids unset
    Bitmap(Data data, int width, int height);

private:
    void encode(CharacterId id, const detail::EncodeContext& context,
                std::vector<uint8_t>& out) const override;

    Data data_;
    int width_ = 0;
    int height_ = 0;
};

} // namespace swf
