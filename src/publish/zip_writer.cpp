#include "publish/zip_writer.h"

#include "publish/dos_time.h"
#include "publish/zip_entry_data.h"
#include "publish/zip_name.h"
#include "publish/zip_output_file.h"
#include "publish/zip_pipeline.h"
#include "publish/zip_records.h"

#include <cerrno>
#include <cstring>
#include <deque>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <system_error>

namespace publish {

namespace {

// Output one in-flight entry may hold before its worker waits for the writer, and entries in flight
// per thread: together they bound the memory of a parallel build.
constexpr std::size_t kJobBufferLimit = 8 * 1024 * 1024;
constexpr std::size_t kEntriesInFlightPerThread = 2;

// An entry whose header fields are known and whose source is open, waiting for its data.
struct PreparedEntry {
    ZipEntryHeader header;
    std::filesystem::path source;
    detail::EntrySource data;
};

struct InFlightEntry {
    ZipEntryHeader header;
    std::filesystem::path source;
    std::shared_ptr<detail::EntryJob> job;
    std::vector<ZipSkippedFile> skipped_after; // sources left out after this entry, kept in order
};

std::uint64_t make_seed(const CZipOptions& options) {
    if (options.random_seed) {
        return *options.random_seed;
    }
    std::random_device device;
    return (std::uint64_t(device()) << 32) | device();
}

std::string entry_name(const std::filesystem::path& source) {
    std::error_code ec;
    std::filesystem::path p = std::filesystem::absolute(source, ec);
    if (ec) {
        p = source;
    }
    p = p.lexically_normal();
    if (!p.has_filename()) {
        p = p.parent_path();
    }
    return p.filename().string();
}

} // namespace

struct CZipWriter::Impl {
    explicit Impl(CZipOptions opts) : options(opts), random(make_seed(opts)) {
        options.threads = std::max(1u, options.threads);
    }

    std::optional<PreparedEntry> prepare(const std::filesystem::path& source, int level,
                                         std::size_t read_buffer_size);
    template <typename Produce>
    bool write_entry(ZipEntryHeader& header, const std::filesystem::path& source, Produce&& produce);
    void write_head();
    void pump(std::size_t keep);
    // Records a source left out, in the order of the sources given (behind the entries in flight).
    void skip(const std::filesystem::path& path, std::string reason) {
        auto& list = in_flight.empty() ? skipped : in_flight.back().skipped_after;
        list.push_back(ZipSkippedFile{path, std::move(reason)});
    }

