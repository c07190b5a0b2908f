// Helpers of the zip tests: a temporary folder, file helpers, a small independent reader of archive
// structure, and running the outside zip tools.
#pragma once

#include "publish/zip_records.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace zip_test {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path operator/(const std::string& name) const { return m_path / name; }

private:
    std::filesystem::path m_path;
};

void WriteFile(const std::filesystem::path& path, const std::string& content);
void WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);
std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path);
std::vector<std::uint8_t> RandomBytes(std::size_t size, std::uint32_t seed);
std::string TextBytes(std::size_t size, std::uint32_t seed); // compressible, word-like text

// One entry as an independent reading of the archive finds it.
struct InspectedEntry {
    publish::ZipEntryHeader central;
    publish::ZipEntryHeader local;
    std::uint64_t data_offset = 0;
    std::optional<publish::ZipEntryHeader> descriptor; // sizes and CRC of a data descriptor
};

struct InspectedArchive {
    std::vector<InspectedEntry> entries;
    std::uint64_t directory_offset = 0;
};

// Reads the end record, the central directory and every local header, checking that the entries'
// data, descriptors and the directory follow each other without gaps. Fails the current test (and
// returns nullopt) on anything malformed.
std::optional<InspectedArchive> InspectZip(const std::vector<std::uint8_t>& bytes);

// Runs a shell command with its output sent to `log`; returns its exit status.
int RunCommand(const std::string& command, const std::filesystem::path& log);
std::string Quote(const std::filesystem::path& path);

} // namespace zip_test
