#include "app/log.h"

#include <ctime>
#include <utility>

namespace app {

Log::Log(const std::filesystem::path& path) : m_file(std::fopen(path.c_str(), "wb")) {}

Log::~Log() {
    if (m_file != nullptr) {
        std::fclose(m_file);
    }
}

Log::Log(Log&& other) noexcept : m_file(std::exchange(other.m_file, nullptr)) {}

Log& Log::operator=(Log&& other) noexcept {
    if (this != &other) {
        if (m_file != nullptr) {
            std::fclose(m_file);
        }
        m_file = std::exchange(other.m_file, nullptr);
    }
    return *this;
}

void Log::Write(std::string_view text) {
    if (m_file == nullptr) {
        return;
    }
    std::fwrite(text.data(), 1, text.size(), m_file);
    std::fflush(m_file);
}

std::string RunHeader(std::chrono::system_clock::time_point when) {
    const std::time_t t = std::chrono::system_clock::to_time_t(when);
    std::tm utc{};
    gmtime_r(&t, &utc);
    char text[64];
    std::snprintf(text, sizeof text, "%d/%d/%d, %d:%d:%d - \n\n", utc.tm_year + 1900, utc.tm_mon + 1,
                  utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec);
    return text;
}

void Log::WriteRunHeader(std::chrono::system_clock::time_point now) {
    Write(RunHeader(now));
}

} // namespace app
