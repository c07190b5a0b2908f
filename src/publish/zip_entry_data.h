// The data of one entry: read the source, take its CRC-32, deflate (or copy) it, encrypt it, and hand
// the output on piece by piece. The same routine serves the writer's own thread and its workers, so
// both give the same bytes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <utility>

namespace publish::detail {

// An open file descriptor, closed with its owner.
class FileHandle {
public:
    FileHandle() = default;
    explicit FileHandle(int fd) : m_fd(fd) {}
    FileHandle(FileHandle&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    FileHandle& operator=(FileHandle&& other) noexcept;
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle();

    int get() const { return m_fd; }
    bool is_open() const { return m_fd >= 0; }

private:
    int m_fd = -1;
};

// A source that could not be read to its end; the entry is left out of the archive.
class ZipSourceError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

using EncryptionHeader = std::array<std::uint8_t, 12>;

struct EntrySource {
    FileHandle file; // not open for a folder entry
    int level = -1;  // zlib level; 0 copies the bytes unchanged (stored)
    std::size_t read_buffer_size = 65535;
    std::optional<EncryptionHeader> encryption_header; // plain bytes; set when the entry is encrypted
    std::string password;
};

struct EntryData {
    std::uint32_t crc32 = 0;
    std::uint64_t compressed_size = 0; // including the encryption header
    std::uint64_t uncompressed_size = 0;
};

using EntrySink = std::function<void(std::span<const std::uint8_t>)>;

// Writes the entry's data (encryption header first when there is one) through `sink`. Throws
// ZipSourceError when the source cannot be read; lets whatever `sink` throws pass.
EntryData EncodeEntryData(EntrySource& source, const EntrySink& sink);

} // namespace publish::detail
