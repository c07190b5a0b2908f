#include "imaging/thumbnail.h"

#include "imaging/error.h"
#include "imaging/jpeg_eighth.h"
#include "imaging/picture.h"

#include <algorithm>
#include <fstream>
#include <optional>

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

// The stored picture turned upright by its EXIF orientation (1..8).
Thumbnail Upright(const JpegEighth& stored) {
    const int w = stored.size.width;
    const int h = stored.size.height;
    const int o = stored.orientation;
    const bool swap = o >= 5;
    Thumbnail out{swap ? Size{h, w} : Size{w, h}, std::vector<uint8_t>(stored.rgb.size())};
    uint8_t* to = out.rgb.data();
    for (int y = 0; y < out.size.height; ++y) {
        for (int x = 0; x < out.size.width; ++x, to += 3) {
            // Where the upright pixel (x, y) lies in the stored picture.
            int sx = swap ? y : x;
            int sy = swap ? x : y;
            if (o == 2 || o == 3 || o == 7 || o == 8) {
                sx = w - 1 - sx;
            }
            if (o == 3 || o == 4 || o == 6 || o == 7) {
                sy = h - 1 - sy;
            }
            const uint8_t* from = &stored.rgb[(size_t(sy) * w + sx) * 3];
            to[0] = from[0];
            to[1] = from[1];
            to[2] = from[2];
        }
    }
    return out;
}

// How much of each source pixel along one axis falls into each of `to` (<= `from`) equal parts.
struct Share {
    int first; // the first source pixel
    std::vector<float> weights;
};
std::vector<Share> Shares(int from, int to) {
    std::vector<Share> shares(static_cast<size_t>(to));
    const double step = double(from) / to;
    for (int i = 0; i < to; ++i) {
        const double begin = i * step;
        const double end = (i + 1) * step;
        Share& share = shares[size_t(i)];
        share.first = int(begin);
        for (int s = share.first; s < from && s < end; ++s) {
            const double covered = std::min<double>(s + 1, end) - std::max<double>(s, begin);
            share.weights.push_back(float(covered / step));
        }
    }
    return shares;
}

// Shrinks by averaging the area each target pixel covers (both sides of `size` at most the picture's).
Thumbnail AreaShrunk(const Thumbnail& picture, Size size) {
    const std::vector<Share> across = Shares(picture.size.width, size.width);
    const std::vector<Share> down = Shares(picture.size.height, size.height);
    std::vector<float> rows(size_t(picture.size.height) * size.width * 3);
    for (int y = 0; y < picture.size.height; ++y) {
        const uint8_t* line = &picture.rgb[size_t(y) * picture.size.width * 3];
        float* out = &rows[size_t(y) * size.width * 3];
        for (const Share& share : across) {
            float sum[3] = {0, 0, 0};
            for (size_t k = 0; k < share.weights.size(); ++k) {
                const uint8_t* p = &line[(size_t(share.first) + k) * 3];
                for (int c = 0; c < 3; ++c) {
                    sum[c] += p[c] * share.weights[k];
                }
            }
            for (int c = 0; c < 3; ++c) {
                *out++ = sum[c];
            }
        }
    }
    Thumbnail thumb{size, std::vector<uint8_t>(size_t(size.width) * size.height * 3)};
    const size_t rowFloats = size_t(size.width) * 3;
    for (int y = 0; y < size.height; ++y) {
        const Share& share = down[size_t(y)];
        for (size_t i = 0; i < rowFloats; ++i) {
            float sum = 0;
            for (size_t k = 0; k < share.weights.size(); ++k) {
                sum += rows[(size_t(share.first) + k) * rowFloats + i] * share.weights[k];
            }
            thumb.rgb[size_t(y) * rowFloats + i] = uint8_t(std::clamp(sum + 0.5f, 0.0f, 255.0f));
        }
    }
    return thumb;
}

// A photo's thumbnail from its 1/8 view (DC coefficients only, several times faster than any full
// decode); nullopt when the file is no JPEG of that kind or too small for it.
std::optional<Thumbnail> FromJpegEighth(const std::filesystem::path& path, Size size) {
    std::ifstream in(path, std::ios::binary);
    char magic[3] = {};
    if (!in.read(magic, 3) || magic[0] != '\xFF' || magic[1] != '\xD8' || magic[2] != '\xFF') {
        return std::nullopt;
    }
    in.seekg(0, std::ios::end);
    const std::streamoff length = in.tellg();
    if (length <= 0) {
        return std::nullopt;
    }
    std::vector<uint8_t> bytes;
    bytes.reserve(static_cast<size_t>(length) + kJpegEighthSlack); // decoded where it lies
    bytes.resize(static_cast<size_t>(length));
    in.seekg(0);
    in.read(reinterpret_cast<char*>(bytes.data()), length);
    bytes.resize(static_cast<size_t>(in.gcount()));
    const std::optional<JpegEighth> eighth = DecodeJpegEighth(std::move(bytes));
    if (!eighth) {
        return std::nullopt;
    }
    Thumbnail upright = Upright(*eighth);
    if (upright.size.width < size.width || upright.size.height < size.height) {
        return std::nullopt; // a small picture: the full decoder enlarges it properly
    }
    return AreaShrunk(upright, size);
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
    // A large photo is read from its DC coefficients alone; anything else through LoadAtLeast, which
    // decodes a JPEG at 1/2..1/8 of its size where it can. Either way photos come out upright.
    std::optional<Thumbnail> fast = FromJpegEighth(path, size);
    Thumbnail thumb = fast ? std::move(*fast)
                           : OverWhite(Picture::LoadAtLeast(path, size).Resized(size).EncodeRgba(), size);
    DrawThumbnailFrame(thumb);
    return thumb;
}

} // namespace imaging
