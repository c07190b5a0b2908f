// Builds archive bytes by hand for tests: little-endian numbers, short strings and class records.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace model::test {

struct Bytes {
    std::vector<uint8_t> v;

    Bytes& U8(uint8_t x) {
        v.push_back(x);
        return *this;
    }
    Bytes& U16(uint16_t x) { return U8(uint8_t(x)).U8(uint8_t(x >> 8)); }
    Bytes& U32(uint32_t x) { return U16(uint16_t(x)).U16(uint16_t(x >> 16)); }
    Bytes& I32(int32_t x) { return U32(uint32_t(x)); }
    Bytes& Raw(const std::string& s) {
        v.insert(v.end(), s.begin(), s.end());
        return *this;
    }
    Bytes& Str(const std::string& s) { return U8(uint8_t(s.size())).Raw(s); } // shorter than 255
    Bytes& Class(const std::string& name, uint16_t schema) {
        return U16(0xFFFF).U16(schema).U16(uint16_t(name.size())).Raw(name);
    }
    Bytes& Append(const Bytes& other) {
        v.insert(v.end(), other.v.begin(), other.v.end());
        return *this;
    }
};

// The fields of a card up to its CLinks.
inline Bytes CardFields(const std::string& title = "T") {
    Bytes b;
    b.I32(0).Str(title).Str("#000000").Str("C").Str("#000000").Str("#FFFFFF").I32(4).I32(1).I32(0);
    return b;
}

// Link fields.
inline Bytes LinkFields(const std::string& title = "L") {
    Bytes b;
    b.Str(title).I32(1).I32(2).Str(">").I32(3).I32(0);
    return b;
}

// The settings items.
inline Bytes SettingsFields() {
    Bytes b;
    b.Str("A").Str("e@x").Str("#FFFFFF").I32(4).Str("#2781c4").Str("#000000").Str("").I32(1).I32(1);
    b.I32(640).I32(480).Str("").I32(0).Str("Sans");
    return b;
}

} // namespace model::test
