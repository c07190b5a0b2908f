// CZipWriter: writes a zip archive (format version 2.0, deflate through zlib, optional traditional
// PKWARE encryption) entry by entry. Entries are flat: each is named by its source's own name.
//
//     CZipWriter zip;
//     zip.create("gift.swf.zip");
//     zip.set_password("secret");
//     zip.add_file("photos/a.jpg", kZipDefaultLevel, kZipReadBufferSize);
//     zip.close();
//
// Failures to create or write the archive throw CZipException. The archive replaces the file at the
// target path only when close() succeeds; until then an older file there stays untouched.
#pragma once

#include "publish/zip_error.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace publish {

inline constexpr std::size_t kZipMaxEntries = 65535;
inline constexpr std::size_t kZipReadBufferSize = 65535;
inline constexpr int kZipDefaultLevel = -1; // zlib's default level
inline constexpr int kZipStored = 0;

struct CZipOptions {
    // How many entries are deflated at once. With 1 everything happens on the caller's thread; more
    // threads give the same bytes, faster.
    unsigned threads = 1;
    // Fixes the random bytes of the encryption headers (for reproducible archives); otherwise they
    // come from a generator seeded by std::random_device.
    std::optional<std::uint64_t> random_seed;
};

// A source that is not in the archive, and why.
struct ZipSkippedFile {
    std::filesystem::path path;
    std::string reason;
};

class CZipWriter {
public:
    explicit CZipWriter(CZipOptions options = {});
    ~CZipWriter(); // an archive not closed is discarded
    CZipWriter(const CZipWriter&) = delete;
    CZipWriter& operator=(const CZipWriter&) = delete;

    // Starts a new archive that will replace any file at `path`.
    void create(const std::filesystem::path& path);
    // Entries added afterwards are encrypted with the password's bytes; an empty text clears it.
    void set_password(std::string_view password);
    // Adds one file, or one folder entry (stored, no data) when `source` is a folder. `level` is a zlib
    // level (-1 default, 0 stored, 1 to 9). Returns false, and records the source among
    // skipped_files(), when the entry was not added: the source cannot be examined or opened, is not a
    // regular file or folder, or the archive already holds kZipMaxEntries entries. With several
    // threads a file that fails while it is being read is left out later and recorded the same way.
    bool add_file(const std::filesystem::path& source, int level, std::size_t read_buffer_size);
    // Writes the central directory and the end record, and puts the archive in place. Does nothing
    // when no archive was created.
    void close();
    // Drops the archive being written; the target path keeps what it had.
    void abandon() noexcept;

    bool is_open() const;
    std::size_t entry_count() const;

    // Records a source left out by the caller (a folder that could not be listed).
    void add_skipped(const std::filesystem::path& path, std::string reason);
    // The sources left out, in the order they were given; complete once the archive is closed.
    const std::vector<ZipSkippedFile>& skipped_files() const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_pImpl;
};

} // namespace publish
