// The libvips side of the imaging layer, built as a module the layer loads on first use: programs that
// never touch a picture never map libvips and the hundred libraries behind it.
#include "imaging/backend_api.h"

#include <vips/vips8>

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <string>

using vips::VError;
using vips::VImage;

struct CwImage {
    VImage image;
};

namespace {

thread_local std::string lastError;

// Stores the message for last_error and gives the failure value of the calling function.
std::nullptr_t Fail(std::string message) {
    while (!message.empty() && std::isspace(static_cast<unsigned char>(message.back()))) {
        message.pop_back();
    }
    lastError = std::move(message);
    vips_error_clear();
    return nullptr;
}

int FailCode(std::string message) {
    Fail(std::move(message));
    return -1;
}

// libvips is started once per process. Its operation cache stays off: every picture is read once, and a
// cache would keep decoded pictures and open files alive across a whole album.
bool StartVips() {
    static const bool started = [] {
        if (VIPS_INIT("cardwright") != 0) {
            return false;
        }
        vips_cache_set_max(0);
        return true;
    }();
    if (!started) {
        Fail("the picture library could not start: " + std::string(vips_error_buffer()));
    }
    return started;
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

bool LooksLikeMetafile(const uint8_t* bytes, size_t length) {
    return length >= 4 && std::equal(kMetafileKey.begin(), kMetafileKey.end(), bytes);
}

VImage OpenBuffer(const uint8_t* bytes, size_t length) {
    if (!LooksLikeMetafile(bytes, length)) {
        return VImage::new_from_buffer(bytes, length, "");
    }
    // The blob only borrows the bytes; the caller keeps them alive.
    VipsBlob* blob = vips_blob_new(nullptr, bytes, length);
    try {
        VImage image = VImage::magickload_buffer(blob);
        vips_area_unref(reinterpret_cast<VipsArea*>(blob));
        return image;
    } catch (...) {
        vips_area_unref(reinterpret_cast<VipsArea*>(blob));
        throw;
    }
}

// Every picture continues as 8-bit sRGB, three bands or three and alpha: one layout keeps scaling and
// saving simple, and the alpha band stays for the pictures that are kept transparent in a movie.
VImage ToSrgb8(VImage image) {
    if (vips_colourspace_issupported(image.get_image()) &&
        image.interpretation() != VIPS_INTERPRETATION_sRGB) {
        image = image.colourspace(VIPS_INTERPRETATION_sRGB);
    }
    if (image.format() != VIPS_FORMAT_UCHAR) {
        image = image.cast(VIPS_FORMAT_UCHAR);
    }
    if (image.bands() == 1 || image.bands() == 2) {
        VImage grey = image.extract_band(0);
        VImage rgb = VImage::bandjoin({grey, grey, grey});
        image = image.bands() == 2 ? rgb.bandjoin(image.extract_band(1)) : rgb;
    } else if (image.bands() > 4) {
        image = image.extract_band(0, VImage::option()->set("n", 4));
    }
    return image.copy(VImage::option()->set("interpretation", VIPS_INTERPRETATION_sRGB));
}

VImage Flattened(const VImage& image) {
    if (image.bands() != 4) {
        return image;
    }
    return image.flatten(VImage::option()->set("background", std::vector<double>{255.0, 255.0, 255.0}));
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

CwImage* Wrap(VImage image) {
    return new CwImage{std::move(image)};
}

CwImage* LoadFile(const char* pathText, int atLeastWidth, int atLeastHeight) {
    if (!StartVips()) {
        return nullptr;
    }
    const std::filesystem::path path = pathText;
    try {
        VImage image = OpenFile(path);
        if (atLeastWidth > 0 && atLeastHeight > 0 && IsJpegFile(path)) {
            // The wanted size is upright; a photo stored sideways is compared on its stored sides.
            if (vips_image_get_orientation_swap(image.get_image())) {
                std::swap(atLeastWidth, atLeastHeight);
            }
            // libjpeg scales by 1/2, 1/4 or 1/8 while decoding; take the largest factor that still leaves
            // at least the wanted size, so the later scaling only ever shrinks.
            for (int shrink : {8, 4, 2}) {
                if (image.width() / shrink >= atLeastWidth && image.height() / shrink >= atLeastHeight) {
                    image = VImage::jpegload(path.c_str(), VImage::option()->set("shrink", shrink));
                    break;
                }
            }
        }
        return Wrap(ToSrgb8(image.autorot()));
    } catch (const VError& e) {
        return Fail("cannot read the picture " + path.string() + ": " + e.what());
    }
}

CwImage* LoadBuffer(const uint8_t* bytes, size_t length) {
    if (!StartVips()) {
        return nullptr;
    }
    try {
        return Wrap(ToSrgb8(OpenBuffer(bytes, length).autorot()));
    } catch (const VError& e) {
        return Fail(std::string("cannot read the picture: ") + e.what());
    }
}

void Release(CwImage* image) {
    delete image;
}

int Width(const CwImage* image) {
    return image->image.width();
}

int Height(const CwImage* image) {
    return image->image.height();
}

CwImage* Resized(const CwImage* image, int width, int height) {
    const VImage& in = image->image;
    try {
        VImage out = in;
        if (width != in.width() || height != in.height()) {
            const double hscale = static_cast<double>(width) / in.width();
            const double vscale = static_cast<double>(height) / in.height();
            out =
                in.resize(hscale, VImage::option()->set("vscale", vscale)->set("kernel", VIPS_KERNEL_CUBIC));
            // The scaled size is rounded inside libvips; make it exact, whatever the rounding did.
            if (out.width() != width || out.height() != height) {
                out = out.embed(0, 0, width, height, VImage::option()->set("extend", VIPS_EXTEND_COPY));
            }
        }
        return Wrap(out);
    } catch (const VError& e) {
        return Fail(std::string("cannot scale the picture: ") + e.what());
    }
}

int Decode(const CwImage* image) {
    try {
        (void)image->image.avg();
        return 0;
    } catch (const VError& e) {
        return FailCode(std::string("cannot decode the picture: ") + e.what());
    }
}

int HasAlpha(const CwImage* image) {
    if (image->image.bands() != 4) {
        return 0;
    }
    try {
        return image->image.extract_band(3).min() < 255.0 ? 1 : 0;
    } catch (const VError& e) {
        return FailCode(std::string("cannot decode the picture: ") + e.what());
    }
}

// Hands an encoder's output to the sink; the encoder runs inside, so its failures are reported alike.
template <typename Encode> int SendEncoded(Encode encode, CwByteSink sink, void* context) {
    try {
        VipsBlob* blob = encode();
        size_t length = 0;
        const auto* data = static_cast<const uint8_t*>(vips_blob_get(blob, &length));
        sink(context, data, length);
        vips_area_unref(reinterpret_cast<VipsArea*>(blob));
        return 0;
    } catch (const VError& e) {
        return FailCode(std::string("cannot decode or encode the picture: ") + e.what());
    }
}

int EncodeJpeg(const CwImage* image, int quality, CwByteSink sink, void* context) {
    return SendEncoded(
        [&] {
            return Flattened(image->image)
                .jpegsave_buffer(VImage::option()
                                     ->set("Q", std::clamp(quality, 1, 100))
                                     ->set("interlace", false)
                                     ->set("strip", true));
        },
        sink, context);
}

int EncodePng(const CwImage* image, CwByteSink sink, void* context) {
    return SendEncoded(
        [&] {
            return image->image.pngsave_buffer(VImage::option()->set("compression", 6)->set("strip", true));
        },
        sink, context);
}

int EncodeRgba(const CwImage* image, CwByteSink sink, void* context) {
    try {
        VImage rgba = image->image;
        if (rgba.bands() == 3) {
            rgba = rgba.bandjoin_const({255.0});
        }
        size_t length = 0;
        void* pixels = rgba.write_to_memory(&length);
        sink(context, static_cast<const uint8_t*>(pixels), length);
        g_free(pixels);
        return 0;
    } catch (const VError& e) {
        return FailCode(std::string("cannot decode the picture: ") + e.what());
    }
}

const char* LastError() {
    return lastError.c_str();
}

constexpr CwImagingApi kApi{
    CW_IMAGING_API_VERSION,
    sizeof(CwImagingApi),
    LastError,
    LoadFile,
    LoadBuffer,
    Release,
    Width,
    Height,
    Resized,
    Decode,
    HasAlpha,
    EncodeJpeg,
    EncodeRgba,
    EncodePng,
};

} // namespace

extern "C" __attribute__((visibility("default"))) const CwImagingApi* cw_imaging_api(void) {
    return &kApi;
}
