// A folder of thumbnails that outlives the program: one per picture file and thumbnail size, found again
// by the file's path, byte size and modification time, so a changed file gets a fresh thumbnail and an
// unchanged one costs a small file read instead of a decode.
//
// Layout: `index.txt` lists the entries, one a line; each thumbnail is a binary PPM beside it. A picture
// that cannot be read is remembered too (no PPM), so it is not decoded again until it changes. The index
// is only ever appended to; a later line for the same file and size replaces an earlier one, and the
// file is rewritten compactly when it has grown mostly stale. Anything malformed in it is ignored.
#pragma once

#include "imaging/thumbnail.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace imaging {

struct ThumbnailIndexEntry {
    std::string path;       // the picture file, as given to the cache
    uintmax_t fileSize = 0; // its size in bytes when the thumbnail was made
    int64_t modified = 0;   // its modification time (file clock ticks) then
    Size size;              // the thumbnail's size
    std::string file;       // the PPM's name inside the cache folder; empty for an unreadable picture
    friend bool operator==(const ThumbnailIndexEntry&, const ThumbnailIndexEntry&) = default;
};

inline constexpr std::string_view kThumbnailIndexHeader = "cardwright thumbnails 1";
inline constexpr int kMaxThumbnailSide = 4096;

// The entries of an index file's text, in order. A wrong header gives none; a malformed line (bad
// numbers, a size outside 1..4096, a PPM name that is not plain hexadecimal + ".ppm") is skipped.
std::vector<ThumbnailIndexEntry> ParseThumbnailIndex(std::string_view text);
// One index line, ending in "\n". Paths holding a line break cannot be written (empty result).
std::string FormatThumbnailIndexLine(const ThumbnailIndexEntry& entry);

// A binary PPM (P6, maxval 255) of the thumbnail, and back; nullopt when the bytes are not a PPM of
// exactly `expected` size.
std::vector<uint8_t> EncodePpm(const Thumbnail& thumb);
std::optional<Thumbnail> DecodePpm(std::string_view bytes, Size expected);

struct ThumbnailResult {
    std::optional<Thumbnail> thumb; // nullopt: the picture cannot be read
    bool fromCache = false;         // found in the cache (picture or unreadable mark) without decoding
    std::string error;              // why it cannot be read, when freshly tried
};

// Safe to use from several threads at once (the pickers make thumbnails on a thread pool).
class ThumbnailCache {
public:
    // Reads `folder`/index.txt when present; the folder is created on the first store. A cache that
    // cannot be written still works, it just remembers nothing.
    explicit ThumbnailCache(std::filesystem::path folder);

    // The thumbnail of `source` at `size`: from the cache when the file's size and modification time are
    // those recorded, otherwise made with MakeThumbnail and stored.
    ThumbnailResult Obtain(const std::filesystem::path& source, Size size);

    // Only the cached answer: nullopt when there is none for the file as it is now.
    std::optional<ThumbnailResult> Find(const std::filesystem::path& source, Size size) const;

    const std::filesystem::path& Folder() const { return m_folder; }
    std::filesystem::path IndexPath() const { return m_folder / "index.txt"; }
    size_t EntryCount() const;

private:
    using Key = std::pair<std::string, std::pair<int, int>>;
    void Store(ThumbnailIndexEntry entry, const Thumbnail* thumb);
    void Compact();

    std::filesystem::path m_folder;
    mutable std::mutex m_mutex;
    std::map<Key, ThumbnailIndexEntry> m_entries;
    size_t m_indexLines = 0; // entry lines in the index file, stale ones included
};

} // namespace imaging
