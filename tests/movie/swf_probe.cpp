#include "movie/swf_probe.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace probe {

namespace {

struct Bits {
    const std::vector<uint8_t>& data;
    size_t pos = 0; // byte
    int bit = 0;    // bits used of data[pos]

    uint32_t ub(int n) {
        uint32_t v = 0;
        for (int i = 0; i < n; ++i) {
            if (pos >= data.size()) {
                throw std::runtime_error("bits past the end");
            }
            v = (v << 1) | ((data[pos] >> (7 - bit)) & 1);
            if (++bit == 8) {
                bit = 0;
                ++pos;
            }
        }
        return v;
    }
    int32_t sb(int n) {
        if (n == 0) {
            return 0;
        }
        uint32_t v = ub(n);
        if (v & (1u << (n - 1))) {
            v |= ~0u << n;
        }
        return int32_t(v);
    }
    void align() {
        if (bit != 0) {
            bit = 0;
            ++pos;
        }
    }
    uint8_t u8() {
        align();
        if (pos >= data.size()) {
            throw std::runtime_error("byte past the end");
        }
        return data[pos++];
    }
    uint16_t u16() {
        uint16_t lo = u8();
        return uint16_t(lo | (u8() << 8));
    }
    uint32_t u32() {
        uint32_t lo = u16();
        return lo | (uint32_t(u16()) << 16);
    }
};

struct Translate {
    double x = 0, y = 0;
};

Translate ReadMatrix(Bits& b) {
    b.align();
    if (b.ub(1)) {
        int n = int(b.ub(5));
        b.sb(n);
        b.sb(n);
    }
    if (b.ub(1)) {
        int n = int(b.ub(5));
        b.sb(n);
        b.sb(n);
    }
    int n = int(b.ub(5));
    Translate t;
    t.x = b.sb(n) / 20.0;
    t.y = b.sb(n) / 20.0;
    b.align();
    return t;
}

void ReadRect(Bits& b, double* out) {
    b.align();
    int n = int(b.ub(5));
    for (int i = 0; i < 4; ++i) {
        out[i] = b.sb(n) / 20.0;
    }
    b.align();
}

std::vector<Tag> ReadTags(Bits& b, size_t end) {
    std::vector<Tag> tags;
    while (b.pos < end) {
        uint16_t header = b.u16();
        Tag t;
        t.code = header >> 6;
        uint32_t len = header & 0x3F;
        if (len == 0x3F) {
            len = b.u32();
        }
        if (b.pos + len > end) {
            throw std::runtime_error("tag runs past the end");
        }
        t.body.assign(b.data.begin() + long(b.pos), b.data.begin() + long(b.pos + len));
        b.pos += len;
        const bool is_end = t.code == 0;
        tags.push_back(std::move(t));
        if (is_end) {
            break;
        }
    }
    return tags;
}

} // namespace

uint16_t Movie::kind(uint16_t character) const {
    auto it = definitions.find(character);
    return it == definitions.end() ? 0 : it->second.code;
}

std::vector<Placed> Movie::placed(size_t frame, uint16_t code) const {
    std::vector<Placed> out;
    for (const auto& [depth, item] : frames.at(frame).stage) {
        if (kind(item.character) == code) {
            out.push_back(item);
        }
    }
    return out;
}

Movie Parse(const std::vector<uint8_t>& bytes) {
    if (bytes.size() < 8 || bytes[0] != 'F' || bytes[1] != 'W' || bytes[2] != 'S') {
        throw std::runtime_error("not an uncompressed SWF");
    }
    Movie m;
    Bits b{bytes};
    b.pos = 3;
    m.version = b.u8();
    const uint32_t length = b.u32();
    if (length != bytes.size()) {
        throw std::runtime_error("file length field does not match");
    }
    double rect[4];
    ReadRect(b, rect);
    m.width = rect[1] - rect[0];
    m.height = rect[3] - rect[2];
    m.rate_fixed = b.u16();
    m.frame_count = b.u16();
    m.tags = ReadTags(b, bytes.size());

    Frame current;
    for (const Tag& t : m.tags) {
        Bits tb{t.body};
        switch (t.code) {
        case 1: // ShowFrame
            m.frames.push_back(current);
            current.actions.clear();
            break;
        case 12: // DoAction
            current.actions.push_back(t.body);
            break;
        case 26: { // PlaceObject2
            const uint8_t flags = tb.u8();
            const uint16_t depth = tb.u16();
            Placed& p = current.stage[depth];
            if (flags & 2) {
                p.character = tb.u16();
            }
            if (flags & 4) {
                Translate tr = ReadMatrix(tb);
                p.x = tr.x;
                p.y = tr.y;
            }
            break;
        }
        case 28: // RemoveObject2
            current.stage.erase(tb.u16());
            break;
        case 2:
        case 6:
        case 7:
        case 10:
        case 11:
        case 14:
        case 20:
        case 21:
        case 22:
        case 32:
        case 33:
        case 34:
        case 35:
        case 36:
        case 37:
        case 39:
        case 46:
        case 48:
            if (t.body.size() >= 2) {
                m.definitions[uint16_t(t.body[0] | (t.body[1] << 8))] = t;
            }
            break;
        default:
            break;
        }
    }
    return m;
}

