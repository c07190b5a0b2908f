// The faces of a web page: the gift's title and body faces cut to the characters each shows, and the
// fallback faces the movie would draw the other characters from, as @font-face rules.
#pragma once

#include "web/font_subset.h"

#include <filesystem>
#include <set>
#include <string>
#include <string_view>

namespace web {

// The font files of the gift's faces (each .fdb has the font it was made from beside it, as .ttf).
struct FaceFiles {
    std::filesystem::path title;
    std::filesystem::path body;
};
// The faces the gift builder loads for the project's face `face` from the Font folder.
FaceFiles FacesOf(const std::string& face, const std::filesystem::path& folder);

struct Face {
    std::string family;
    FaceMetrics metrics;
};

struct PageFonts {
    std::string css; // the @font-face rules
    Face title;
    Face body;
    std::string fallbackFamilies; // ",cwf0,cwf1" for the fallback faces in use
};

// Adds the characters of UTF-8 `text` (controls left out).
void AddCharacters(std::set<char32_t>& set, std::string_view text);

// The faces cut to `titleChars` and `bodyChars`; characters neither has come from the first face of
// `fallbackFolder` (by name) that has them. Throws WebError when a face of the gift cannot be read.
PageFonts MakeFonts(const FaceFiles& files, const std::filesystem::path& fallbackFolder,
                    const std::set<char32_t>& titleChars, const std::set<char32_t>& bodyChars);

} // namespace web
