// A decoded picture: load from a file or from bytes, measure, scale to an exact size, save as JPEG.
// Pictures are decoded lazily by libvips (a module loaded on the first picture, backend.h); a load reads
// the header, the pixels are read when they are needed (scaling or saving). Photos are turned upright by
// their orientation tag, so sizes are always those of the upright picture. Every failure throws
// imaging::Error (also when the picture module cannot be loaded); nothing here aborts on bad input. A
// picture over the size limits (error.h) is refused with TooLargeError from its header, before decoding.
#pragma once

#include "imaging/error.h"
#include "imaging/size.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <vector>

namespace imaging {

class Picture {
public:
    // Reads JPEG, GIF and PNG natively, BMP, ICO and PCX through ImageMagick, and WMF (known by its
    // extension or its placeable-metafile signature) through ImageMagick. Animated pictures give their
    // first frame. Every picture is seen as 8-bit RGB, with its alpha channel when it has one.
    static Picture Load(const std::filesystem::path& path);

    // Like Load, but a JPEG is decoded at 1/2, 1/4 or 1/8 of its size when it is still at least
    // `atLeast` in both directions afterwards (much faster for large photos that are then shrunk).
    static Picture LoadAtLeast(const std::filesystem::path& path, Size atLeast);

    // Reads a picture held in memory: any format libvips recognises from its bytes, and placeable
    // Windows metafiles.
    static Picture LoadFromBuffer(std::span<const uint8_t> bytes);

    Picture(Picture&&) noexcept;
    Picture& operator=(Picture&&) noexcept;
    ~Picture();

    // Width and height in pixels (from the header; decodes nothing).
    Size size() const;

    // The whole picture scaled to exactly `target` (each direction on its own) with the cubic kernel.
    Picture Resized(Size target) const;

    // Decodes every pixel (throws when the data turns out to be corrupt). Saving does this too.
    void Decode() const;

    // True when some pixel is not fully opaque (decodes the alpha channel).
    bool HasTransparency() const;

    // A baseline (not progressive) 24-bit JPEG of the picture at `quality` (0..100; 0 counts as 1, the
    // encoder's lowest), transparent parts flattened over white. Throws when the pixels cannot be decoded.
    std::vector<uint8_t> EncodeJpeg(int quality) const;

    // Straight (not premultiplied) RGBA pixels, 4 bytes each, row by row from the top; opaque pictures
    // give alpha 255.
    std::vector<uint8_t> EncodeRgba() const;

    // A lossless PNG of the picture, its alpha channel kept.
    std::vector<uint8_t> EncodePng() const;

    // EncodeJpeg written to `target`: the file is written beside the target and renamed over it, so an
    // existing target is replaced only by a complete file.
    void SaveJpeg(const std::filesystem::path& target, int quality) const;

private:
    struct Impl;
    explicit Picture(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

// The size of the picture in `path`, read from its header where the format allows; nullopt when the file
// cannot be read as a picture.
std::optional<Size> ReadPictureSize(const std::filesystem::path& path);

} // namespace imaging
