// Writes bit fields most significant bit first, as SWF records pack them.
#pragma once

#include <cstdint>
#include <vector>

namespace swf::makefdb {

class BitWriter {
public:
    explicit BitWriter(std::vector<uint8_t>& out) : out_(out) {}
    ~BitWriter() { flush(); }

    void ub(uint32_t value, unsigned bits) {
        for (unsigned i = bits; i-- > 0;) {
            current_ = uint8_t(current_ << 1 | ((value >> i) & 1u));
            if (++used_ == 8) {
                out_.push_back(current_);
                current_ = 0;
                used_ = 0;
            }
        }
    }
    void sb(int32_t value, unsigned bits) { ub(uint32_t(value), bits); }
    // Pads the current byte with zero bits.
    void flush() {
        if (used_ > 0) {
            out_.push_back(uint8_t(current_ << (8 - used_)));
            current_ = 0;
            used_ = 0;
        }
    }

private:
    std::vector<uint8_t>& out_;
    uint8_t current_ = 0;
    unsigned used_ = 0;
};

// Bits a signed bit field needs to hold `value`.
inline unsigned signed_bits(int32_t value) {
    unsigned bits = 1;
    while (value < -(int64_t(1) << (bits - 1)) || value >= (int64_t(1) << (bits - 1))) {
        ++bits;
    }
    return bits;
}

} // namespace swf::makefdb
