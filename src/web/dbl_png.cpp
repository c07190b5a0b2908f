#include "web/dbl_png.h"

#include "swf/dbl.h"
#include "web/font_subset.h"

#include <zlib.h>

#include <stdexcept>
#include <string>

namespace web {

namespace {

void Put32(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(uint8_t(v >> 24));
    out.push_back(uint8_t(v >> 16));
    out.push_back(uint8_t(v >> 8));
    out.push_back(uint8_t(v));
}

void Chunk(std::vector<uint8_t>& out, const char* type, std::span<const uint8_t> data) {
    Put32(out, uint32_t(data.size()));
    const size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    const uLong crc = crc32(0, out.data() + start, uInt(out.size() - start));
    Put32(out, uint32_t(crc));
}

std::vector<uint8_t> Inflate(std::span<const uint8_t> data, size_t expected) {
    // Deflate packs at most about 1032 bytes into one: a header claiming more pixels than the data can
    // hold is refused before anything that large is allocated.
    if (expected > data.size() * 1100 + 64) {
        throw WebError("the .dbl picture is smaller than its size says");
    }
    std::vector<uint8_t> out(expected);
    uLongf length = uLongf(expected);
    const int rc = uncompress(out.data(), &length, data.data(), uLong(data.size()));
    if ((rc != Z_OK && rc != Z_BUF_ERROR) || length < expected) {
        throw WebError("the .dbl picture's pixels cannot be read");
    }
    return out;
}

uint8_t Unpremultiply(uint8_t c, uint8_t a) {
    return a == 0 ? 0 : uint8_t(std::min(255, (c * 255 + a / 2) / a));
}

} // namespace

std::vector<uint8_t> EncodePng(uint32_t width, uint32_t height, std::span<const uint8_t> rgba) {
    std::vector<uint8_t> raw;
    raw.reserve((size_t(width) * 4 + 1) * height);
    for (uint32_t y = 0; y < height; ++y) {
        raw.push_back(0); // no filter
        const auto row = rgba.subspan(size_t(y) * width * 4, size_t(width) * 4);
        raw.insert(raw.end(), row.begin(), row.end());
    }
    std::vector<uint8_t> packed(compressBound(uLong(raw.size())));
    uLongf length = uLongf(packed.size());
    if (compress2(packed.data(), &length, raw.data(), uLong(raw.size()), 9) != Z_OK) {
        throw WebError("a picture could not be packed");
    }
    packed.resize(length);
    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    Put32(header, width);
    Put32(header, height);
    header.insert(header.end(), {8, 6, 0, 0, 0}); // 8 bits, RGBA, deflate, no filter choice, no interlace
    Chunk(png, "IHDR", header);
    Chunk(png, "IDAT", packed);
    Chunk(png, "IEND", {});
    return png;
}

DecodedPicture DblToPng(std::span<const uint8_t> dbl) {
    swf::DefineBitsLossless bitmap;
    try {
        bitmap = swf::read_dbl(dbl);
    } catch (const std::exception& e) {
        throw WebError(std::string("the .dbl picture cannot be read: ") + e.what());
    }
    const uint32_t w = bitmap.width;
    const uint32_t h = bitmap.height;
    const bool alpha = bitmap.version == 2;
    std::vector<uint8_t> rgba;
    if (bitmap.format == 5) {
        const std::vector<uint8_t> argb = Inflate(bitmap.zlib_data, size_t(w) * h * 4);
        rgba.resize(size_t(w) * h * 4);
        for (size_t i = 0; i < size_t(w) * h; ++i) {
            const uint8_t a = alpha ? argb[4 * i] : 255;
            for (int c = 0; c < 3; ++c) {
                const uint8_t v = argb[4 * i + 1 + c];
                rgba[4 * i + c] = alpha ? Unpremultiply(v, a) : v;
            }
            rgba[4 * i + 3] = a;
        }
    } else if (bitmap.format == 3) {
        const size_t colours = size_t(bitmap.palette_size_minus_one) + 1;
        const size_t entry = alpha ? 4 : 3;
        const size_t stride = (w + 3) / 4 * 4;
        const std::vector<uint8_t> data = Inflate(bitmap.zlib_data, colours * entry + stride * h);
        rgba.resize(size_t(w) * h * 4);
        for (uint32_t y = 0; y < h; ++y) {
            for (uint32_t x = 0; x < w; ++x) {
                const size_t index = data[colours * entry + y * stride + x];
                const size_t o = (size_t(y) * w + x) * 4;
                if (index >= colours) {
                    continue; // left transparent
                }
                const uint8_t* p = &data[index * entry];
                const uint8_t a = alpha ? p[3] : 255;
                for (int c = 0; c < 3; ++c) {
                    rgba[o + c] = alpha ? Unpremultiply(p[c], a) : p[c];
                }
                rgba[o + 3] = a;
            }
        }
    } else {
        throw WebError("the .dbl picture's format " + std::to_string(bitmap.format) + " is not supported");
    }
    return DecodedPicture{w, h, EncodePng(w, h, rgba)};
}

} // namespace web
