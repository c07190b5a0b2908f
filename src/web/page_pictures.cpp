#include "web/page_pictures.h"

#include "imaging/picture.h"
#include "movie/gift_shapes.h"
#include "web/dbl_png.h"
#include "web/font_subset.h"

#include <fstream>
#include <iterator>
#include <system_error>

namespace web {

namespace fs = std::filesystem;

std::vector<uint8_t> ReadFileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw WebError("cannot read " + path.string());
    }
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

std::optional<StoredPicture> LoadPicture(movie::GiftBuilder& builder, const fs::path& source, int cardIndex,
                                         int code) {
    std::error_code ec;
    if (!fs::is_regular_file(source, ec)) {
        return std::nullopt;
    }
    try {
        if (movie::EndsWith(movie::Lowered(source.string()), ".dbl")) {
            DecodedPicture decoded = DblToPng(ReadFileBytes(source));
            return StoredPicture{"image/png", std::move(decoded.png), int(decoded.width),
                                 int(decoded.height)};
        }
        // Builders on other threads use the same Temp names: convert and read back under the lock.
        const auto temp = builder.LockTemp();
        const std::string converted = builder.ConvertPictureToJpeg(source, cardIndex, code, 1);
        if (converted.empty()) {
            return std::nullopt;
        }
        const std::optional<imaging::Size> size = imaging::ReadPictureSize(converted);
        if (!size) {
            return std::nullopt;
        }
        const bool png = movie::EndsWith(movie::Lowered(converted), ".png");
        return StoredPicture{png ? "image/png" : "image/jpeg", ReadFileBytes(converted), size->width,
                             size->height};
    } catch (const std::exception&) {
        return std::nullopt; // the movie leaves such a picture out too
    }
}

} // namespace web
