#include "swf/byte_reader.h"

#include "swf/error.h"

namespace swf {

void ByteReader::fail(const std::string& problem) const {
    const std::string where = " at offset " + std::to_string(file_offset());
    throw Error(what_ != nullptr ? std::string(what_) + ": " + problem + where : problem + where);
}

void ByteReader::need(size_t n) const {
    if (n > remaining()) {
        fail("unexpected end of data (" + std::to_string(n) + " bytes needed, " +
             std::to_string(remaining()) + " left)");
    }
}

void ByteReader::seek(size_t position) {
    if (position > data_.size()) {
        fail("offset " + std::to_string(position) + " out of range");
    }
    pos_ = position;
}

uint8_t ByteReader::u8() {
    need(1);
    return data_[pos_++];
}

uint16_t ByteReader::u16() {
    need(2);
    const auto v = static_cast<uint16_t>(data_[pos_] | (data_[pos_ + 1] << 8));
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

uint16_t ByteReader::u16_be() {
    need(2);
    const auto v = static_cast<uint16_t>((data_[pos_] << 8) | data_[pos_ + 1]);
    pos_ += 2;
    return v;
}

uint32_t ByteReader::u32_be() {
    const uint32_t high = u16_be();
    return (high << 16) | u16_be();
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

Rect ByteReader::rect() {
    BitReader bits(*this);
    const unsigned n = bits.ub(5);
    Rect r;
    r.x_min.value = bits.sb(n);
    r.x_max.value = bits.sb(n);
    r.y_min.value = bits.sb(n);
    r.y_max.value = bits.sb(n);
    return r;
}

ByteReader ByteReader::sub(size_t n) {
    const size_t start = file_offset();
    return ByteReader(bytes(n), start, what_);
}

uint32_t BitReader::ub(unsigned bits) {
    if (bits > 32) {
        bytes_.fail("bit field of " + std::to_string(bits) + " bits");
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
