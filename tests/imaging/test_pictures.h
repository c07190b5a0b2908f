// Fixtures for the picture tests, made at test time: pictures of any size and format, a Windows
// metafile written byte by byte, and a look at a JPEG's frame markers.
#pragma once

#include "imaging/size.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace imaging::test {

// A fresh empty folder for one test under the build tree.
std::filesystem::path FreshFolder(const std::string& name);

// A colourful picture of the given size written with libvips, the format taken from the file's extension
// (jpg, png, gif); JPEGs at quality 92.
void WriteVipsPicture(const std::filesystem::path& path, int width, int height);

// A picture written by ImageMagick's `convert` (used for BMP, ICO and PCX, which libvips cannot write).
void WriteMagickPicture(const std::filesystem::path& path, int width, int height);

// A placeable Windows metafile of width x height pixels (at 72 dpi) holding one red rectangle.
void WriteMetafile(const std::filesystem::path& path, int width, int height);

std::vector<uint8_t> ReadBytes(const std::filesystem::path& path);
void WriteBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes);

struct JpegFrame {
    bool baseline = false;    // a SOF0 frame
    bool progressive = false; // a SOF2 frame
    Size size;
};
// Reads the frame header of a JPEG file (the markers up to the first scan).
JpegFrame ReadJpegFrame(const std::vector<uint8_t>& bytes);

} // namespace imaging::test
