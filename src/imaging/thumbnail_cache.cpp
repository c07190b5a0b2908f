#include "imaging/thumbnail_cache.h"

#include "imaging/error.h"

#include <charconv>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <thread>

namespace imaging {

namespace fs = std::filesystem;

namespace {

struct FileStamp {
    uintmax_t size = 0;
    int64_t modified = 0;
};

std::optional<FileStamp> StampOf(const fs::path& file) {
    std::error_code ec;
    if (!fs::is_regular_file(file, ec)) {
        return std::nullopt;
    }
    const uintmax_t size = fs::file_size(file, ec);
    if (ec) {
        return std::nullopt;
    }
    const auto time = fs::last_write_time(file, ec);
    if (ec) {
        return std::nullopt;
    }
    return FileStamp{size, static_cast<int64_t>(time.time_since_epoch().count())};
}

template <typename T> bool ParseNumber(std::string_view text, T& out) {
    if (text.empty()) {
        return false;
    }
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
    return ec == std::errc() && end == text.data() + text.size();
}

// Splits off the text up to the next blank (the blank is consumed).
std::string_view NextField(std::string_view& rest) {
    const size_t blank = rest.find(' ');
    std::string_view field = rest.substr(0, blank);
    rest = blank == std::string_view::npos ? std::string_view() : rest.substr(blank + 1);
    return field;
}

bool IsPpmName(std::string_view name) {
    constexpr std::string_view kExt = ".ppm";
    if (name.size() <= kExt.size() || name.size() > 40 || !name.ends_with(kExt)) {
        return false;
    }
    for (const char c : name.substr(0, name.size() - kExt.size())) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) {
            return false;
        }
    }
    return true;
}

std::optional<ThumbnailIndexEntry> ParseLine(std::string_view line) {
    // W H SIZE MTIME NAME<tab>PATH, NAME being "-" for an unreadable picture.
    const size_t tab = line.find('\t');
    if (tab == std::string_view::npos || tab + 1 >= line.size()) {
        return std::nullopt;
    }
    ThumbnailIndexEntry entry;
    entry.path = std::string(line.substr(tab + 1));
    if (entry.path.find('\r') != std::string::npos) {
        return std::nullopt; // never written: a line end of another system
    }
    std::string_view rest = line.substr(0, tab);
    if (!ParseNumber(NextField(rest), entry.size.width) || !ParseNumber(NextField(rest), entry.size.height) ||
        !ParseNumber(NextField(rest), entry.fileSize) || !ParseNumber(NextField(rest), entry.modified)) {
        return std::nullopt;
    }
    const std::string_view name = NextField(rest);
    if (!rest.empty() || entry.size.width < 1 || entry.size.height < 1 ||
        entry.size.width > kMaxThumbnailSide || entry.size.height > kMaxThumbnailSide) {
        return std::nullopt;
    }
    if (name != "-") {
        if (!IsPpmName(name)) {
            return std::nullopt;
        }
        entry.file = std::string(name);
    }
    return entry;
}

// FNV-1a: a stable name for a thumbnail file from what identifies it.
std::string EntryFileName(const ThumbnailIndexEntry& e) {
    uint64_t hash = 14695981039346656037ull;
    auto mix = [&](std::string_view bytes) {
        for (const unsigned char c : bytes) {
            hash = (hash ^ c) * 1099511628211ull;
        }
    };
    mix(e.path);
    mix(std::to_string(e.fileSize) + "/" + std::to_string(e.modified) + "/" + std::to_string(e.size.width) +
        "x" + std::to_string(e.size.height));
    char name[32];
    std::snprintf(name, sizeof name, "%016llx.ppm", static_cast<unsigned long long>(hash));
    return name;
}

std::optional<std::string> ReadWhole(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Written beside and renamed, so a reader never sees half a file. The part file is named per thread:
// several samples can share one picture (the Flash placeholder), and so one thumbnail file.
bool WriteWhole(const fs::path& file, std::string_view bytes) {
    fs::path part = file;
    part += "." + std::to_string(std::hash<std::thread::id>{}(std::this_thread::get_id())) + ".part";
    {
        std::ofstream out(part, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), std::streamsize(bytes.size()));
        if (!out.flush()) {
            std::error_code ec;
            fs::remove(part, ec);
            return false;
        }
    }
    std::error_code ec;
    fs::rename(part, file, ec);
    return !ec;
}

} // namespace

std::vector<ThumbnailIndexEntry> ParseThumbnailIndex(std::string_view text) {
    std::vector<ThumbnailIndexEntry> entries;
    size_t start = 0;
    bool first = true;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            break; // a last line without its line end was cut short while being written
        }
        const std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (first) {
            if (line != kThumbnailIndexHeader) {
                return {};
            }
            first = false;
            continue;
        }
        if (auto entry = ParseLine(line)) {
            entries.push_back(std::move(*entry));
        }
    }
    return entries;
}

std::string FormatThumbnailIndexLine(const ThumbnailIndexEntry& e) {
    if (e.path.empty() || e.path.find_first_of("\r\n") != std::string::npos) {
        return {};
    }
    return std::to_string(e.size.width) + " " + std::to_string(e.size.height) + " " +
           std::to_string(e.fileSize) + " " + std::to_string(e.modified) + " " +
           (e.file.empty() ? std::string("-") : e.file) + "\t" + e.path + "\n";
}

