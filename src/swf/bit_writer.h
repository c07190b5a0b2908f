// Little-endian byte output with bit fields packed from the most significant bit, as the format
// stores them. Byte-sized writes first pad any started bit field to a whole byte.
#pragma once

#include "swf/matrix.h"

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace swf::detail {

// Bits needed for `value` as an unsigned / signed (two's complement) bit field.
int count_ubits(uint32_t value);
int count_sbits(int32_t value);

class BitWriter {
public:
    explicit BitWriter(std::vector<uint8_t>& out) : out_(out) {}
    ~BitWriter() { flush(); }
    BitWriter(const BitWriter&) = delete;
    BitWriter& operator=(const BitWriter&) = delete;

    void ubits(int count, uint32_t value);
    void sbits(int count, int32_t value) { ubits(count, static_cast<uint32_t>(value)); }
    void flag(bool value) { ubits(1, value ? 1 : 0); }
    void flush(); // pads the started byte with zero bits

    void u8(uint8_t value);
    void u16(uint16_t value);
    void u32(uint32_t value);
    void i16(int16_t value) { u16(static_cast<uint16_t>(value)); }
    void bytes(std::span<const uint8_t> data);
    void text(std::string_view data);

    void rect(const Rect& rect);
    void matrix(const Matrix& matrix);
    size_t size() const { return out_.size(); }

private:
    std::vector<uint8_t>& out_;
    uint32_t pending_ = 0;
    int pending_bits_ = 0;
};

} // namespace swf::detail
