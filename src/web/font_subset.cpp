#include "web/font_subset.h"

#include <hb-ot.h>
#include <hb-subset.h>
#include <hb.h>

#ifdef CW_HAVE_WOFF2
#include <woff2/encode.h>
#endif

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <mutex>

namespace web {

struct FontFile::Impl {
    hb_blob_t* blob = nullptr;
    hb_face_t* face = nullptr;
    hb_set_t* unicodes = nullptr;
};

FontFile::FontFile(const std::filesystem::path& path) : impl_(new Impl) {
    impl_->blob = hb_blob_create_from_file_or_fail(path.c_str());
    if (!impl_->blob) {
        delete impl_;
        throw WebError("cannot read the font " + path.string());
    }
    impl_->face = hb_face_create(impl_->blob, 0);
    impl_->unicodes = hb_set_create();
    hb_face_collect_unicodes(impl_->face, impl_->unicodes);
    if (hb_face_get_glyph_count(impl_->face) == 0) {
        hb_set_destroy(impl_->unicodes);
        hb_face_destroy(impl_->face);
        hb_blob_destroy(impl_->blob);
        delete impl_;
        throw WebError("not a font: " + path.string());
    }
}

FontFile::~FontFile() {
    hb_set_destroy(impl_->unicodes);
    hb_face_destroy(impl_->face);
    hb_blob_destroy(impl_->blob);
    delete impl_;
}

bool FontFile::Has(char32_t c) const {
    return hb_set_has(impl_->unicodes, hb_codepoint_t(c));
}

FaceMetrics FontFile::Metrics() const {
    hb_font_t* font = hb_font_create(impl_->face);
    FaceMetrics m;
    m.units_per_em = hb_face_get_upem(impl_->face);
    hb_font_set_scale(font, int(m.units_per_em), int(m.units_per_em));
    hb_position_t asc = 0;
    hb_position_t desc = 0;
    hb_ot_metrics_get_position_with_fallback(font, HB_OT_METRICS_TAG_HORIZONTAL_ASCENDER, &asc);
    hb_ot_metrics_get_position_with_fallback(font, HB_OT_METRICS_TAG_HORIZONTAL_DESCENDER, &desc);
    hb_font_destroy(font);
    m.ascender = asc;
    m.descender = -double(desc);
    return m;
}

std::vector<uint8_t> FontFile::Subset(const std::set<char32_t>& characters) const {
    hb_subset_input_t* input = hb_subset_input_create_or_fail();
    if (!input) {
        throw WebError("out of memory while cutting a font");
    }
    hb_set_t* wanted = hb_subset_input_unicode_set(input);
    for (char32_t c : characters) {
        hb_set_add(wanted, hb_codepoint_t(c));
    }
    hb_subset_input_set_flags(input, HB_SUBSET_FLAGS_NO_HINTING);
    hb_face_t* subset = hb_subset_or_fail(impl_->face, input);
    hb_subset_input_destroy(input);
    if (!subset) {
        throw WebError("the font could not be cut to the gift's characters");
    }
    hb_blob_t* blob = hb_face_reference_blob(subset);
    unsigned int length = 0;
    const char* data = hb_blob_get_data(blob, &length);
    std::vector<uint8_t> bytes(data, data + length);
    hb_blob_destroy(blob);
    hb_face_destroy(subset);
    return bytes;
}

#ifdef CW_HAVE_WOFF2
namespace {

// Debian's woff2 encoder prints "Compressed N to M." on stderr; the line is no message of ours, so
// stderr is pointed at /dev/null while it runs.
bool ConvertQuietly(const std::vector<uint8_t>& sfnt, std::vector<uint8_t>& woff2, size_t& length) {
    static std::mutex mutex;
    const std::lock_guard<std::mutex> lock(mutex);
    std::fflush(stderr);
    const int saved = dup(STDERR_FILENO);
    const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (saved >= 0 && null >= 0) {
        dup2(null, STDERR_FILENO);
    }
    const bool ok = woff2::ConvertTTFToWOFF2(sfnt.data(), sfnt.size(), woff2.data(), &length);
    std::fflush(stderr);
    if (saved >= 0 && null >= 0) {
        dup2(saved, STDERR_FILENO);
    }
    if (null >= 0) {
        close(null);
    }
    if (saved >= 0) {
        close(saved);
    }
    return ok;
}

} // namespace
#endif

WebFont Package(std::vector<uint8_t> sfnt) {
#ifdef CW_HAVE_WOFF2
    std::vector<uint8_t> woff2(woff2::MaxWOFF2CompressedSize(sfnt.data(), sfnt.size()));
    size_t length = woff2.size();
    if (ConvertQuietly(sfnt, woff2, length)) {
        woff2.resize(length);
        return WebFont{std::move(woff2), "font/woff2", "woff2"};
    }
#endif
    return WebFont{std::move(sfnt), "font/ttf", "truetype"};
}

} // namespace web
