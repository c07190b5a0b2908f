// Showing a file in the desktop's file manager: the file manager's ShowItems call over D-Bus
// (org.freedesktop.FileManager1) takes file URIs; where no file manager answers, the folder is opened.
#pragma once

#include <filesystem>
#include <string>

namespace publish {

inline constexpr const char* kFileManagerService = "org.freedesktop.FileManager1";
inline constexpr const char* kFileManagerPath = "/org/freedesktop/FileManager1";
inline constexpr const char* kFileManagerInterface = "org.freedesktop.FileManager1";

// The file:// URI of an absolute path, each byte outside the unreserved set and "/" percent-encoded.
std::string FileUri(const std::filesystem::path& path);

// What to open when the file manager does not answer: the folder holding the file.
std::filesystem::path FolderToOpen(const std::filesystem::path& file);

} // namespace publish
