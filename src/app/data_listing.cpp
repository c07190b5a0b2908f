#include "app/data_listing.h"

#include "app/asset_path.h"

#include <algorithm>
#include <cctype>
#include <system_error>

namespace app {

namespace fs = std::filesystem;

namespace {

std::string Lower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

// Regular files directly inside `folder` (found without regard to case), sorted by name.
std::vector<std::string> FileNames(const fs::path& dataRoot, std::string_view folder) {
    std::vector<std::string> names;
    std::error_code ec;
    const fs::path dir = ResolveReference(dataRoot, folder);
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code kindError;
        if (it->is_regular_file(kindError)) {
            names.push_back(it->path().filename().string());
        }
    }
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const std::string la = Lower(a);
        const std::string lb = Lower(b);
        return la != lb ? la < lb : a < b;
    });
    return names;
}

bool EndsWith(std::string_view text, std::string_view tail) {
    return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

} // namespace

std::string LowerTail3(std::string_view name) {
    return Lower(name.size() >= 3 ? name.substr(name.size() - 3) : name);
}

std::vector<ThemeEntry> ListThemes(const fs::path& dataRoot) {
    std::vector<ThemeEntry> themes;
    for (const std::string& name : FileNames(dataRoot, "Themes")) {
        if (name.size() > 4 && Lower(name).ends_with(".cwp")) {
            const std::string title = name.substr(0, name.size() - 4);
            themes.push_back({title, ResolveReference(dataRoot, "Themes") / name});
        }
    }
    return themes;
}

fs::path ThemePath(const fs::path& dataRoot, const std::string& title) {
    return ResolveReference(dataRoot, "Themes") / (title + ".cwp");
}

std::vector<std::string> ListFontFaces(const fs::path& dataRoot) {
    std::vector<std::string> faces;
    for (const std::string& name : FileNames(dataRoot, "Font")) {
        if (name.size() > 4 && name.front() != '_' && EndsWith(name, ".fdb")) {
            faces.push_back(name.substr(0, name.size() - 4));
        }
    }
    return faces;
}

std::vector<MusicSample> ListMusicSamples(const fs::path& dataRoot) {
    std::vector<MusicSample> samples;
    for (const std::string& name : FileNames(dataRoot, "Music")) {
        if (EndsWith(name, "db")) {
            continue;
        }
        const std::string type = LowerTail3(name);
        if (type == "mp3" || type == "swf") {
            samples.push_back({name, type});
        }
    }
    return samples;
}

} // namespace app