Movie Read(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot open " + file.string());
    }
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return Parse(bytes);
}

std::vector<std::pair<uint8_t, uint16_t>> ButtonRecords(const std::vector<uint8_t>& body) {
    Bits b{body};
    b.u16(); // id
    b.u8();  // flags
    b.u16(); // action offset
    std::vector<std::pair<uint8_t, uint16_t>> out;
    for (;;) {
        const uint8_t flags = b.u8();
        if (flags == 0) {
            break;
        }
        const uint16_t id = b.u16();
        b.u16(); // depth
        ReadMatrix(b);
        // Colour transform with alpha: HasAdd, HasMult, Nbits, terms.
        b.align();
        const bool has_add = b.ub(1), has_mult = b.ub(1);
        const int n = int(b.ub(4));
        for (int i = 0; i < (has_mult ? 4 : 0) + (has_add ? 4 : 0); ++i) {
            b.sb(n);
        }
        b.align();
        out.emplace_back(uint8_t(flags & 15), id);
    }
    return out;
}

std::vector<std::pair<uint16_t, std::vector<uint8_t>>> ButtonActions(const std::vector<uint8_t>& body) {
    std::vector<std::pair<uint16_t, std::vector<uint8_t>>> out;
    if (body.size() < 5) {
        return out;
    }
    size_t pos = 3 + size_t(body[3] | (body[4] << 8)); // the offset counts from its own field
    if (pos == 3) {
        return out;
    }
    for (;;) {
        const size_t size = body.at(pos) | (body.at(pos + 1) << 8);
        const uint16_t cond = uint16_t(body.at(pos + 2) | (body.at(pos + 3) << 8));
        const size_t end = size == 0 ? body.size() : pos + size;
        out.emplace_back(cond, std::vector<uint8_t>(body.begin() + long(pos + 4), body.begin() + long(end)));
        if (size == 0) {
            break;
        }
        pos = end;
    }
    return out;
}

ShapeInfo ReadShape(const std::vector<uint8_t>& body) {
    Bits b{body};
    b.u16();
    double rect[4];
    ReadRect(b, rect);
    ShapeInfo info{rect[0], rect[1], rect[2], rect[3], {}, {}};
    int count = b.u8();
    if (count == 0xFF) {
        count = b.u16();
    }
    for (int i = 0; i < count; ++i) {
        const uint8_t type = b.u8();
        if (type == 0) {
            uint32_t rgba = 0;
            for (int k = 0; k < 4; ++k) {
                rgba = (rgba << 8) | b.u8();
            }
            info.solid_rgba.push_back(rgba);
        } else if (type >= 0x40 && type <= 0x43) {
            b.u16();
            ReadMatrix(b);
            info.bitmap_fills.push_back(type);
        } else {
            break; // gradients: not written by the builder
        }
    }
    return info;
}

std::vector<std::string> ActionStrings(const std::vector<uint8_t>& a) {
    std::vector<std::string> out;
    size_t pos = 0;
    while (pos < a.size()) {
        const uint8_t code = a[pos++];
        if (code == 0) {
            break;
        }
        if (code < 0x80) {
            continue;
        }
        if (pos + 2 > a.size()) {
            break;
        }
        const size_t len = a[pos] | (a[pos + 1] << 8);
        pos += 2;
        const size_t end = std::min(a.size(), pos + len);
        if (code == 0x96) { // Push
            size_t p = pos;
            while (p < end) {
                const uint8_t type = a[p++];
                if (type == 0) {
                    std::string s;
                    while (p < end && a[p] != 0) {
                        s += char(a[p++]);
                    }
                    ++p;
                    out.push_back(s);
                } else {
                    static const int sizes[] = {0, 4, 0, 0, 1, 1, 8, 4, 1, 2};
                    p += type < 10 ? size_t(sizes[type]) : end;
                }
            }
        } else if (code == 0x88) { // ConstantPool
            size_t p = pos + 2;
            while (p < end) {
                std::string s;
                while (p < end && a[p] != 0) {
                    s += char(a[p++]);
                }
                ++p;
                out.push_back(s);
            }
        } else if (code == 0x83) { // GetURL
            size_t p = pos;
            for (int k = 0; k < 2 && p < end; ++k) {
                std::string s;
                while (p < end && a[p] != 0) {
                    s += char(a[p++]);
                }
                ++p;
                out.push_back(s);
            }
        }
        pos = end;
    }
    return out;
}

} // namespace probe
