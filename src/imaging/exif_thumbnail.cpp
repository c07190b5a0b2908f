#include "imaging/exif_thumbnail.h"

#include <libexif/exif-data.h>

#include <memory>

namespace imaging {

std::optional<ExifThumbnail> ReadExifThumbnail(const std::filesystem::path& path) {
    // libexif reads the file only as far as its EXIF segment.
    const std::unique_ptr<ExifData, decltype(&exif_data_unref)> exif(exif_data_new_from_file(path.c_str()),
                                                                     &exif_data_unref);
    if (!exif || exif->data == nullptr || exif->size == 0) {
        return std::nullopt;
    }
    ExifThumbnail thumb{std::vector<uint8_t>(exif->data, exif->data + exif->size), 1};
    const ExifEntry* entry = exif_content_get_entry(exif->ifd[EXIF_IFD_0], EXIF_TAG_ORIENTATION);
    if (entry != nullptr && entry->format == EXIF_FORMAT_SHORT && entry->components == 1 &&
        entry->size >= 2) {
        const int orientation = exif_get_short(entry->data, exif_data_get_byte_order(exif.get()));
        thumb.orientation = orientation >= 1 && orientation <= 8 ? orientation : 1;
    }
    return thumb;
}

} // namespace imaging
