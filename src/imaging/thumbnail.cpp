#include "imaging/thumbnail.h"

#include "imaging/error.h"
#include "imaging/picture.h"

#include <vips/vips8>

#include <cctype>
#include <string>

namespace imaging {

using vips::VError;
using vips::VImage;

namespace {

std::string Trimmed(const char* text) {
    std::string s = text;
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) {
        s.pop_back();
    }
    return s;
}

// 8-bit sRGB with three bands, transparency flattened over white.
VImage ToRgb8(VImage image) {
    if (vips_colourspace_issupported(image.get_image()) &&
        image.interpretation() != VIPS_INTERPRETATION_sRGB) {
        image = image.colourspace(VIPS_INTERPRETATION_sRGB);
    }
    if (image.format() != VIPS_FORMAT_UCHAR) {
        image = image.cast(VIPS_FORMAT_UCHAR);
    }
    if (image.bands() == 2 || image.bands() == 4) {
        const std::vector<double> white(size_t(image.bands() - 1), 255.0);
        image = image.flatten(VImage::option()->set("background", white));
    }
    if (image.bands() == 2) {
        image = image.extract_band(0);
    }
    if (image.bands() == 1) {
        image = VImage::bandjoin({image, image, image});
    } else if (image.bands() > 3) {
        image = image.extract_band(0, VImage::option()->set("n", 3));
    }
    return image;
}

Thumbnail FromVips(const VImage& image, Size size) {
    if (image.width() != size.width || image.height() != size.height || image.bands() != 3) {
        throw Error("the thumbnail came out at the wrong size");
    }
    size_t length = 0;
    void* pixels = image.write_to_memory(&length);
    Thumbnail thumb{size, {}};
    const auto* bytes = static_cast<const uint8_t*>(pixels);
    thumb.rgb.assign(bytes, bytes + length);
    g_free(pixels);
    if (thumb.rgb.size() != size_t(size.width) * size.height * 3) {
        throw Error("the thumbnail came out at the wrong size");
    }
    return thumb;
}

// libvips's own shrink-on-load path: JPEGs decode at 1/2..1/8 scale, other formats load and shrink.
VImage ThumbnailByVips(const std::filesystem::path& path, Size size) {
    VImage image = VImage::thumbnail(
        path.c_str(), size.width, VImage::option()->set("height", size.height)->set("size", VIPS_SIZE_FORCE));
    image = ToRgb8(image);
    if (image.width() != size.width || image.height() != size.height) {
        image = image.resize(double(size.width) / image.width(),
                             VImage::option()->set("vscale", double(size.height) / image.height()));
    }
    return image;
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
    Picture::Load(path); // starts the library and refuses what is no picture (metafiles included)
    Thumbnail thumb;
    try {
        thumb = FromVips(ThumbnailByVips(path, size), size);
    } catch (const VError&) {
        vips_error_clear();
        // Formats libvips's thumbnail cannot open by name (metafiles) go through the picture loader.
        try {
            thumb = Thumbnail{size, {}};
            const std::vector<uint8_t> jpeg = Picture::LoadAtLeast(path, size).Resized(size).EncodeJpeg(95);
            thumb = FromVips(ToRgb8(VImage::new_from_buffer(jpeg.data(), jpeg.size(), "")), size);
        } catch (const VError& e) {
            const std::string text = Trimmed(e.what());
            vips_error_clear();
            throw Error("cannot make a thumbnail of " + path.string() + ": " + text);
        }
    }
    DrawThumbnailFrame(thumb);
    return thumb;
}

} // namespace imaging
