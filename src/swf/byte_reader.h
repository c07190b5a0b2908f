// The one bounds-checked reader of the formats this library loads: SWF tags, .fdb fonts, .dbl bitmaps
// and JPEG headers. ByteReader reads byte-aligned fields (little-endian unless named _be), BitReader the
// bit-packed records. Reading past the end throws swf::Error naming the data and the file offset; nothing
// is ever read outside the data.
#pragma once

#include "swf/error.h"
#include "swf/matrix.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace swf {

class ByteReader {
public:
    // `base_offset` is where `data` starts in its file, so messages can name file offsets; `what` names
    // the data in messages ("font file").
    explicit ByteReader(std::span<const uint8_t> data, size_t base_offset = 0, const char* what = nullptr)
        : data_(data), what_(what), base_(base_offset) {}
    ByteReader(std::span<const uint8_t> data, const char* what) : ByteReader(data, 0, what) {}

    size_t position() const { return pos_; }
    size_t remaining() const { return data_.size() - pos_; }
    bool at_end() const { return pos_ == data_.size(); }
    size_t file_offset() const { return base_ + pos_; }
    void seek(size_t position);

    uint8_t u8();
    uint16_t u16();
    uint32_t u32();
    int16_t i16() { return static_cast<int16_t>(u16()); }
    uint16_t u16_be();
    uint32_t u32_be();
    std::span<const uint8_t> bytes(size_t n);
    void skip(size_t n) { bytes(n); }
    std::span<const uint8_t> rest() { return bytes(remaining()); }
    // A NUL-terminated string; the NUL is consumed and not returned.
    std::string string();
    // A bit-packed RECT, ending on a byte boundary.
    Rect rect();
    // The next `n` bytes as a reader of their own; this reader moves past them.
    ByteReader sub(size_t n);

    // Throws swf::Error with `problem`, the data's name and the current file offset.
    [[noreturn]] void fail(const std::string& problem) const;

private:
    void need(size_t n) const;

    std::span<const uint8_t> data_;
    const char* what_ = nullptr;
    size_t base_ = 0;
    size_t pos_ = 0;
};

// Reads bit fields most significant bit first, starting at the byte reader's position. Bytes are taken
// from the byte reader as they are needed; align() drops what is left of the current byte.
class BitReader {
public:
    explicit BitReader(ByteReader& bytes) : bytes_(bytes) {}

    uint32_t ub(unsigned bits);
    int32_t sb(unsigned bits);
    bool flag() { return ub(1) != 0; }
    void align() { left_ = 0; }

private:
    ByteReader& bytes_;
    uint8_t current_ = 0;
    unsigned left_ = 0; // bits of current_ not read yet
};

} // namespace swf
