// Fixtures of the album tests: folders of solid-colour pictures written by ImageMagick, and a reader of
// album movies that replays their display list frame by frame.
#pragma once

#include "imaging/size.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace album::test {

// A fresh empty folder `name` of the current test under the build tree (below "album-files").
std::filesystem::path FreshFolder(const std::string& name = "pictures");
// Where a test's movie goes: test-movies/album/<name>.
std::filesystem::path MoviePath(const std::string& name);

// A picture of one colour, its format from the extension (jpg, png, gif, bmp in any case).
void WritePicture(const std::filesystem::path& path, int width, int height,
                  std::array<int, 3> rgb = {200, 120, 40});

std::vector<uint8_t> ReadBytes(const std::filesystem::path& path);

// Every file below `folder`, relative to it, sorted.
std::vector<std::string> FilesBelow(const std::filesystem::path& folder);

struct Item {
    uint16_t character = 0;
    int x = 0; // pixels
    int y = 0;
    int alphaMult = 256; // 8.8 fixed point
};

struct AlbumMovie {
    bool compressed = false;
    uint8_t version = 0;
    int width = 0;
    int height = 0;
    uint16_t rateFixed = 0;
    int headerFrames = 0;
    std::array<int, 3> background{-1, -1, -1};
    std::vector<std::vector<uint8_t>> firstFrameActions;
    std::map<uint16_t, imaging::Size> bitmaps;    // JPEG size by bitmap id
    std::map<uint16_t, uint16_t> shapeBitmap;     // bitmap filling each shape
    std::map<uint16_t, imaging::Size> shapes;     // shape bounds by shape id
    std::vector<std::map<uint16_t, Item>> frames; // the display list after each frame, by depth
};

// Reads a movie written by the album (through the library's SWF reader) and replays its display list.
AlbumMovie ReadAlbum(const std::filesystem::path& path);

} // namespace album::test
