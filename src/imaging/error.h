// The picture module's errors: a picture that cannot be read, decoded, scaled or written, and a picture
// refused for its size before any pixel of it is decoded.
#pragma once

#include "imaging/size.h"

#include <stdexcept>
#include <string>

namespace imaging {

class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Pictures larger than this are refused: decoding one would take many seconds and gigabytes.
inline constexpr int kMaxPictureSide = 16384;
inline constexpr long long kMaxPicturePixels = 100'000'000;

class TooLargeError : public Error {
public:
    // `name` is the picture's file name, or empty for a picture read from memory.
    TooLargeError(Size size, const std::string& name)
        : Error("The picture " + (name.empty() ? std::string() : "\"" + name + "\" ") + "is " +
                std::to_string(size.width) + " x " + std::to_string(size.height) +
                " pixels; a picture may have at most " + std::to_string(kMaxPictureSide) +
                " pixels a side and 100 megapixels."),
          size_(size) {}
    Size size() const { return size_; }

private:
    Size size_;
};

// Throws TooLargeError when a picture of `size` is over either limit.
inline void CheckPictureSize(Size size, const std::string& name) {
    if (size.width > kMaxPictureSide || size.height > kMaxPictureSide ||
        static_cast<long long>(size.width) * size.height > kMaxPicturePixels) {
        throw TooLargeError(size, name);
    }
}

} // namespace imaging
