#include "publish/zip_folder.h"

#include <algorithm>
#include <system_error>
#include <vector>

namespace publish {

namespace {

// The folder's entries sorted by name; nullopt with `error` set when it cannot be listed.
std::optional<std::vector<std::filesystem::directory_entry>> list_folder(const std::filesystem::path& folder,
                                                                         std::error_code& error) {
    std::vector<std::filesystem::directory_entry> entries;
    std::filesystem::directory_iterator it(folder, error);
    for (; !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
        entries.push_back(*it);
    }
    if (error) {
        return std::nullopt;
    }
    std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
        return a.path().filename().native() < b.path().filename().native();
    });
    return entries;
}

void add_content(CZipWriter& writer, const std::vector<std::filesystem::directory_entry>& entries) {
    for (const std::filesystem::directory_entry& entry : entries) {
        std::error_code ec;
        const bool is_link = entry.is_symlink(ec);
        const bool is_folder = entry.is_directory(ec); // follows a link
        if (is_folder && is_link) {
            writer.add_skipped(entry.path(), "a link to a folder is not followed");
            continue;
        }
        if (!is_folder) {
            writer.add_file(entry.path(), kZipDefaultLevel, kZipReadBufferSize);
            continue;
        }
        writer.add_file(entry.path(), kZipStored, kZipReadBufferSize);
        auto content = list_folder(entry.path(), ec);
        if (!content) {
            writer.add_skipped(entry.path(), "its content cannot be listed: " + ec.message());
            continue;
        }
        add_content(writer, *content);
    }
}

} // namespace

void AddFolderToZip(CZipWriter& writer, const std::filesystem::path& folder) {
    std::error_code ec;
    auto content = list_folder(folder, ec);
    if (!content) {
        throw CZipException(folder.string() + ": " + ec.message());
    }
    add_content(writer, *content);
}

} // namespace publish
