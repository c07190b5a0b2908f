#include "imaging/thumbnail.h"

#include "imaging/error.h"
#include "imaging/picture.h"

namespace imaging {

namespace {

// RGBA to RGB over white, the way the pickers show transparent pictures.
Thumbnail OverWhite(const std::vector<uint8_t>& rgba, Size size) {
    const size_t pixels = size_t(size.width) * size.height;
    if (rgba.size() != pixels * 4) {
        throw Error("the thumbnail came out at the wrong size");
    }
    Thumbnail thumb{size, std::vector<uint8_t>(pixels * 3)};
    for (size_t i = 0; i < pixels; ++i) {
        const unsigned alpha = rgba[i * 4 + 3];
        for (int c = 0; c < 3; ++c) {
            const unsigned value = rgba[i * 4 + c];
            thumb.rgb[i * 3 + c] = uint8_t((value * alpha + 255u * (255u - alpha) + 127u) / 255u);
        }
    }
    return thumb;
}

} // namespace

void DrawThumbnailFrame(Thumbnail& thumb) {
    const int w = thumb.size.width;
    const int h = thumb.size.height;
    auto grey = [&](int x, int y) {
        uint8_t* p = &thumb.rgb[(size_t(y) * w + x) * 3];
        p[0] = p[1] = p[2] = 128;
    };
    for (int x = 0; x < w; ++x) {
        grey(x, 0);
        grey(x, h - 1);
    }
    for (int y = 0; y < h; ++y) {
        grey(0, y);
        grey(w - 1, y);
    }
}

Thumbnail MakeThumbnail(const std::filesystem::path& path, Size size) {
    if (size.width <= 0 || size.height <= 0) {
        throw Error("a thumbnail needs a positive size");
    }
    // LoadAtLeast decodes a large JPEG at 1/2..1/8 of its size (shrink-on-load) and turns photos upright,
    // so a camera photo takes milliseconds, not a second.
    Thumbnail thumb = OverWhite(Picture::LoadAtLeast(path, size).Resized(size).EncodeRgba(), size);
    DrawThumbnailFrame(thumb);
    return thumb;
}

} // namespace imaging
