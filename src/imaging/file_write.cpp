#include "imaging/file_write.h"

#include <cstdio>
#include <functional>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace imaging {

bool WriteFileReplacing(const std::filesystem::path& target, std::span<const uint8_t> bytes) {
    std::filesystem::path temp = target;
    // Of this process and thread: two threads may write the same target (the card preview and Preview).
    temp += ".part" + std::to_string(::getpid()) + "-" +
            std::to_string(std::hash<std::thread::id>{}(std::this_thread::get_id()));
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
