#include "album_test_support.h"

#include "swf/byte_reader.h"
#include "swf/jpeg_info.h"
#include "swf/swf_file.h"
#include "swf/swf_records.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace album::test {

namespace fs = std::filesystem;

fs::path FreshFolder(const std::string& name) {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const fs::path folder =
        fs::path(CW_TEST_BINARY_DIR) / "album-files" / info->test_suite_name() / info->name() / name;
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

fs::path MoviePath(const std::string& name) {
    const fs::path folder = fs::path(CW_TEST_BINARY_DIR) / "test-movies" / "album";
    fs::create_directories(folder);
    return folder / name;
}

void WritePicture(const fs::path& path, int width, int height, std::array<int, 3> rgb) {
    fs::create_directories(path.parent_path());
    std::string ext = path.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    // The format from the lower-case extension, so that "b.Png" is still written as a PNG.
    const std::string command = "convert -size " + std::to_string(width) + "x" + std::to_string(height) +
                                " 'xc:rgb(" + std::to_string(rgb[0]) + "," + std::to_string(rgb[1]) + "," +
                                std::to_string(rgb[2]) + ")' -quality 95 '" + ext.substr(1) + ":" +
                                path.string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

std::vector<uint8_t> ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> FilesBelow(const fs::path& folder) {
    std::vector<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (!entry.is_directory()) {
            files.push_back(fs::relative(entry.path(), folder).generic_string());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

namespace {

imaging::Size RectSize(const swf::RectTwips& rect) {
    return {(rect.x_max - rect.x_min) / 20, (rect.y_max - rect.y_min) / 20};
}

} // namespace

AlbumMovie ReadAlbum(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const swf::SwfFile file = swf::read_swf(bytes);

    AlbumMovie movie;
    movie.compressed = file.header.compressed;
    movie.version = file.header.version;
    movie.width = RectSize(file.header.frame_size).width;
    movie.height = RectSize(file.header.frame_size).height;
    movie.rateFixed = file.header.frame_rate;
    movie.headerFrames = file.header.frame_count;

    std::map<uint16_t, Item> stage;
    for (const swf::TagView& tag : file.tags) {
        swf::ByteReader r(tag.body);
        switch (static_cast<int>(tag.code)) {
        case 9: // SetBackgroundColor
            movie.background = {r.u8(), r.u8(), r.u8()};
            break;
        case 12: // DoAction
            if (movie.frames.empty()) {
                movie.firstFrameActions.emplace_back(tag.body.begin(), tag.body.end());
            }
            break;
        case 21: { // DefineBitsJPEG2
            const uint16_t id = r.u16();
            const swf::detail::JpegSize size = swf::detail::jpeg_size(r.rest());
            movie.bitmaps[id] = {size.width, size.height};
            break;
        }
        case 32: { // DefineShape3: the bounds, then one bitmap fill style
            const uint16_t id = r.u16();
            movie.shapes[id] = RectSize(swf::read_rect(r));
            if (r.u8() == 1 && (r.u8() & 0x40) != 0) {
                movie.shapeBitmap[id] = r.u16();
            }
            break;
        }
        case 26: { // PlaceObject2
            const uint8_t flags = r.u8();
            const uint16_t depth = r.u16();
            Item& item = stage[depth];
            if (flags & 0x02) {
                item = Item{};
                item.character = r.u16();
            }
            if (flags & 0x04) {
                const swf::MatrixRecord m = swf::read_matrix(r);
                item.x = m.translate_x / 20;
                item.y = m.translate_y / 20;
            }
            if (flags & 0x08) {
                item.alphaMult = swf::read_cxform(r, true).mult[3];
            }
            break;
        }
        case 28: // RemoveObject2
            stage.erase(r.u16());
            break;
        case 1: // ShowFrame
            movie.frames.push_back(stage);
            break;
        default:
            break;
        }
    }
    return movie;
}

} // namespace album::test
