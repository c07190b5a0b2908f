#include "app/asset_path.h"

#include <algorithm>
#include <cctype>

namespace app {

namespace {

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

// The entry of `folder` named `name`: exactly, else the first found without regard to case.
std::filesystem::path FindEntry(const std::filesystem::path& folder, const std::string& name) {
    std::error_code ec;
    if (std::filesystem::exists(folder / name, ec)) {
        return folder / name;
    }
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
        if (SameIgnoringCase(entry.path().filename().string(), name)) {
            return entry.path();
        }
    }
    return folder / name;
}

} // namespace

bool IsAbsoluteReference(std::string_view ref) {
    return ref.find(':') != std::string_view::npos || (!ref.empty() && ref.front() == '/');
}

std::filesystem::path ResolveReference(const std::filesystem::path& root, std::string_view ref) {
    if (IsAbsoluteReference(ref)) {
        return std::filesystem::path(std::string(ref));
    }
    std::filesystem::path result = root;
    size_t start = 0;
    while (start <= ref.size()) {
        size_t end = ref.find_first_of("\\/", start);
        if (end == std::string_view::npos) {
            end = ref.size();
        }
        const std::string part(ref.substr(start, end - start));
        if (!part.empty() && part != ".") {
            result = FindEntry(result, part);
        }
        start = end + 1;
    }
    return result;
}

} // namespace app