    CZipOptions options;
    std::mt19937_64 random;
    detail::ZipOutputFile output;
    std::string password;
    std::vector<ZipEntryHeader> directory;
    std::vector<ZipSkippedFile> skipped;
    std::deque<InFlightEntry> in_flight;
    std::unique_ptr<detail::CompressionPool> pool;
    bool failed = false; // a write failed: the archive cannot be finished
};

std::optional<PreparedEntry> CZipWriter::Impl::prepare(const std::filesystem::path& source, int level,
                                                       std::size_t read_buffer_size) {
    struct stat info {};
    if (::stat(source.c_str(), &info) != 0) {
        skip(source, std::strerror(errno));
        return std::nullopt;
    }
    const bool is_folder = S_ISDIR(info.st_mode);
    if (!is_folder && !S_ISREG(info.st_mode)) {
        skip(source, "not a regular file or folder");
        return std::nullopt;
    }
    if (output.is_own_file(std::uint64_t(info.st_dev), std::uint64_t(info.st_ino))) {
        skip(source, "it is the archive being written");
        return std::nullopt;
    }
    if (directory.size() + in_flight.size() >= kZipMaxEntries) {
        skip(source, "the archive already holds 65,535 entries");
        return std::nullopt;
    }
    const std::string name = entry_name(source);
    if (name.empty()) {
        skip(source, "it has no name");
        return std::nullopt;
    }

    PreparedEntry entry;
    entry.source = source;
    if (!is_folder) {
        entry.data.file = detail::FileHandle(::open(source.c_str(), O_RDONLY | O_CLOEXEC));
        if (!entry.data.file.is_open()) {
            skip(source, std::strerror(errno));
            return std::nullopt;
        }
    }

    ZipEntryHeader& header = entry.header;
    const ZipName zip_name = EncodeZipName(name);
    header.name = zip_name.bytes;
    header.flags = zip_name.utf8 ? kZipFlagUtf8Name : 0;
    header.method = (is_folder || level == 0) ? kZipMethodStored : kZipMethodDeflated;
    const DosDateTime dos = DosDateTimeFromUnix(info.st_mtime);
    header.dos_time = dos.time;
    header.dos_date = dos.date;
    if (is_folder) {
        header.external_attributes = kZipAttributeDirectory;
    } else {
        header.external_attributes =
            kZipAttributeArchive | ((info.st_mode & S_IWUSR) ? 0 : kZipAttributeReadOnly);
    }

    entry.data.level = level;
    entry.data.read_buffer_size = read_buffer_size;
    if (!password.empty()) {
        header.flags |= kZipFlagEncrypted | kZipFlagDataDescriptor;
        detail::EncryptionHeader bytes{};
        for (std::size_t i = 0; i < 10; ++i) {
            bytes[i] = std::uint8_t(random());
        }
        // The last byte is the check byte readers compare with the password's result.
        bytes[10] = std::uint8_t(header.dos_time);
        bytes[11] = std::uint8_t(header.dos_time >> 8);
        entry.data.encryption_header = bytes;
        entry.data.password = password;
    }
    return entry;
}

template <typename Produce>
bool CZipWriter::Impl::write_entry(ZipEntryHeader& header, const std::filesystem::path& source,
                                   Produce&& produce) {
    const std::uint64_t offset = output.position();
    if (offset > 0xFFFFFFFFu) {
        throw CZipException("the archive would grow beyond 4 GB");
    }
    header.local_header_offset = std::uint32_t(offset);
    const bool encrypted = (header.flags & kZipFlagEncrypted) != 0;

    // The sizes and the CRC are not known yet; they are completed below.
    ZipEntryHeader initial = header;
    initial.crc32 = 0;
    initial.compressed_size = encrypted ? kZipEncryptionHeaderSize : 0;
    initial.uncompressed_size = 0;
    std::vector<std::uint8_t> bytes;
    AppendLocalHeader(bytes, initial);
    output.write(bytes);

    detail::EntryData data;
    try {
        data = produce();
    } catch (const detail::ZipSourceError& e) {
        output.rewind(offset);
        skipped.push_back(ZipSkippedFile{source, e.what()}); // every source before it is written
        return false;
    }
    header.crc32 = data.crc32;
    header.compressed_size = std::uint32_t(data.compressed_size);
    header.uncompressed_size = std::uint32_t(data.uncompressed_size);

    bytes.clear();
    AppendSizeFields(bytes, header);
    output.patch(offset + kLocalHeaderCrcOffset, bytes);
    if (encrypted) {
        bytes.clear();
        AppendDataDescriptor(bytes, header);
        output.write(bytes);
    }
    directory.push_back(header);
    return true;
}

void CZipWriter::Impl::write_head() {
    InFlightEntry& head = in_flight.front();
    write_entry(head.header, head.source, [&] {
        std::vector<std::uint8_t> piece;
        while (head.job->next_piece(piece)) {
            output.write(piece);
        }
        return head.job->result();
    });
    skipped.insert(skipped.end(), head.skipped_after.begin(), head.skipped_after.end());
    in_flight.pop_front();
}

void CZipWriter::Impl::pump(std::size_t keep) {
    while (!in_flight.empty() && (in_flight.size() > keep || in_flight.front().job->is_done())) {
        write_head();
    }
}

CZipWriter::CZipWriter(CZipOptions options) : m_pImpl(std::make_unique<Impl>(options)) {}

CZipWriter::~CZipWriter() {
    abandon();
}

void CZipWriter::create(const std::filesystem::path& path) {
    abandon();
    Impl& d = *m_pImpl;
    d.skipped.clear();
    d.output.open(path, d.random);
    if (d.options.threads > 1) {
        try {
            d.pool = std::make_unique<detail::CompressionPool>(d.options.threads);
        } catch (const std::system_error&) {
            d.pool.reset(); // no threads to be had: the caller's thread does the work, same bytes
        }
    }
}

void CZipWriter::set_password(std::string_view password) {
    m_pImpl->password = password;
}

bool CZipWriter::add_file(const std::filesystem::path& source, int level, std::size_t read_buffer_size) {
    Impl& d = *m_pImpl;
    if (!d.output.is_open()) {
        throw CZipException("no archive is open");
    }
    if (level < -1 || level > 9) {
        throw CZipException("compression level " + std::to_string(level) + " is not -1 to 9");
    }
    if (d.failed) {
        throw CZipException("the archive could not be written");
    }
    std::optional<PreparedEntry> entry = d.prepare(source, level, read_buffer_size);
    if (!entry) {
        return false;
    }
    try {
        if (!d.pool) {
            return d.write_entry(entry->header, entry->source, [&] {
                return detail::EncodeEntryData(
                    entry->data, [&](std::span<const std::uint8_t> bytes) { d.output.write(bytes); });
            });
        }
        auto job = std::make_shared<detail::EntryJob>(std::move(entry->data), kJobBufferLimit);
        d.pool->submit(job);
        d.in_flight.push_back(InFlightEntry{std::move(entry->header), std::move(entry->source), job, {}});
        d.pump(d.options.threads * kEntriesInFlightPerThread);
        return true;
    } catch (...) {
        d.failed = true;
        throw;
    }
}

void CZipWriter::close() {
    Impl& d = *m_pImpl;
    if (!d.output.is_open()) {
        return;
    }
    if (d.failed) {
        abandon();
        throw CZipException("the archive could not be written");
    }
    try {
        d.pump(0);
        const std::uint64_t directory_offset = d.output.position();
        std::vector<std::uint8_t> bytes;
        for (const ZipEntryHeader& entry : d.directory) {
            bytes.clear();
            AppendCentralHeader(bytes, entry);
            d.output.write(bytes);
        }
        const std::uint64_t directory_size = d.output.position() - directory_offset;
        if (directory_offset + directory_size > 0xFFFFFFFFu) {
            throw CZipException("the archive would grow beyond 4 GB");
        }
        bytes.clear();
        AppendEndRecord(bytes, std::uint16_t(d.directory.size()), std::uint32_t(directory_size),
                        std::uint32_t(directory_offset));
        d.output.write(bytes);
        d.output.commit();
        d.pool.reset();
        d.directory.clear();
    } catch (...) {
        abandon();
        throw;
    }
}

void CZipWriter::abandon() noexcept {
    Impl& d = *m_pImpl;
    for (InFlightEntry& entry : d.in_flight) {
        entry.job->cancel();
        d.skipped.insert(d.skipped.end(), entry.skipped_after.begin(), entry.skipped_after.end());
    }
    d.pool.reset(); // joins the workers, which stop at their next piece
    d.in_flight.clear();
    d.output.discard();
    d.directory.clear();
    d.failed = false;
}

bool CZipWriter::is_open() const {
    return m_pImpl->output.is_open();
}

std::size_t CZipWriter::entry_count() const {
    return m_pImpl->directory.size() + m_pImpl->in_flight.size();
}

void CZipWriter::add_skipped(const std::filesystem::path& path, std::string reason) {
    m_pImpl->skip(path, std::move(reason));
}

const std::vector<ZipSkippedFile>& CZipWriter::skipped_files() const {
    return m_pImpl->skipped;
}

} // namespace publish