std::vector<uint8_t> EncodePpm(const Thumbnail& thumb) {
    const std::string header =
        "P6\n" + std::to_string(thumb.size.width) + " " + std::to_string(thumb.size.height) + "\n255\n";
    std::vector<uint8_t> bytes(header.begin(), header.end());
    bytes.insert(bytes.end(), thumb.rgb.begin(), thumb.rgb.end());
    return bytes;
}

std::optional<Thumbnail> DecodePpm(std::string_view bytes, Size expected) {
    const std::string header =
        "P6\n" + std::to_string(expected.width) + " " + std::to_string(expected.height) + "\n255\n";
    const size_t pixels = size_t(expected.width) * size_t(expected.height) * 3;
    if (!bytes.starts_with(header) || bytes.size() != header.size() + pixels) {
        return std::nullopt;
    }
    const auto* data = reinterpret_cast<const uint8_t*>(bytes.data()) + header.size();
    return Thumbnail{expected, std::vector<uint8_t>(data, data + pixels)};
}

ThumbnailCache::ThumbnailCache(fs::path folder) : m_folder(std::move(folder)) {
    const auto text = ReadWhole(IndexPath());
    if (!text) {
        return;
    }
    for (auto& entry : ParseThumbnailIndex(*text)) {
        ++m_indexLines;
        Key key{entry.path, {entry.size.width, entry.size.height}};
        m_entries[std::move(key)] = std::move(entry);
    }
    if (m_indexLines > 2 * m_entries.size() + 64) {
        Compact();
    }
}

size_t ThumbnailCache::EntryCount() const {
    std::lock_guard lock(m_mutex);
    return m_entries.size();
}

std::optional<ThumbnailResult> ThumbnailCache::Find(const fs::path& source, Size size) const {
    const auto stamp = StampOf(source);
    if (!stamp) {
        return std::nullopt;
    }
    ThumbnailIndexEntry entry;
    {
        std::lock_guard lock(m_mutex);
        const auto it = m_entries.find(Key{source.string(), {size.width, size.height}});
        if (it == m_entries.end() || it->second.fileSize != stamp->size ||
            it->second.modified != stamp->modified) {
            return std::nullopt;
        }
        entry = it->second;
    }
    ThumbnailResult result;
    result.fromCache = true;
    if (entry.file.empty()) {
        return result; // known to be unreadable
    }
    const auto bytes = ReadWhole(m_folder / entry.file);
    if (!bytes) {
        return std::nullopt;
    }
    result.thumb = DecodePpm(*bytes, size);
    if (!result.thumb) {
        return std::nullopt; // damaged: make it again
    }
    return result;
}

ThumbnailResult ThumbnailCache::Obtain(const fs::path& source, Size size) {
    if (auto cached = Find(source, size)) {
        return std::move(*cached);
    }
    // The stamp is taken before reading, so a file that changes meanwhile is made again next time.
    const auto stamp = StampOf(source);
    ThumbnailResult result;
    try {
        result.thumb = MakeThumbnail(source, size);
    } catch (const Error& e) {
        result.error = e.what();
    }
    if (stamp) {
        ThumbnailIndexEntry entry{source.string(), stamp->size, stamp->modified, size, {}};
        Store(std::move(entry), result.thumb ? &*result.thumb : nullptr);
    }
    return result;
}

void ThumbnailCache::Store(ThumbnailIndexEntry entry, const Thumbnail* thumb) {
    std::error_code ec;
    fs::create_directories(m_folder, ec);
    if (thumb) {
        entry.file = EntryFileName(entry);
        const std::vector<uint8_t> ppm = EncodePpm(*thumb);
        if (!WriteWhole(m_folder / entry.file,
                        std::string_view(reinterpret_cast<const char*>(ppm.data()), ppm.size()))) {
            return;
        }
    }
    const std::string line = FormatThumbnailIndexLine(entry);
    if (line.empty()) {
        return;
    }
    std::lock_guard lock(m_mutex);
    const bool fresh = !fs::exists(IndexPath(), ec);
    {
        std::ofstream out(IndexPath(), std::ios::binary | std::ios::app);
        if (fresh) {
            out << kThumbnailIndexHeader << '\n';
        }
        out << line;
        if (!out.flush()) {
            return;
        }
    }
    ++m_indexLines;
    Key key{entry.path, {entry.size.width, entry.size.height}};
    auto& slot = m_entries[key];
    if (!slot.file.empty() && slot.file != entry.file) {
        fs::remove(m_folder / slot.file, ec); // the thumbnail of the file as it was
    }
    slot = std::move(entry);
}

void ThumbnailCache::Compact() {
    std::string text = std::string(kThumbnailIndexHeader) + "\n";
    for (const auto& [key, entry] : m_entries) {
        text += FormatThumbnailIndexLine(entry);
    }
    if (WriteWhole(IndexPath(), text)) {
        m_indexLines = m_entries.size();
    }
}

} // namespace imaging
