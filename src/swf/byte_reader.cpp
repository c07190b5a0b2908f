#include "swf/byte_reader.h"

#include "swf/error.h"

namespace swf {

void ByteReader::need(size_t n) const {
    if (n > remaining()) {
        throw Error("unexpected end of data at offset " + std::to_string(file_offset()) + " (" +
                    std::to_string(n) + " bytes needed, " + std::to_string(remaining()) + " left)");
    }
}

uint8_t ByteReader::u8() {
    need(1);
    return data_[pos_++];
}

uint16_t ByteReader::u16() {
    need(2);
    const uint16_t v = uint16_t(data_[pos_] | (data_[pos_ + 1] << 8));
    pos_ += 2;
    return v;
}

uint32_t ByteReader::u32() {
    need(4);
    const uint32_t v = uint32_t(data_[pos_]) | uint32_t(data_[pos_ + 1]) << 8 |
                       uint32_t(data_[pos_ + 2]) << 16 | uint32_t(data_[pos_ + 3]) << 24;
    pos_ += 4;
    return v;
}

std::span<const uint8_t> ByteReader::bytes(size_t n) {
    need(n);
    auto out = data_.subspan(pos_, n);
    pos_ += n;
    return out;
}

std::string ByteReader::string() {
    std::string out;
    for (;;) {
        const uint8_t c = u8();
        if (c == 0) {
            return out;
        }
        out.push_back(char(c));
    }
}

ByteReader ByteReader::sub(size_t n) {
    const size_t start = file_offset();
    return ByteReader(bytes(n), start);
}

uint32_t BitReader::ub(unsigned bits) {
    if (bits > 32) {
        throw Error("bit field of " + std::to_string(bits) + " bits at offset " +
                    std::to_string(bytes_.file_offset()));
    }
    uint64_t v = 0;
    for (unsigned i = 0; i < bits; ++i) {
        if (left_ == 0) {
            current_ = bytes_.u8();
            left_ = 8;
        }
        --left_;
        v = (v << 1) | ((current_ >> left_) & 1u);
    }
    return uint32_t(v);
}

int32_t BitReader::sb(unsigned bits) {
    const uint32_t v = ub(bits);
    if (bits == 0 || bits >= 32) {
        return int32_t(v);
    }
    const uint32_t sign = 1u << (bits - 1);
    return int32_t((v ^ sign) - sign);
}

} // namespace swf

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
