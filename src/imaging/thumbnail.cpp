#include "imaging/thumbnail.h"

#include "imaging/error.h"
#include "imaging/exif_thumbnail.h"
#include "imaging/jpeg_shrunk.h"
#include "imaging/picture.h"

#include <algorithm>
#include <cstdlib>
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

// The stored picture turned upright by its EXIF orientation `o` (1..8).
Thumbnail Upright(const Thumbnail& stored, int o) {
    const int w = stored.size.width;
    const int h = stored.size.height;
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

// A photo's thumbnail from the small picture its camera embedded; nullopt when there is none, when it is
// smaller than `size` (it would be enlarged) or of another shape than the photo (cameras pad those with
// bars).
std::optional<Thumbnail> FromExifThumbnail(const std::filesystem::path& path, const PhotoExif& exif,
                                           Size size) {
    if (exif.thumbnail.empty()) {
        return std::nullopt;
    }
    try {
        const Picture small = Picture::LoadFromBuffer(exif.thumbnail);
        const Thumbnail upright = Upright(OverWhite(small.EncodeRgba(), small.size()), exif.orientation);
        const Size photo = Picture::Load(path).size(); // from the header, upright
        const Size own = upright.size;
        const long long skew = std::llabs(static_cast<long long>(own.width) * photo.height -
                                          static_cast<long long>(own.height) * photo.width);
        if (own.width < size.width || own.height < size.height ||
            skew * 50 > static_cast<long long>(own.height) * photo.width) { // more than 2% off
            return std::nullopt;
        }
        return AreaShrunk(upright, size);
    } catch (const Error&) {
        return std::nullopt; // a damaged thumbnail: the photo itself decides
    }
}

// The bytes of a file that starts like a JPEG; nullopt for any other file (not read further) and for a
// file that cannot be read.
std::optional<std::vector<uint8_t>> ReadJpegFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<uint8_t> bytes(3);
    if (!in.read(reinterpret_cast<char*>(bytes.data()), 3) || bytes[0] != 0xFF || bytes[1] != 0xD8 ||
        bytes[2] != 0xFF) {
        return std::nullopt;
    }
    in.seekg(0, std::ios::end);
    const std::streamoff length = in.tellg();
    in.seekg(0);
    if (length < 3) {
        return std::nullopt;
    }
    bytes.resize(static_cast<size_t>(length));
    if (!in.read(reinterpret_cast<char*>(bytes.data()), length)) {
        return std::nullopt;
    }
    return bytes;
}

// A JPEG photo decoded by libjpeg-turbo at 1/8 (or 1/4, 1/2) of its size, then shrunk by area averaging
// and turned upright; nullopt for what DecodeJpegShrunk leaves to the general loader.
std::optional<Thumbnail> FromShrunkJpeg(const std::filesystem::path& path, int orientation, Size size) {
    const std::optional<std::vector<uint8_t>> bytes = ReadJpegFile(path);
    if (!bytes) {
        return std::nullopt; // the general loader reads it or says why it cannot
    }
    const Size stored = orientation >= 5 ? Size{size.height, size.width} : size;
    std::optional<Thumbnail> decoded;
    try {
        decoded = DecodeJpegShrunk(*bytes, stored);
    } catch (const TooLargeError& e) {
        throw TooLargeError(e.size(), path.string());
    } catch (const Error& e) {
        throw Error("cannot read the picture " + path.string() + ": " + e.what());
    }
    if (!decoded) {
        return std::nullopt;
    }
    const Thumbnail shrunk = AreaShrunk(*decoded, stored);
    return orientation == 1 ? shrunk : Upright(shrunk, orientation);
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
    // A camera photo's own thumbnail where it has one, else a JPEG decoded shrunk by libjpeg-turbo; anything
    // else (other formats, CMYK JPEGs, small pictures) through the general loader. Photos come out upright.
    const PhotoExif exif = ReadPhotoExif(path);
    std::optional<Thumbnail> fast = FromExifThumbnail(path, exif, size);
    if (!fast) {
        fast = FromShrunkJpeg(path, exif.orientation, size);
    }
    Thumbnail thumb = fast ? std::move(*fast)
                           : OverWhite(Picture::LoadAtLeast(path, size).Resized(size).EncodeRgba(), size);
    DrawThumbnailFrame(thumb);
    return thumb;
}

} // namespace imaging
