// The small picture a camera or phone stores in a photo's EXIF data, read with libexif: a thumbnail of
// a large photo costs a few milliseconds this way instead of a decode of the whole photo.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

namespace imaging {

struct ExifThumbnail {
    std::vector<uint8_t> jpeg; // the embedded picture, as stored (not turned)
    int orientation = 1;       // the photo's EXIF orientation (1..8); the thumbnail is stored the same way
};

// nullopt when the file has no EXIF data, or EXIF data without a thumbnail.
std::optional<ExifThumbnail> ReadExifThumbnail(const std::filesystem::path& path);

} // namespace imaging
