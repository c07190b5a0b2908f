#include "imaging/jpeg_shrunk.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio> // jpeglib.h needs FILE and size_t declared first
#include <memory>
#include <string>
#include <vector>

#include <jpeglib.h>

namespace imaging {

namespace {

// libjpeg reports a fatal error by calling error_exit, which must not return: it jumps back to the
// setjmp in DecodeJpegShrunk. Everything libjpeg touches, the decoded pixels too, lives in this heap
// object, made before the setjmp, so the jump skips no destructor and leaves no value in a register.
struct Decoder {
    jpeg_decompress_struct info{};
    jpeg_error_mgr errors{};
    jpeg_progress_mgr progress{};
    std::jmp_buf jump{};
    char message[JMSG_LENGTH_MAX] = {};
    std::vector<uint8_t> rgb;
    ~Decoder() { jpeg_destroy_decompress(&info); } // does nothing for a decoder never created
};

// A progressive JPEG can hold any number of scans, each a pass over the whole picture: a crafted file of
// a few kilobytes could keep a decoder busy for minutes. Real encoders write about ten.
constexpr int kMaxScans = 500;

Decoder& Owner(j_common_ptr info) {
    return *static_cast<Decoder*>(info->client_data);
}

[[noreturn]] void OnError(j_common_ptr info) {
    Decoder& decoder = Owner(info);
    info->err->format_message(info, decoder.message);
    std::longjmp(decoder.jump, 1);
}

// Warnings (data damaged inside a scan, a file cut short) let decoding go on, the missing part grey.
void OnMessage(j_common_ptr, int) {}

void OnProgress(j_common_ptr info) {
    const auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
    if (decompress->input_scan_number > kMaxScans) {
        Decoder& decoder = Owner(info);
        std::snprintf(decoder.message, sizeof decoder.message, "more than %d scans", kMaxScans);
        std::longjmp(decoder.jump, 1);
    }
}

bool StartsLikeJpeg(std::span<const uint8_t> bytes) {
    return bytes.size() >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF;
}

} // namespace

std::optional<Thumbnail> DecodeJpegShrunk(std::span<const uint8_t> jpeg, Size atLeast, long long maxPixels) {
    if (!StartsLikeJpeg(jpeg)) {
        return std::nullopt;
    }
    const auto decoder = std::make_unique<Decoder>();
    jpeg_decompress_struct& info = decoder->info;
    info.err = jpeg_std_error(&decoder->errors);
    decoder->errors.error_exit = OnError;
    decoder->errors.emit_message = OnMessage;
    decoder->progress.progress_monitor = OnProgress;
    if (setjmp(decoder->jump) != 0) {
        throw Error(std::string("damaged JPEG data: ") + decoder->message);
    }
    jpeg_create_decompress(&info);
    info.client_data = decoder.get();
    info.progress = &decoder->progress;
    jpeg_mem_src(&info, jpeg.data(), static_cast<unsigned long>(jpeg.size()));
    jpeg_read_header(&info, TRUE);

    // libjpeg refuses sides over 65500, so the sides fit an int.
    const Size stored{static_cast<int>(info.image_width), static_cast<int>(info.image_height)};
    CheckPictureSize(stored, "");
    if (static_cast<long long>(stored.width) * stored.height > maxPixels) {
        throw Error("the JPEG is larger than " + std::to_string(maxPixels) + " pixels");
    }
    switch (info.jpeg_color_space) {
    case JCS_GRAYSCALE:
    case JCS_YCbCr:
    case JCS_RGB:
        break;
    default:
        return std::nullopt; // CMYK, YCCK or unknown: the general loader converts their colours
    }

    // Cheap decoding: the scaled inverse DCTs are nearly free at 1/8, so what is left to save is
    // interpolation the thumbnail's own shrinking averages away anyway.
    info.out_color_space = JCS_RGB;
    info.dct_method = JDCT_IFAST;
    info.do_fancy_upsampling = FALSE;
    info.do_block_smoothing = FALSE;
    bool fits = false;
    for (const unsigned denom : {8u, 4u, 2u, 1u}) {
        info.scale_num = 1;
        info.scale_denom = denom;
        jpeg_calc_output_dimensions(&info);
        if (static_cast<long long>(info.output_width) >= atLeast.width &&
            static_cast<long long>(info.output_height) >= atLeast.height) {
            fits = true;
            break;
        }
    }
    if (!fits) {
        return std::nullopt; // smaller than wanted: the general loader enlarges it
    }

    jpeg_start_decompress(&info);
    const size_t stride = size_t(info.output_width) * 3;
    decoder->rgb.resize(stride * info.output_height);
    while (info.output_scanline < info.output_height) {
        JSAMPROW rows[16];
        const JDIMENSION first = info.output_scanline;
        const JDIMENSION count = std::min<JDIMENSION>(16, info.output_height - first);
        for (JDIMENSION i = 0; i < count; ++i) {
            rows[i] = &decoder->rgb[(first + i) * stride];
        }
        jpeg_read_scanlines(&info, rows, count);
    }
    // The rest of the file (markers after the picture) is of no interest.
    return Thumbnail{{static_cast<int>(info.output_width), static_cast<int>(info.output_height)},
                     std::move(decoder->rgb)};
}

} // namespace imaging
