#include "swf/byte_reader.h"

namespace swf::detail {

void ByteReader::need(size_t count) const {
    if (count > remaining()) {
        fail("truncated");
    }
}

void ByteReader::fail(const std::string& problem) const {
    throw Error(std::string(what_) + ": " + problem + " at byte " + std::to_string(position_));
}

uint8_t ByteReader::u8() {
    need(1);
    return data_[position_++];
}

uint16_t ByteReader::u16() {
    need(2);
    const auto value = static_cast<uint16_t>(data_[position_] | (data_[position_ + 1] << 8));
    position_ += 2;
    return value;
}

uint32_t ByteReader::u32() {
    const uint32_t low = u16();
    const uint32_t high = u16();
    return low | (high << 16);
}

uint16_t ByteReader::u16_be() {
    need(2);
    const auto value = static_cast<uint16_t>((data_[position_] << 8) | data_[position_ + 1]);
    position_ += 2;
    return value;
}

uint32_t ByteReader::u32_be() {
    const uint32_t high = u16_be();
    const uint32_t low = u16_be();
    return (high << 16) | low;
}

std::span<const uint8_t> ByteReader::bytes(size_t count) {
    need(count);
    auto part = data_.subspan(position_, count);
    position_ += count;
    return part;
}

void ByteReader::seek(size_t position) {
    if (position > data_.size()) {
        fail("offset " + std::to_string(position) + " out of range");
    }
    position_ = position;
}

Rect ByteReader::rect() {
    uint32_t pending = 0;
    int pending_bits = 0;
    auto take = [&](int count) {
        uint32_t value = 0;
        for (int i = 0; i < count; ++i) {
            if (pending_bits == 0) {
                pending = u8();
                pending_bits = 8;
            }
            --pending_bits;
            value = (value << 1) | ((pending >> pending_bits) & 1u);
        }
        return value;
    };
    const int bits = static_cast<int>(take(5));
    auto signed_value = [&]() {
        if (bits == 0) {
            return int32_t{0};
        }
        uint32_t value = take(bits);
        if (bits < 32 && (value & (1u << (bits - 1)))) {
            value |= ~((1u << bits) - 1); // sign-extend
        }
        return static_cast<int32_t>(value);
    };
    Rect r;
    r.x_min.value = signed_value();
    r.x_max.value = signed_value();
    r.y_min.value = signed_value();
    r.y_max.value = signed_value();
    return r;
}

} // namespace swf::detail
