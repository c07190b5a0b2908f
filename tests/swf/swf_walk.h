// A deliberately small SWF walker for the writer tests: it splits a written file into its header
// fields and its tags, independently of the library's own reader.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace swf_test {

struct WalkedTag {
    uint16_t code = 0;
    bool long_header = false;
    std::vector<uint8_t> body;
};

struct WalkedMovie {
    std::string signature;
    uint8_t version = 0;
    uint32_t file_length = 0;
    uint16_t frame_rate = 0;
    uint16_t frame_count = 0;
    int32_t stage_width_twips = 0;
    int32_t stage_height_twips = 0;
    std::vector<WalkedTag> tags;

    std::vector<uint16_t> codes() const {
        std::vector<uint16_t> out;
        for (const auto& tag : tags) {
            out.push_back(tag.code);
        }
        return out;
    }
    int count(uint16_t code) const {
        int n = 0;
        for (const auto& tag : tags) {
            n += tag.code == code ? 1 : 0;
        }
        return n;
    }
};

inline uint16_t u16_at(const std::vector<uint8_t>& b, size_t at) {
    return static_cast<uint16_t>(b.at(at) | (b.at(at + 1) << 8));
}

inline WalkedMovie walk(const std::vector<uint8_t>& file) {
    WalkedMovie movie;
    if (file.size() < 8) {
        throw std::runtime_error("too short");
    }
    movie.signature.assign(file.begin(), file.begin() + 3);
    movie.version = file[3];
    movie.file_length = file[4] | (file[5] << 8) | (file[6] << 16) | (uint32_t{file[7]} << 24);
    std::vector<uint8_t> rest;
    if (movie.signature == "CWS") {
        rest.resize(movie.file_length - 8);
        uLongf size = static_cast<uLongf>(rest.size());
        if (uncompress(rest.data(), &size, file.data() + 8, static_cast<uLong>(file.size() - 8)) != Z_OK ||
            size != rest.size()) {
            throw std::runtime_error("bad zlib data or length");
        }
    } else {
        rest.assign(file.begin() + 8, file.end());
        if (file.size() != movie.file_length) {
            throw std::runtime_error("length mismatch");
        }
    }
    // RECT: 5-bit width, then x_min, x_max, y_min, y_max.
    const int nbits = rest.at(0) >> 3;
    auto bit = [&](size_t i) { return (rest.at(i / 8) >> (7 - i % 8)) & 1; };
    auto field = [&](size_t start) {
        int32_t v = 0;
        for (int i = 0; i < nbits; ++i) {
            v = (v << 1) | bit(start + i);
        }
        if (nbits > 0 && (v & (1 << (nbits - 1)))) {
            v -= 1 << nbits;
        }
        return v;
    };
    movie.stage_width_twips = field(5 + nbits) - field(5);
    movie.stage_height_twips = field(5 + 3 * nbits) - field(5 + 2 * nbits);
    size_t at = (5 + 4 * nbits + 7) / 8;
    movie.frame_rate = u16_at(rest, at);
    movie.frame_count = u16_at(rest, at + 2);
    at += 4;
    while (at < rest.size()) {
        const uint16_t header = u16_at(rest, at);
        at += 2;
        WalkedTag tag;
        tag.code = header >> 6;
        size_t length = header & 0x3F;
        if (length == 0x3F) {
            tag.long_header = true;
            length = u16_at(rest, at) | (size_t{u16_at(rest, at + 2)} << 16);
            at += 4;
        }
        if (at + length > rest.size()) {
            throw std::runtime_error("tag runs past the end");
        }
        tag.body.assign(rest.begin() + static_cast<std::ptrdiff_t>(at),
                        rest.begin() + static_cast<std::ptrdiff_t>(at + length));
        at += length;
        movie.tags.push_back(std::move(tag));
        if (movie.tags.back().code == 0) {
            break;
        }
    }
    if (at != rest.size()) {
        throw std::runtime_error("bytes after the End tag");
    }
    return movie;
}

// Saves a movie where the independent parser check picks it up.
inline void save_test_movie(const std::vector<uint8_t>& file, const std::string& name) {
    const std::filesystem::path dir = std::filesystem::path(CW_TEST_BINARY_DIR) / "test-movies";
    std::filesystem::create_directories(dir);
    std::ofstream out(dir / name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
}

} // namespace swf_test

namespace swf_test {

// Reads bit fields the way the format packs them (most significant bit first).
class BitCursor {
public:
    BitCursor(const std::vector<uint8_t>& bytes, size_t byte_offset) : bytes_(bytes), bit_(byte_offset * 8) {}
    uint32_t u(int count) {
        uint32_t v = 0;
        for (int i = 0; i < count; ++i, ++bit_) {
            v = (v << 1) | ((bytes_.at(bit_ / 8) >> (7 - bit_ % 8)) & 1u);
        }
        return v;
    }
    int32_t s(int count) {
        uint32_t v = u(count);
        if (count > 0 && (v & (1u << (count - 1)))) {
            v |= ~((1u << count) - 1);
        }
        return static_cast<int32_t>(v);
    }
    void align() { bit_ = (bit_ + 7) / 8 * 8; }
    size_t byte() const { return bit_ / 8; }
    void skip_bytes(size_t n) { bit_ += n * 8; }
    uint8_t u8() {
        align();
        return static_cast<uint8_t>(u(8));
    }
    uint16_t u16() {
        const uint16_t low = u8();
        return static_cast<uint16_t>(low | (u8() << 8));
    }
    void skip_rect() {
        align();
        const int n = static_cast<int>(u(5));
        u(4 * n);
        align();
    }
    // Returns the translation of a MATRIX.
    std::pair<int32_t, int32_t> matrix() {
        align();
        if (u(1)) {
            const int n = static_cast<int>(u(5));
            u(2 * n);
        }
        if (u(1)) {
            const int n = static_cast<int>(u(5));
            u(2 * n);
        }
        const int n = static_cast<int>(u(5));
        const int32_t x = s(n);
        const int32_t y = s(n);
        align();
        return {x, y};
    }

private:
    const std::vector<uint8_t>& bytes_;
    size_t bit_;
};

struct TextGlyphs {
    std::vector<uint16_t> font_ids;
    std::vector<uint32_t> indices;
    std::vector<int32_t> advances;
    // Per record: its x and y offsets (INT32_MIN when the record sets none) and its glyph count.
    std::vector<int32_t> x_offsets;
    std::vector<int32_t> y_offsets;
    std::vector<int> counts;
};

// The glyph entries of a DefineText2 body.
inline TextGlyphs text_glyphs(const std::vector<uint8_t>& body) {
    BitCursor c(body, 2);
    c.skip_rect();
    c.matrix();
    const int glyph_bits = c.u8();
    const int advance_bits = c.u8();
    TextGlyphs out;
    while (true) {
        const uint8_t flags = c.u8();
        if (flags == 0) {
            break;
        }
        if (flags & 0x08) {
            out.font_ids.push_back(c.u16());
        }
        if (flags & 0x04) {
            c.skip_bytes(4);
        }
        out.x_offsets.push_back((flags & 0x01) ? int16_t(c.u16()) : INT32_MIN);
        out.y_offsets.push_back((flags & 0x02) ? int16_t(c.u16()) : INT32_MIN);
        if (flags & 0x08) {
            c.u16();
        }
        const int count = c.u8();
        out.counts.push_back(count);
        for (int i = 0; i < count; ++i) {
            out.indices.push_back(c.u(glyph_bits));
            out.advances.push_back(c.s(advance_bits));
        }
        c.align();
    }
    return out;
}

} // namespace swf_test
