// The run log cwp.log: a fresh file per run, raw text in the order things happen. When it cannot be
// created the program runs on without it and writes do nothing.
#pragma once

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace app {

// Shown once when the log cannot be created.
inline constexpr const char* kUnableToCreateLog = "Unable to create log file";

class Log {
public:
    Log() = default;                                 // no log: writes do nothing
    explicit Log(const std::filesystem::path& path); // opens for writing, emptying any old content
    ~Log();
    Log(const Log&) = delete;
    Log& operator=(const Log&) = delete;
    Log(Log&& other) noexcept;
    Log& operator=(Log&& other) noexcept;

    bool IsOpen() const { return m_file != nullptr; }
    // Appends the text unchanged (and flushes, so a crash keeps it).
    void Write(std::string_view text);
    // The start-of-run header "Y/M/D, h:m:s - \n\n" in UTC, no leading zeros.
    void WriteRunHeader(std::chrono::system_clock::time_point now = std::chrono::system_clock::now());

private:
    std::FILE* m_file = nullptr;
};

// The start-of-run header text for a moment.
std::string RunHeader(std::chrono::system_clock::time_point when);

} // namespace app
