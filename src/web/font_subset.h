// The gift's faces cut down to the characters a page shows (HarfBuzz's subsetter), as WOFF2 where the
// woff2 library is part of the build, else as TrueType.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace web {

class WebError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct FaceMetrics {
    double ascender = 0;  // in EM units (the browser's line box: hhea, or OS/2 typo when the font says so)
    double descender = 0; // positive, below the baseline
    double units_per_em = 1000;
};

class FontFile {
public:
    // Throws WebError when the file cannot be read as a font.
    explicit FontFile(const std::filesystem::path& path);
    ~FontFile();
    FontFile(const FontFile&) = delete;
    FontFile& operator=(const FontFile&) = delete;

    bool Has(char32_t c) const;
    FaceMetrics Metrics() const;
    // The font holding only `characters` (and what shaping them needs), hinting left out.
    std::vector<uint8_t> Subset(const std::set<char32_t>& characters) const;

private:
    struct Impl;
    Impl* impl_;
};

struct WebFont {
    std::vector<uint8_t> bytes;
    std::string mime;   // "font/woff2" or "font/ttf"
    std::string format; // the @font-face format() hint
};

// `sfnt` as WOFF2 when the library is there and takes it, else unchanged as TrueType.
WebFont Package(std::vector<uint8_t> sfnt);

} // namespace web
