#include "swf/bit_writer.h"

#include <algorithm>
#include <initializer_list>

namespace swf::detail {

int count_ubits(uint32_t value) {
    int bits = 0;
    while (value != 0) {
        ++bits;
        value >>= 1;
    }
    return bits;
}

int count_sbits(int32_t value) {
    if (value == 0) {
        return 0;
    }
    // A negative value needs as many bits as its complement plus the sign bit.
    const uint32_t magnitude = value < 0 ? ~static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
    return count_ubits(magnitude) + 1;
}

void BitWriter::ubits(int count, uint32_t value) {
    // Whole bytes at a time: fewer than 8 bits are ever pending, so 8 + 32 bits fit the accumulator.
    const uint64_t field = count >= 32 ? value : value & ((uint64_t{1} << count) - 1);
    uint64_t acc = (uint64_t{pending_} << count) | field;
    int bits = pending_bits_ + count;
    while (bits >= 8) {
        bits -= 8;
        out_.push_back(static_cast<uint8_t>(acc >> bits));
    }
    pending_ = static_cast<uint32_t>(acc & ((uint64_t{1} << bits) - 1));
    pending_bits_ = bits;
}

void BitWriter::flush() {
    if (pending_bits_ > 0) {
        out_.push_back(static_cast<uint8_t>(pending_ << (8 - pending_bits_)));
        pending_ = 0;
        pending_bits_ = 0;
    }
}

void BitWriter::u8(uint8_t value) {
    flush();
    out_.push_back(value);
}

void BitWriter::u16(uint16_t value) {
    flush();
    out_.push_back(static_cast<uint8_t>(value));
    out_.push_back(static_cast<uint8_t>(value >> 8));
}

void BitWriter::u32(uint32_t value) {
    flush();
    for (int shift = 0; shift < 32; shift += 8) {
        out_.push_back(static_cast<uint8_t>(value >> shift));
    }
}

void BitWriter::bytes(std::span<const uint8_t> data) {
    flush();
    out_.insert(out_.end(), data.begin(), data.end());
}

void BitWriter::text(std::string_view data) {
    flush();
    out_.insert(out_.end(), data.begin(), data.end());
}

void BitWriter::rect(const Rect& rect) {
    flush();
    int bits = 0;
    for (Twips t : {rect.x_min, rect.x_max, rect.y_min, rect.y_max}) {
        bits = std::max(bits, count_sbits(t.value));
    }
    ubits(5, static_cast<uint32_t>(bits));
    for (Twips t : {rect.x_min, rect.x_max, rect.y_min, rect.y_max}) {
        sbits(bits, t.value);
    }
    flush();
}

void BitWriter::matrix(const Matrix& m) {
    flush();
    const bool has_scale = m.scale_x != Matrix::one || m.scale_y != Matrix::one;
    flag(has_scale);
    if (has_scale) {
        const int bits = std::max(count_sbits(m.scale_x), count_sbits(m.scale_y));
        ubits(5, static_cast<uint32_t>(bits));
        sbits(bits, m.scale_x);
        sbits(bits, m.scale_y);
    }
    const bool has_rotate = m.rotate_skew0 != 0 || m.rotate_skew1 != 0;
    flag(has_rotate);
    if (has_rotate) {
        const int bits = std::max(count_sbits(m.rotate_skew0), count_sbits(m.rotate_skew1));
        ubits(5, static_cast<uint32_t>(bits));
        sbits(bits, m.rotate_skew0);
        sbits(bits, m.rotate_skew1);
    }
    const int bits = std::max(count_sbits(m.translate_x.value), count_sbits(m.translate_y.value));
    ubits(5, static_cast<uint32_t>(bits));
    sbits(bits, m.translate_x.value);
    sbits(bits, m.translate_y.value);
    flush();
}

} // namespace swf::detail
