// Bounds-checked little-endian reading of file formats this library loads (.fdb, .dbl, JPEG headers).
// Every read past the end throws swf::Error with the given context.
#pragma once

#include "swf/error.h"
#include "swf/matrix.h"

#include <cstdint>
#include <span>
#include <string>

namespace swf::detail {

class ByteReader {
public:
    ByteReader(std::span<const uint8_t> data, const char* what) : data_(data), what_(what) {}

    uint8_t u8();
    uint16_t u16();
    uint32_t u32();
    int16_t i16() { return static_cast<int16_t>(u16()); }
    uint16_t u16_be();
    uint32_t u32_be();
    std::span<const uint8_t> bytes(size_t count);
    Rect rect(); // a bit-packed RECT, ending on a byte boundary

    size_t position() const { return position_; }
    size_t remaining() const { return data_.size() - position_; }
    void seek(size_t position);
    [[noreturn]] void fail(const std::string& problem) const;

private:
    void need(size_t count) const;

    std::span<const uint8_t> data_;
    const char* what_;
    size_t position_ = 0;
};

} // namespace swf::detail
