#include "imaging/picture.h"

#include "imaging/backend.h"
#include "imaging/file_write.h"

#include <string>

namespace imaging {

struct Picture::Impl {
    struct Release {
        void operator()(CwImage* image) const { Backend().release(image); }
    };
    std::unique_ptr<CwImage, Release> image;
    // Bytes a picture was loaded from; libvips reads them lazily, so they live as long as the picture.
    std::shared_ptr<const std::vector<uint8_t>> source;
};

namespace {

// The module's message for the failure that just happened.
std::string LastError() {
    return Backend().last_error();
}

void AppendBytes(void* context, const uint8_t* bytes, size_t length) {
    static_cast<std::vector<uint8_t>*>(context)->assign(bytes, bytes + length);
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
    const CwImagingApi& api = Backend();
    const bool shrinkOnLoad = atLeast.width > 0 || atLeast.height > 0;
    if (shrinkOnLoad) {
        // A picture loaded shrunk no longer shows its own size: the full-size header is checked first.
        Load(path);
    }
    CwImage* image = api.load_file(path.c_str(), atLeast.width, atLeast.height);
    if (image == nullptr) {
        throw Error(LastError());
    }
    auto impl = std::make_unique<Impl>();
    impl->image.reset(image);
    Picture picture(std::move(impl));
    if (!shrinkOnLoad) {
        CheckPictureSize(picture.size(), path.string()); // only the header has been read so far
    }
    return picture;
}

Picture Picture::LoadFromBuffer(std::span<const uint8_t> bytes) {
    const CwImagingApi& api = Backend();
    auto source = std::make_shared<const std::vector<uint8_t>>(bytes.begin(), bytes.end());
    CwImage* image = api.load_buffer(source->data(), source->size());
    if (image == nullptr) {
        throw Error(LastError());
    }
    auto impl = std::make_unique<Impl>();
    impl->image.reset(image);
    impl->source = std::move(source);
    Picture picture(std::move(impl));
    CheckPictureSize(picture.size(), "");
    return picture;
}

Size Picture::size() const {
    return {Backend().width(impl_->image.get()), Backend().height(impl_->image.get())};
}

Picture Picture::Resized(Size target) const {
    if (target.width <= 0 || target.height <= 0) {
        throw Error("cannot scale a picture to " + std::to_string(target.width) + " x " +
                    std::to_string(target.height));
    }
    CwImage* out = Backend().resized(impl_->image.get(), target.width, target.height);
    if (out == nullptr) {
        throw Error(LastError());
    }
    auto impl = std::make_unique<Impl>();
    impl->image.reset(out);
    impl->source = impl_->source;
    return Picture(std::move(impl));
}

void Picture::Decode() const {
    if (Backend().decode(impl_->image.get()) != 0) {
        throw Error(LastError());
    }
}

bool Picture::HasTransparency() const {
    const int result = Backend().has_alpha(impl_->image.get());
    if (result < 0) {
        throw Error(LastError());
    }
    return result == 1;
}

std::vector<uint8_t> Picture::EncodeJpeg(int quality) const {
    std::vector<uint8_t> bytes;
    if (Backend().encode_jpeg(impl_->image.get(), quality, AppendBytes, &bytes) != 0) {
        throw Error(LastError());
    }
    return bytes;
}

std::vector<uint8_t> Picture::EncodeRgba() const {
    std::vector<uint8_t> bytes;
    if (Backend().encode_rgba(impl_->image.get(), AppendBytes, &bytes) != 0) {
        throw Error(LastError());
    }
    return bytes;
}

std::vector<uint8_t> Picture::EncodePng() const {
    std::vector<uint8_t> bytes;
    if (Backend().encode_png(impl_->image.get(), AppendBytes, &bytes) != 0) {
        throw Error(LastError());
    }
    return bytes;
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
    } catch (const TooLargeError& e) {
        return e.size();
    } catch (const Error&) {
        return std::nullopt;
    }
}

} // namespace imaging
