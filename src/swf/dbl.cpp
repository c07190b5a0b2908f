#include "swf/dbl.h"

#include "swf/byte_reader.h"
#include "swf/writer.h"

#include <zlib.h>

namespace swf {

DefineBitsLossless read_dbl(std::span<const uint8_t> file) {
    ByteReader in(file, "DBL bitmap");
    if (in.u8() != 'D' || in.u8() != 'B') {
        in.fail("not a DBL file");
    }
    const uint8_t form = in.u8();
    if (form != 'l' && form != 'L') {
        in.fail("unknown DBL form");
    }
    const uint8_t type = in.u8();
    if (type != 1 && type != 2) {
        in.fail("unknown DBL bitmap type " + std::to_string(type));
    }
    size_t length = form == 'l' ? in.u32_be() : in.u16_be();
    // Some writers count the 2-byte character id the file leaves out.
    if (length == in.remaining() + 2) {
        length = in.remaining();
    }
    ByteReader body(in.bytes(length), "DBL bitmap");

    DefineBitsLossless bitmap;
    bitmap.version = type;
    bitmap.format = body.u8();
    if (bitmap.format != 3 && bitmap.format != 4 && bitmap.format != 5) {
        body.fail("unknown bitmap format " + std::to_string(bitmap.format));
    }
    bitmap.width = body.u16();
    bitmap.height = body.u16();
    if (bitmap.width == 0 || bitmap.height == 0) {
        body.fail("empty bitmap");
    }
    if (bitmap.format == 3) {
        bitmap.palette_size_minus_one = body.u8();
    }
    const auto data = body.bytes(body.remaining());
    if (data.empty()) {
        body.fail("no pixel data");
    }
    bitmap.zlib_data.assign(data.begin(), data.end());
    return bitmap;
}

std::vector<uint8_t> write_dbl(const DefineBitsLossless& bitmap) {
    const std::vector<uint8_t> tag_body = write_tag_body(bitmap);
    const size_t length = tag_body.size() - 2; // without the id
    std::vector<uint8_t> file;
    file.reserve(8 + length);
    file.push_back('D');
    file.push_back('B');
    file.push_back(length > 0xFFFF ? 'l' : 'L');
    file.push_back(bitmap.version);
    if (length > 0xFFFF) {
        for (int shift = 24; shift >= 0; shift -= 8) {
            file.push_back(static_cast<uint8_t>(length >> shift));
        }
    } else {
        file.push_back(static_cast<uint8_t>(length >> 8));
        file.push_back(static_cast<uint8_t>(length));
    }
    file.insert(file.end(), tag_body.begin() + 2, tag_body.end());
    return file;
}

DefineBitsLossless lossless_from_rgba(uint16_t width, uint16_t height, std::span<const uint8_t> rgba,
                                      bool with_alpha) {
    const size_t pixels = size_t{width} * height;
    if (rgba.size() != pixels * 4) {
        throw Error("pixel data does not match the bitmap size");
    }
    std::vector<uint8_t> argb(pixels * 4);
    for (size_t i = 0; i < pixels; ++i) {
        const uint8_t a = with_alpha ? rgba[i * 4 + 3] : 255;
        argb[i * 4] = a;
        for (int c = 0; c < 3; ++c) {
            argb[i * 4 + 1 + c] = static_cast<uint8_t>(rgba[i * 4 + c] * a / 255);
        }
    }
    DefineBitsLossless bitmap;
    bitmap.version = with_alpha ? 2 : 1;
    bitmap.format = 5;
    bitmap.width = width;
    bitmap.height = height;
    uLongf size = compressBound(static_cast<uLong>(argb.size()));
    bitmap.zlib_data.resize(size);
    if (compress2(bitmap.zlib_data.data(), &size, argb.data(), static_cast<uLong>(argb.size()), 9) != Z_OK) {
        throw Error("compressing the bitmap failed");
    }
    bitmap.zlib_data.resize(size);
    return bitmap;
}

} // namespace swf
