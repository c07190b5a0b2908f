#include "swf/jpeg_info.h"

#include "swf/byte_reader.h"

namespace swf::detail {

namespace {

bool is_frame_header(uint8_t marker) {
    // SOF0..SOF15, except DHT (C4), JPG (C8) and DAC (CC).
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

} // namespace

JpegSize jpeg_size(std::span<const uint8_t> jpeg) {
    ByteReader in(jpeg, "JPEG picture");
    if (in.u8() != 0xFF || in.u8() != 0xD8) {
        in.fail("not a JPEG file");
    }
    while (true) {
        if (in.u8() != 0xFF) {
            in.fail("broken marker");
        }
        uint8_t marker = in.u8();
        while (marker == 0xFF) { // fill bytes
            marker = in.u8();
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            continue; // markers without a segment
        }
        if (marker == 0xD9 || marker == 0xDA) {
            in.fail("no frame header before the image data");
        }
        const uint16_t length = in.u16_be();
        if (length < 2) {
            in.fail("bad segment length");
        }
        if (is_frame_header(marker)) {
            in.u8(); // sample precision
            JpegSize size;
            size.height = in.u16_be();
            size.width = in.u16_be();
            if (size.width == 0 || size.height == 0) {
                in.fail("empty picture");
            }
            return size;
        }
        in.bytes(length - 2);
    }
}

} // namespace swf::detail
