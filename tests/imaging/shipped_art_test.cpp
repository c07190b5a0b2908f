// The button faces and backgrounds shipped in data/: a shape drawn on a button face must not bring white or
// black corners onto the card, so every PNG there has transparent corners unless it is a whole picture
// that is meant to cover the stage.
#include "imaging/picture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <string>

namespace imaging {
namespace {

namespace fs = std::filesystem;

// Pictures that fill their rectangle to the edges on purpose.
constexpr std::array<std::string_view, 1> kWholePictures{"Background/Meadow.png"};

TEST(ShippedArt, ShapedPngsHaveTransparentCorners) {
    const fs::path data = fs::path(CW_TEST_SOURCE_DIR) / "data";
    int checked = 0;
    for (const char* folder : {"Button", "Background"}) {
        for (const fs::directory_entry& entry : fs::directory_iterator(data / folder)) {
            const std::string name = std::string(folder) + "/" + entry.path().filename().string();
            if (entry.path().extension() != ".png" ||
                std::find(kWholePictures.begin(), kWholePictures.end(), name) != kWholePictures.end()) {
                continue;
            }
            const Picture picture = Picture::Load(entry.path());
            const Size size = picture.size();
            const std::vector<uint8_t> rgba = picture.EncodeRgba();
            for (const auto [x, y] : {std::pair{0, 0},
                                      {size.width - 1, 0},
                                      {0, size.height - 1},
                                      {size.width - 1, size.height - 1}}) {
                EXPECT_EQ(rgba[(size_t(y) * size_t(size.width) + size_t(x)) * 4 + 3], 0)
                    << name << " corner " << x << "," << y;
            }
            ++checked;
        }
    }
    EXPECT_GE(checked, 10); // the themes' faces and the story's green one
}

} // namespace
} // namespace imaging
