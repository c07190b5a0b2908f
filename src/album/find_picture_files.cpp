#include "album/find_picture_files.h"

#include <algorithm>
#include <cctype>
#include <system_error>

namespace album {

namespace fs = std::filesystem;

namespace {

std::string UpperAscii(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return text;
}

// The part of `name` from its last "." on, upper-cased; empty when there is no dot.
std::string UpperExtension(const std::string& name) {
    const size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : UpperAscii(name.substr(dot));
}

struct Listing {
    std::vector<fs::path> files;
    std::vector<fs::path> folders;
};

Listing ListFolder(const fs::path& folder) {
    Listing listing;
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    for (fs::directory_iterator end; !ec && it != end; it.increment(ec)) {
        const fs::directory_entry& entry = *it;
        std::error_code kind;
        if (entry.is_symlink(kind) && entry.is_directory(kind)) {
            continue;
        }
        if (entry.is_directory(kind)) {
            listing.folders.push_back(entry.path());
        } else {
            listing.files.push_back(entry.path());
        }
    }
    const auto byName = [](const fs::path& a, const fs::path& b) {
        return a.filename().native() < b.filename().native();
    };
    std::sort(listing.files.begin(), listing.files.end(), byName);
    std::sort(listing.folders.begin(), listing.folders.end(), byName);
    return listing;
}

} // namespace

bool MatchesExtensionList(const std::string& fileName, std::string_view extensions) {
    const std::string extension = UpperExtension(fileName);
    if (extension.empty()) {
        return false;
    }
    if (extensions == "*.*") {
        return true;
    }
    size_t start = 0;
    while (start <= extensions.size()) {
        size_t end = extensions.find(';', start);
        if (end == std::string_view::npos) {
            end = extensions.size();
        }
        const std::string entry(extensions.substr(start, end - start));
        const std::string wanted = UpperExtension(entry);
        if (!wanted.empty() && wanted == extension) {
            return true;
        }
        start = end + 1;
    }
    return false;
}

void FindPictureFiles(const fs::path& folder, std::vector<fs::path>* fileList,
                      std::vector<fs::path>* folderList, std::string_view extensions,
                      const std::string& prefix, const PathCallback& fileCallback,
                      const PathCallback& folderCallback) {
    const Listing listing = ListFolder(folder);
    for (const fs::path& file : listing.files) {
        if (!MatchesExtensionList(file.filename().string(), extensions)) {
            continue;
        }
        if (fileCallback) {
            fileCallback(file);
        }
        if (fileList) {
            fileList->push_back(file);
        }
    }
    for (const fs::path& sub : listing.folders) {
        if (folderList) {
            folderList->push_back(sub);
        }
        if (folderCallback) {
            folderCallback(sub);
        }
        FindPictureFiles(sub, fileList, folderList, extensions, prefix + sub.filename().string() + "/",
                         fileCallback, folderCallback);
    }
}

} // namespace album
