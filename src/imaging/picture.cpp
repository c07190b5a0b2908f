#include "imaging/picture.h"

#include "imaging/file_write.h"

#include <vips/vips8>

#include <algorithm>
#include <array>
#include <cctype>
#include <fstream>
#include <string>

namespace imaging {

using vips::VError;
using vips::VImage;

struct Picture::Impl {
    VImage image;
    // Bytes a picture was loaded from; libvips reads them lazily, so they live as long as the picture.
    std::shared_ptr<const std::vector<uint8_t>> source;
};

namespace {

// libvips is started once per process. Its operation cache stays off: every picture is read once, and a
// cache would keep decoded pictures and open files alive across a whole album.
void StartVips() {
    static const bool started = [] {
        if (VIPS_INIT("cardwright") != 0) {
            throw Error("the picture library could not start: " + std::string(vips_error_buffer()));
        }
        vips_cache_set_max(0);
        return true;
    }();
    (void)started;
}

std::string VipsMessage(const VError& e) {
    std::string text = e.what();
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) {
        text.pop_back();
    }
    vips_error_clear();
    return text;
}

std::string LowerExtension(const std::filesystem::path& path) {
    std::string ext = path.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    return ext;
}

// A placeable Windows metafile starts with the key 0x9AC6CDD7 (little-endian); libvips's format sniffing
// does not recognise metafiles, so they are handed to ImageMagick by name.
constexpr std::array<uint8_t, 4> kMetafileKey{0xD7, 0xCD, 0xC6, 0x9A};

bool LooksLikeMetafile(const std::filesystem::path& path) {
    if (LowerExtension(path) == ".wmf") {
        return true;
    }
    std::array<uint8_t, 4> head{};
    std::ifstream in(path, std::ios::binary);
    in.read(reinterpret_cast<char*>(head.data()), head.size());
    return in.gcount() == 4 && head == kMetafileKey;
}

bool LooksLikeMetafile(std::span<const uint8_t> bytes) {
    return bytes.size() >= 4 && std::equal(kMetafileKey.begin(), kMetafileKey.end(), bytes.begin());
}

VImage OpenBuffer(const std::vector<uint8_t>& bytes) {
    if (!LooksLikeMetafile(bytes)) {
        return VImage::new_from_buffer(bytes.data(), bytes.size(), "");
    }
    // The blob only borrows the bytes; the picture keeps them alive.
    VipsBlob* blob = vips_blob_new(nullptr, bytes.data(), bytes.size());
    try {
        VImage image = VImage::magickload_buffer(blob);
        vips_area_unref(reinterpret_cast<VipsArea*>(blob));
        return image;
    } catch (...) {
        vips_area_unref(reinterpret_cast<VipsArea*>(blob));
        throw;
    }
}

// Every picture continues as 8-bit sRGB with three bands: JPEG holds nothing else, and one layout keeps
// scaling and saving simple. Transparent parts are flattened over white, as a card's background is.
VImage ToRgb8(VImage image) {
    if (vips_colourspace_issupported(image.get_image()) &&
        image.interpretation() != VIPS_INTERPRETATION_sRGB) {
        image = image.colourspace(VIPS_INTERPRETATION_sRGB);
    }
    if (image.format() != VIPS_FORMAT_UCHAR) {
        image = image.cast(VIPS_FORMAT_UCHAR);
    }
    if (image.bands() == 2 || image.bands() == 4) {
        image = image.flatten(VImage::option()->set("background", std::vector<double>{255, 255, 255}));
    }
    if (image.bands() == 1) {
        image = image.bandjoin({image, image});
    } else if (image.bands() > 3) {
        image = image.extract_band(0, VImage::option()->set("n", 3));
    } else if (image.bands() == 2) {
        image = image.extract_band(0).bandjoin({image.extract_band(0), image.extract_band(0)});
    }
    return image.copy(VImage::option()->set("interpretation", VIPS_INTERPRETATION_sRGB));
}

VImage OpenFile(const std::filesystem::path& path, vips::VOption* options = nullptr) {
    if (LooksLikeMetafile(path)) {
        return VImage::magickload(path.c_str(), options);
    }
    return VImage::new_from_file(path.c_str(), options);
}

bool IsJpegFile(const std::filesystem::path& path) {
    const char* loader = vips_foreign_find_load(path.c_str());
    vips_error_clear();
    return loader != nullptr && std::string_view(loader).starts_with("VipsForeignLoadJpeg");
}

} // namespace

