#include "imaging/file_write.h"

#include <cstdio>
#include <system_error>
#include <unistd.h>

namespace imaging {

bool WriteFileReplacing(const std::filesystem::path& target, std::span<const uint8_t> bytes) {
    std::filesystem::path temp = target;
    temp += ".part" + std::to_string(::getpid());
    std::FILE* file = std::fopen(temp.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const bool closed = std::fclose(file) == 0;
    std::error_code ec;
    if (written && closed) {
        std::filesystem::rename(temp, target, ec);
        if (!ec) {
            return true;
        }
    }
    std::filesystem::remove(temp, ec);
    return false;
}

} // namespace imaging
