#include "test_pictures.h"

#include <gtest/gtest.h>
#include <vips/vips8>

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace imaging::test {

std::filesystem::path FreshFolder(const std::string& name) {
    const std::filesystem::path folder = std::filesystem::path(CW_TEST_BINARY_DIR) / "imaging-tests" / name;
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

void WriteVipsPicture(const std::filesystem::path& path, int width, int height) {
    ASSERT_EQ(VIPS_INIT("imaging_tests"), 0);
    // Red rises to the right, green to the bottom, blue is a diagonal ripple: no two regions alike.
    vips::VImage xy = vips::VImage::xyz(width, height);
    vips::VImage red = xy.extract_band(0) * (255.0 / width);
    vips::VImage green = xy.extract_band(1) * (255.0 / height);
    vips::VImage blue = ((xy.extract_band(0) + xy.extract_band(1)) * 0.1).sin() * 120 + 128;
    vips::VImage rgb = red.bandjoin({green, blue}).cast(VIPS_FORMAT_UCHAR);
    rgb = rgb.copy(vips::VImage::option()->set("interpretation", VIPS_INTERPRETATION_sRGB));
    const std::string ext = path.extension().string();
    if (ext == ".jpg" || ext == ".JPG" || ext == ".jpeg") {
        rgb.jpegsave(path.c_str(), vips::VImage::option()->set("Q", 92));
    } else if (ext == ".gif") {
        // libvips's GIF writer leaks inside its quantiser (libimagequant), which the leak checker of the
        // sanitizer build reports; ImageMagick writes the GIF instead.
        const std::filesystem::path png = path.string() + ".png";
        rgb.pngsave(png.c_str());
        const std::string command = "convert '" + png.string() + "' '" + path.string() + "'";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        std::filesystem::remove(png);
    } else {
        rgb.write_to_file(path.c_str());
    }
}

void WriteMagickPicture(const std::filesystem::path& path, int width, int height) {
    const std::string command = "convert -size " + std::to_string(width) + "x" + std::to_string(height) +
                                " gradient:red-blue '" + path.string() + "' 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

namespace {

void Put16(std::vector<uint8_t>& out, int value) {
    out.push_back(static_cast<uint8_t>(value & 0xFF));
    out.push_back(static_cast<uint8_t>((value >> 8) & 0xFF));
}

void Put32(std::vector<uint8_t>& out, uint32_t value) {
    Put16(out, static_cast<int>(value & 0xFFFF));
    Put16(out, static_cast<int>(value >> 16));
}

// One metafile record: its size in 16-bit words, its function number, its 16-bit parameters.
void Record(std::vector<uint8_t>& out, int function, const std::vector<int>& params) {
    Put32(out, static_cast<uint32_t>(3 + params.size()));
    Put16(out, function);
    for (int p : params) {
        Put16(out, p);
    }
}

} // namespace

void WriteMetafile(const std::filesystem::path& path, int width, int height) {
    std::vector<uint8_t> records;
    Record(records, 0x020B, {0, 0});                 // SetWindowOrg
    Record(records, 0x020C, {height, width});        // SetWindowExt
    Record(records, 0x02FC, {0, 0x00FF, 0x0000, 0}); // CreateBrushIndirect: solid red
    Record(records, 0x012D, {0});                    // SelectObject
    Record(records, 0x041B, {height, width, 0, 0});  // Rectangle
    Record(records, 0x0000, {});                     // EOF

    std::vector<uint8_t> file;
    // Placeable header: key, handle, bounding box, 72 units per inch, reserved, checksum.
    Put32(file, 0x9AC6CDD7);
    Put16(file, 0);
    Put16(file, 0);
    Put16(file, 0);
    Put16(file, width);
    Put16(file, height);
    Put16(file, 72);
    Put32(file, 0);
    int checksum = 0;
    for (size_t i = 0; i < file.size(); i += 2) {
        checksum ^= file[i] | (file[i + 1] << 8);
    }
    Put16(file, checksum);
    // Metafile header: type, header words, version, file words, objects, largest record, unused.
    Put16(file, 1);
    Put16(file, 9);
    Put16(file, 0x0300);
    Put32(file, static_cast<uint32_t>(9 + records.size() / 2));
    Put16(file, 1);
    Put32(file, 7);
    Put16(file, 0);
    file.insert(file.end(), records.begin(), records.end());
    WriteBytes(path, file);
}

std::vector<uint8_t> ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

JpegFrame ReadJpegFrame(const std::vector<uint8_t>& bytes) {
    JpegFrame frame;
    size_t i = 2; // after SOI
    while (i + 4 <= bytes.size() && bytes[i] == 0xFF) {
        const int marker = bytes[i + 1];
        const size_t length = (bytes[i + 2] << 8) | bytes[i + 3];
        if (marker == 0xC0 || marker == 0xC2) {
            frame.baseline = marker == 0xC0;
            frame.progressive = marker == 0xC2;
            if (i + 9 <= bytes.size()) {
                frame.size.height = (bytes[i + 5] << 8) | bytes[i + 6];
                frame.size.width = (bytes[i + 7] << 8) | bytes[i + 8];
            }
        }
        if (marker == 0xDA) {
            break;
        }
        i += 2 + length;
    }
    return frame;
}

} // namespace imaging::test