Picture::Picture(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
Picture::Picture(Picture&&) noexcept = default;
Picture& Picture::operator=(Picture&&) noexcept = default;
Picture::~Picture() = default;

Picture Picture::Load(const std::filesystem::path& path) {
    return LoadAtLeast(path, {0, 0});
}

Picture Picture::LoadAtLeast(const std::filesystem::path& path, Size atLeast) {
    StartVips();
    try {
        VImage image = OpenFile(path);
        if (atLeast.width > 0 && atLeast.height > 0 && IsJpegFile(path)) {
            // libjpeg scales by 1/2, 1/4 or 1/8 while decoding; take the largest factor that still leaves
            // at least the wanted size, so the later scaling only ever shrinks.
            for (int shrink : {8, 4, 2}) {
                if (image.width() / shrink >= atLeast.width && image.height() / shrink >= atLeast.height) {
                    image = VImage::jpegload(path.c_str(), VImage::option()->set("shrink", shrink));
                    break;
                }
            }
        }
        auto impl = std::make_unique<Impl>();
        impl->image = ToRgb8(image);
        return Picture(std::move(impl));
    } catch (const VError& e) {
        throw Error("cannot read the picture " + path.string() + ": " + VipsMessage(e));
    }
}

Picture Picture::LoadFromBuffer(std::span<const uint8_t> bytes) {
    StartVips();
    auto source = std::make_shared<const std::vector<uint8_t>>(bytes.begin(), bytes.end());
    try {
        auto impl = std::make_unique<Impl>();
        impl->image = ToRgb8(OpenBuffer(*source));
        impl->source = std::move(source);
        return Picture(std::move(impl));
    } catch (const VError& e) {
        throw Error("cannot read the picture: " + VipsMessage(e));
    }
}

Size Picture::size() const {
    return {impl_->image.width(), impl_->image.height()};
}

Picture Picture::Resized(Size target) const {
    if (target.width <= 0 || target.height <= 0) {
        throw Error("cannot scale a picture to " + std::to_string(target.width) + " x " +
                    std::to_string(target.height));
    }
    const VImage& in = impl_->image;
    try {
        VImage out = in;
        if (target != size()) {
            const double hscale = static_cast<double>(target.width) / in.width();
            const double vscale = static_cast<double>(target.height) / in.height();
            out =
                in.resize(hscale, VImage::option()->set("vscale", vscale)->set("kernel", VIPS_KERNEL_CUBIC));
            // The scaled size is rounded inside libvips; make it exact, whatever the rounding did.
            if (out.width() != target.width || out.height() != target.height) {
                out = out.embed(0, 0, target.width, target.height,
                                VImage::option()->set("extend", VIPS_EXTEND_COPY));
            }
        }
        auto impl = std::make_unique<Impl>();
        impl->image = out;
        impl->source = impl_->source;
        return Picture(std::move(impl));
    } catch (const VError& e) {
        throw Error("cannot scale the picture: " + VipsMessage(e));
    }
}

void Picture::Decode() const {
    try {
        (void)impl_->image.avg();
    } catch (const VError& e) {
        throw Error("cannot decode the picture: " + VipsMessage(e));
    }
}

std::vector<uint8_t> Picture::EncodeJpeg(int quality) const {
    try {
        VipsBlob* blob = impl_->image.jpegsave_buffer(VImage::option()
                                                          ->set("Q", std::clamp(quality, 1, 100))
                                                          ->set("interlace", false)
                                                          ->set("strip", true));
        size_t length = 0;
        const auto* data = static_cast<const uint8_t*>(vips_blob_get(blob, &length));
        std::vector<uint8_t> bytes(data, data + length);
        vips_area_unref(reinterpret_cast<VipsArea*>(blob));
        return bytes;
    } catch (const VError& e) {
        throw Error("cannot decode or encode the picture: " + VipsMessage(e));
    }
}

void Picture::SaveJpeg(const std::filesystem::path& target, int quality) const {
    const std::vector<uint8_t> bytes = EncodeJpeg(quality);
    if (!WriteFileReplacing(target, bytes)) {
        throw Error("cannot write " + target.string());
    }
}

std::optional<Size> ReadPictureSize(const std::filesystem::path& path) {
    try {
        return Picture::Load(path).size();
    } catch (const Error&) {
        return std::nullopt;
    }
}

} // namespace imaging
