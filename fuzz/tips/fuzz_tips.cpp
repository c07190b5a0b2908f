// Fuzz target for the tips file reader. The input's first byte picks how many times Next and Previous
// are pressed, the next two bytes the stored position; the rest is the file. Every run must end, and
// every tip shown must be one piece of at most 999 characters.
#include "app/tips_file.h"

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) {
        return 0;
    }
    const int presses = data[0] % 16;
    const int64_t position = data[1] | (data[2] << 8);
    static const std::filesystem::path file =
        std::filesystem::temp_directory_path() / ("fuzz_tips_" + std::to_string(::getpid()) + ".txt");
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data + 3), static_cast<std::streamsize>(size - 3));
    }
    app::TipsProfile profile{0, position, app::TipsTimeStamp(file)};
    app::TipsReader reader(file, profile);
    for (int i = 0; i < presses; ++i) {
        if (reader.Text().size() > app::kTipPieceLength) {
            std::abort();
        }
        if (reader.GetStatus() == app::TipsReader::Status::Ok &&
            (reader.Text().empty() || !app::IsTipLine(reader.Text()))) {
            std::abort();
        }
        if (i % 3 == 2) {
            reader.Previous();
        } else {
            reader.Next();
        }
    }
    return 0;
}
