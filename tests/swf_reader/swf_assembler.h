// Hand-assembling SWF bytes for the reader's tests: byte and bit packing, tags and whole files.
#pragma once

#include "swf/tag_code.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <span>
#include <string>
#include <vector>
#include <zlib.h>

namespace swftest {

using Bytes = std::vector<uint8_t>;

class Asm {
public:
    Asm& u8(uint32_t v) {
        flush();
        out.push_back(uint8_t(v));
        return *this;
    }
    Asm& u16(uint32_t v) { return u8(v & 0xff).u8(v >> 8 & 0xff); }
    Asm& u32(uint32_t v) { return u16(v & 0xffff).u16(v >> 16); }
    Asm& str(const std::string& s) {
        for (char c : s) {
            u8(uint8_t(c));
        }
        return u8(0);
    }
    Asm& raw(std::span<const uint8_t> b) {
        flush();
        out.insert(out.end(), b.begin(), b.end());
        return *this;
    }
    Asm& raw(std::initializer_list<uint8_t> b) { return raw(std::span<const uint8_t>(b.begin(), b.size())); }
    // Bit fields, most significant bit first; the next byte-sized write starts a new byte.
    Asm& ub(uint32_t v, unsigned bits) {
        for (unsigned i = bits; i-- > 0;) {
            cur_ = uint8_t(cur_ << 1 | (v >> i & 1));
            if (++used_ == 8) {
                out.push_back(cur_);
                cur_ = 0;
                used_ = 0;
            }
        }
        return *this;
    }
    Asm& sb(int32_t v, unsigned bits) { return ub(uint32_t(v), bits); }
    Asm& flush() {
        if (used_ > 0) {
            out.push_back(uint8_t(cur_ << (8 - used_)));
            cur_ = 0;
            used_ = 0;
        }
        return *this;
    }
    // Offset of the next byte, for remembering where an id is written.
    size_t here() {
        flush();
        return out.size();
    }
    Asm& rect(int32_t x0, int32_t x1, int32_t y0, int32_t y1) {
        return ub(16, 5).sb(x0, 16).sb(x1, 16).sb(y0, 16).sb(y1, 16).flush();
    }
    // A matrix with only a translation.
    Asm& translate(int32_t x, int32_t y) { return ub(0, 1).ub(0, 1).ub(16, 5).sb(x, 16).sb(y, 16).flush(); }
    Asm& identity() { return ub(0, 1).ub(0, 1).ub(0, 5).flush(); }
    // A colour transform with alpha and nothing in it.
    Asm& no_cxform() { return ub(0, 1).ub(0, 1).ub(0, 4).flush(); }
    Bytes bytes() {
        flush();
        return out;
    }

    Bytes out;

private:
    uint8_t cur_ = 0;
    unsigned used_ = 0;
};

inline Bytes tag(swf::TagCode code, const Bytes& body, bool long_form = false) {
    Asm a;
    const uint32_t c = uint32_t(code) << 6;
    if (body.size() < 63 && !long_form) {
        a.u16(c | uint32_t(body.size()));
    } else {
        a.u16(c | 0x3f).u32(uint32_t(body.size()));
    }
    a.raw(body);
    return a.bytes();
}

inline Bytes tag(swf::TagCode code, Asm& body) {
    return tag(code, body.bytes());
}

inline Bytes compress(std::span<const uint8_t> data) {
    uLongf size = compressBound(uLong(data.size()));
    Bytes out(size);
    compress2(out.data(), &size, data.data(), uLong(data.size()), 9);
    out.resize(size);
    return out;
}

// A whole file: header (stage 550 x 400 px, 12 fps), the tags and an End tag.
inline Bytes movie(const std::vector<Bytes>& tags, uint8_t version = 6, bool compressed = false,
                   uint16_t frames = 1) {
    Asm body;
    body.rect(0, 11000, 0, 8000).u16(12 << 8).u16(frames);
    for (const Bytes& t : tags) {
        body.raw(t);
    }
    body.u16(0);
    const Bytes b = body.bytes();
    Asm file;
    file.raw({uint8_t(compressed ? 'C' : 'F'), 'W', 'S', version}).u32(uint32_t(8 + b.size()));
    if (compressed) {
        file.raw(compress(b));
    } else {
        file.raw(b);
    }
    return file.bytes();
}

inline uint16_t read16(std::span<const uint8_t> b, size_t at) {
    return uint16_t(b[at] | b[at + 1] << 8);
}

inline std::filesystem::path test_movie_path(const std::string& name) {
    const std::filesystem::path dir = std::filesystem::path(CW_TEST_BINARY_DIR) / "test-movies";
    std::filesystem::create_directories(dir);
    return dir / name;
}

inline void write_file(const std::filesystem::path& path, std::span<const uint8_t> bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

} // namespace swftest
