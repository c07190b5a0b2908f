#include "web/page_fonts.h"

#include "swf/utf8.h"
#include "web/page_text.h"

#include <algorithm>
#include <system_error>
#include <vector>

namespace web {

namespace fs = std::filesystem;

namespace {

bool IsFile(const fs::path& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

std::string FontFace(const std::string& family, std::vector<uint8_t> sfnt) {
    const WebFont font = Package(std::move(sfnt));
    return "@font-face{font-family:" + family + ";src:url(" + DataUrl(font.mime, font.bytes) + ") format(\"" +
           font.format + "\")}\n";
}

} // namespace

FaceFiles FacesOf(const std::string& face, const fs::path& folder) {
    if (!face.empty() && IsFile(folder / (face + ".fdb"))) {
        const fs::path body = folder / (face + ".ttf");
        return {IsFile(folder / ("_" + face + ".fdb")) ? folder / ("_" + face + ".ttf") : body, body};
    }
    return {folder / "_Sans.ttf", folder / "Sans.ttf"};
}

void AddCharacters(std::set<char32_t>& set, std::string_view text) {
    for (char32_t c : swf::detail::decode_utf8(text)) {
        if (c >= 0x20) {
            set.insert(c);
        }
    }
}

PageFonts MakeFonts(const FaceFiles& files, const fs::path& fallbackFolder,
                    const std::set<char32_t>& titleChars, const std::set<char32_t>& bodyChars) {
    PageFonts fonts;
    const FontFile title(files.title);
    const FontFile body(files.body);
    fonts.title = {"cwt", title.Metrics()};
    fonts.body = {"cwb", body.Metrics()};
    fonts.css += FontFace("cwt", title.Subset(titleChars));
    fonts.css += FontFace("cwb", body.Subset(bodyChars));

    // Characters neither face has come from the first fallback face that has them, as in the movie.
    std::set<char32_t> missing;
    for (char32_t c : titleChars) {
        if (!title.Has(c))
            missing.insert(c);
    }
    for (char32_t c : bodyChars) {
        if (!body.Has(c))
            missing.insert(c);
    }
    if (missing.empty()) {
        return fonts;
    }
    std::vector<fs::path> fallbacks;
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(fallbackFolder, ec)) {
        if (entry.path().extension() == ".ttf") {
            fallbacks.push_back(entry.path());
        }
    }
    std::sort(fallbacks.begin(), fallbacks.end());
    int n = 0;
    for (const fs::path& path : fallbacks) {
        if (missing.empty()) {
            break;
        }
        try {
            const FontFile face(path);
            std::set<char32_t> chars;
            for (char32_t c : missing) {
                if (face.Has(c))
                    chars.insert(c);
            }
            if (chars.empty()) {
                continue;
            }
            for (char32_t c : chars) {
                missing.erase(c);
            }
            const std::string family = "cwf" + std::to_string(n++);
            fonts.css += FontFace(family, face.Subset(chars));
            fonts.fallbackFamilies += "," + family;
        } catch (const WebError&) {
            // An unreadable fallback face is skipped; its characters may come from the next one.
        }
    }
    return fonts;
}

} // namespace web
