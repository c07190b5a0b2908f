#include "imaging/convert.h"

#include "imaging/file_write.h"
#include "imaging/picture.h"

#include <cstdio>
#include <functional>
#include <system_error>

namespace imaging {

namespace {

// Pictures up to this size keep their size for the anchored placements and the button face.
constexpr Size kLargestKept{2400, 2000};
// Below this size a picture stretched keeping its ratio is fitted to the stage; above it, stretched.
constexpr Size kSmallKeepRatio{1200, 1000};

Size ConversionSize(Size picture, int placementCode, int stageWidth, int stageHeight) {
    if (placementCode == kStretchKeepRatio && picture.width < kSmallKeepRatio.width &&
        picture.height < kSmallKeepRatio.height) {
        return FitKeepingRatio(picture.width, picture.height, stageWidth, stageHeight);
    }
    return {stageWidth, stageHeight};
}

std::filesystem::path FallbackName(const std::filesystem::path& source, const std::filesystem::path& folder) {
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(source, ec);
    char tag[17];
    std::snprintf(tag, sizeof tag, "%016zx", std::hash<std::string>{}((ec ? source : absolute).string()));
    return folder / (source.filename().string() + "-" + tag + ".jpg");
}

} // namespace

std::filesystem::path TransparentTarget(const std::filesystem::path& target) {
    std::filesystem::path png = target;
    return png.replace_extension(".png");
}

std::string ConvertPictureToJpeg(const std::filesystem::path& source, const std::filesystem::path& target,
                                 int placementCode, bool force, int stageWidth, int stageHeight, int quality,
                                 bool keepTransparency) {
    std::error_code ec;
    const std::filesystem::path transparentTarget = TransparentTarget(target);
    if (!force) {
        if (std::filesystem::exists(target, ec)) {
            return target.string();
        }
        if (keepTransparency && std::filesystem::exists(transparentTarget, ec)) {
            return transparentTarget.string();
        }
    }
    Picture picture = Picture::Load(source);
    const Size own = picture.size();
    const bool keepSize =
        placementCode <= 9 && own.width <= kLargestKept.width && own.height <= kLargestKept.height;
    if (!keepSize) {
        const Size wanted = ConversionSize(own, placementCode, stageWidth, stageHeight);
        if (wanted.width <= 0 || wanted.height <= 0) {
            return "";
        }
        picture = Picture::LoadAtLeast(source, wanted).Resized(wanted);
    }
    // Decoding problems are reading failures and throw; only the writing decides between path and "".
    // Only one of the two targets may exist afterwards, or a later reuse could pick the stale one.
    if (keepTransparency && picture.HasTransparency()) {
        std::filesystem::remove(target, ec);
        return WriteFileReplacing(transparentTarget, picture.EncodePng()) ? transparentTarget.string()
                                                                          : std::string();
    }
    if (keepTransparency) {
        std::filesystem::remove(transparentTarget, ec);
    }
    const std::vector<uint8_t> jpeg = picture.EncodeJpeg(quality);
    return WriteFileReplacing(target, jpeg) ? target.string() : std::string();
}

AlbumPicture ConvertAlbumPicture(const std::filesystem::path& source, int maxWidth, int maxHeight,
                                 const std::filesystem::path& fallbackFolder) {
    // Opening reads the header only; the pixels are read once, at a reduced size where possible.
    Picture picture = Picture::Load(source);
    const Size own = picture.size();
    const Size fitted = FitInsideBox(own.width, own.height, maxWidth, maxHeight);
    if (own.width > maxWidth || own.height > maxHeight) {
        picture = Picture::LoadAtLeast(source, fitted).Resized(fitted);
    }
    const std::vector<uint8_t> jpeg = picture.EncodeJpeg(100);

    std::filesystem::path beside = source;
    beside += ".jpg";
    if (WriteFileReplacing(beside, jpeg)) {
        return {beside, fitted, true};
    }
    const std::filesystem::path fallback = FallbackName(source, fallbackFolder);
    if (!fallbackFolder.empty() && WriteFileReplacing(fallback, jpeg)) {
        return {fallback, fitted, true};
    }
    return {source, own, false};
}

} // namespace imaging
