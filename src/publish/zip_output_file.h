// The archive file being written: a new file beside the target that replaces it only when complete
// (write beside, then rename), so a failed build never leaves a half archive in place of an old one.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <random>
#include <span>
#include <vector>

namespace publish::detail {

class ZipOutputFile {
public:
    ZipOutputFile() = default;
    ZipOutputFile(const ZipOutputFile&) = delete;
    ZipOutputFile& operator=(const ZipOutputFile&) = delete;
    ~ZipOutputFile();

    // Creates the work file beside `target`. Throws CZipException when it cannot.
    void open(const std::filesystem::path& target, std::mt19937_64& random);
    bool is_open() const { return m_fd >= 0; }

    // Whether a file (device and inode) is the work file or the target being replaced, so that an
    // archive written inside the folder being packed never packs itself.
    bool is_own_file(std::uint64_t device, std::uint64_t inode) const;

    std::uint64_t position() const { return m_nFlushed + m_buffer.size(); }
    void write(std::span<const std::uint8_t> bytes);
    // Overwrites bytes already written at `offset`.
    void patch(std::uint64_t offset, std::span<const std::uint8_t> bytes);
    // Continues writing at `offset`, dropping what was written after it.
    void rewind(std::uint64_t offset);

    // Flushes, cuts the file at the current position and renames it over the target.
    void commit();
    // Closes and deletes the work file; the target stays as it was.
    void discard() noexcept;

private:
    void flush();
    void write_at(std::uint64_t offset, std::span<const std::uint8_t> bytes);

    int m_fd = -1;
    std::filesystem::path m_target;
    std::filesystem::path m_workPath;
    std::uint64_t m_nFlushed = 0; // bytes already in the file before m_buffer
    std::vector<std::uint8_t> m_buffer;
    struct FileId {
        std::uint64_t device = 0;
        std::uint64_t inode = 0;
    };
    FileId m_work;
    std::optional<FileId> m_oldTarget;
};

} // namespace publish::detail
