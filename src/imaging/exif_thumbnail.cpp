#include "imaging/exif_thumbnail.h"

#include <libexif/exif-data.h>

#include <memory>

namespace imaging {

PhotoExif ReadPhotoExif(const std::filesystem::path& path) {
    // libexif reads the file only as far as its EXIF segment.
    const std::unique_ptr<ExifData, decltype(&exif_data_unref)> exif(exif_data_new_from_file(path.c_str()),
                                                                     &exif_data_unref);
    PhotoExif photo;
    if (!exif) {
        return photo;
    }
    if (exif->data != nullptr && exif->size != 0) {
        photo.thumbnail.assign(exif->data, exif->data + exif->size);
    }
    const ExifEntry* entry = exif_content_get_entry(exif->ifd[EXIF_IFD_0], EXIF_TAG_ORIENTATION);
    if (entry != nullptr && entry->format == EXIF_FORMAT_SHORT && entry->components == 1 &&
        entry->size >= 2) {
        const int orientation = exif_get_short(entry->data, exif_data_get_byte_order(exif.get()));
        photo.orientation = orientation >= 1 && orientation <= 8 ? orientation : 1;
    }
    return photo;
}

} // namespace imaging
