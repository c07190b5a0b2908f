#include "publish/file_manager.h"

namespace publish {

std::string FileUri(const std::filesystem::path& path) {
    const std::string text = std::filesystem::absolute(path).lexically_normal().string();
    std::string uri = "file://";
    constexpr char kHex[] = "0123456789ABCDEF";
    for (unsigned char c : text) {
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                           c == '-' || c == '.' || c == '_' || c == '~' || c == '/';
        if (plain) {
            uri += char(c);
        } else {
            uri += '%';
            uri += kHex[c >> 4];
            uri += kHex[c & 15];
        }
    }
    return uri;
}

std::filesystem::path FolderToOpen(const std::filesystem::path& file) {
    return std::filesystem::absolute(file).lexically_normal().parent_path();
}

} // namespace publish
