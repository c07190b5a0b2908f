// What a photo's EXIF data tells its thumbnail, read with libexif: the small picture a camera or phone
// stores there (a thumbnail of a large photo costs a few milliseconds this way instead of a decode of the
// whole photo) and the photo's orientation.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace imaging {

struct PhotoExif {
    std::vector<uint8_t> thumbnail; // the embedded picture, as stored (not turned); empty when there is none
    int orientation = 1; // the photo's EXIF orientation (1..8); the thumbnail is stored the same way
};

// A file without EXIF data (or not a photo at all) gives no thumbnail and orientation 1.
PhotoExif ReadPhotoExif(const std::filesystem::path& path);

} // namespace imaging
