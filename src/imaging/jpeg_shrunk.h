// A JPEG photo decoded straight by libjpeg-turbo at 1/8, 1/4 or 1/2 of its size, for thumbnails: the
// scaled decode reads only what that size needs, and nothing else is done to the pixels (no colour
// management, no second scaling pass, no worker threads), so a camera photo costs little more than
// libjpeg-turbo's entropy decoding of it.
#pragma once

#include "imaging/error.h"
#include "imaging/thumbnail.h"

#include <cstdint>
#include <optional>
#include <span>

namespace imaging {

// The JPEG in `jpeg` decoded to 8-bit RGB at the smallest of 1/8, 1/4, 1/2 and 1/1 of its size that is
// still at least `atLeast` in both directions, as stored (its EXIF orientation is not applied). Greyscale,
// YCbCr and RGB JPEGs, baseline or progressive, are read; nullopt for anything else this decoder leaves to
// the general picture loader: bytes that are not a JPEG, CMYK and YCCK JPEGs (they need colour conversion),
// and JPEGs smaller than `atLeast`. Data damaged within a scan is decoded as far as it goes, the rest
// grey, as libvips does. Throws TooLargeError over the picture size limits or above `maxPixels`, and
// Error when the JPEG cannot be read at all.
std::optional<Thumbnail> DecodeJpegShrunk(std::span<const uint8_t> jpeg, Size atLeast,
                                          long long maxPixels = kMaxPicturePixels);

} // namespace imaging
