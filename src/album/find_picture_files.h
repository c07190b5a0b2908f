// The recursive picture scan of the photo album.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace album {

// The picture kinds the album takes.
inline constexpr std::string_view kAlbumExtensions = "*.JPG;*.PNG;*.BMP;*.WMF;*.GIF";

using PathCallback = std::function<void(const std::filesystem::path&)>;

// Scans `folder` and its subfolders, depth first: first the folder's own files whose extension (from
// the last "." on, without regard to case) is one of `extensions` ("*.JPG;*.PNG" style entries, or "*.*"
// for every name with a dot), then each subfolder in turn. Each listing is sorted by name (byte order),
// so the result does not depend on the file system's order. For a taken file, `fileCallback` is called
// with its full path, then the path is appended to `fileList`; for a subfolder, its path is appended to
// `folderList` and `folderCallback` is called, then it is scanned with `prefix` + its name + "/".
// Lists and callbacks may be null/empty. Folders that cannot be listed are passed over; symbolic links
// to folders are not followed (a link back to a parent would never end).
void FindPictureFiles(const std::filesystem::path& folder, std::vector<std::filesystem::path>* fileList,
                      std::vector<std::filesystem::path>* folderList, std::string_view extensions,
                      const std::string& prefix, const PathCallback& fileCallback,
                      const PathCallback& folderCallback);

// True when `fileName`'s extension is one of `extensions` (the rule above).
bool MatchesExtensionList(const std::string& fileName, std::string_view extensions);

} // namespace album
