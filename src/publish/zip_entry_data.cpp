#include "publish/zip_entry_data.h"

#include "publish/zip_crypto.h"
#include "publish/zip_error.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>
#include <vector>
#include <zlib.h>

namespace publish::detail {

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept {
    if (this != &other) {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
        m_fd = std::exchange(other.m_fd, -1);
    }
    return *this;
}

FileHandle::~FileHandle() {
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

namespace {

constexpr std::size_t kOutputPieceSize = 256 * 1024;

// A raw deflate stream (no zlib header), window 15, memory level 8, default strategy.
class Deflater {
public:
    explicit Deflater(int level) {
        if (deflateInit2(&m_stream, level, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
            throw CZipException("zlib could not start deflating");
        }
    }
    ~Deflater() { deflateEnd(&m_stream); }
    Deflater(const Deflater&) = delete;
    Deflater& operator=(const Deflater&) = delete;

    z_stream& stream() { return m_stream; }

private:
    z_stream m_stream{};
};

// Collects output, encrypts it when asked, and passes it on in pieces.
class OutputStage {
public:
    OutputStage(const EntrySink& sink, std::optional<ZipCrypto>& crypto, EntryData& data)
        : m_sink(sink), m_crypto(crypto), m_data(data) {}

    void emit(std::span<std::uint8_t> bytes) {
        if (bytes.empty()) {
            return;
        }
        if (m_crypto) {
            m_crypto->encrypt(bytes);
        }
        m_data.compressed_size += bytes.size();
        m_sink(bytes);
    }

private:
    const EntrySink& m_sink;
    std::optional<ZipCrypto>& m_crypto;
    EntryData& m_data;
};

// Reads up to buffer.size() bytes; 0 at the end of the file.
std::size_t read_some(int fd, std::span<std::uint8_t> buffer) {
    for (;;) {
        const ssize_t n = ::read(fd, buffer.data(), buffer.size());
        if (n >= 0) {
            return std::size_t(n);
        }
        if (errno != EINTR) {
            throw ZipSourceError(std::strerror(errno));
        }
    }
}

void check_size(const EntryData& data) {
    if (data.uncompressed_size > 0xFFFFFFFFu || data.compressed_size > 0xFFFFFFFFu) {
        throw ZipSourceError("larger than a zip archive without extensions can hold (4 GB)");
    }
}

} // namespace

EntryData EncodeEntryData(EntrySource& source, const EntrySink& sink) {
    EntryData data;
    std::optional<ZipCrypto> crypto;
    OutputStage output(sink, crypto, data);
    if (source.encryption_header) {
        crypto.emplace(source.password);
        EncryptionHeader header = *source.encryption_header;
        output.emit(header);
    }
    if (!source.file.is_open()) {
        return data; // a folder entry has no data
    }

    std::vector<std::uint8_t> input(std::max<std::size_t>(source.read_buffer_size, 1));
    std::uint32_t crc = std::uint32_t(crc32(0, nullptr, 0));
    if (source.level == 0) {
        while (const std::size_t n = read_some(source.file.get(), input)) {
            crc = std::uint32_t(crc32(crc, input.data(), uInt(n)));
            data.uncompressed_size += n;
            output.emit(std::span(input.data(), n));
            check_size(data);
        }
        data.crc32 = crc;
        return data;
    }

    Deflater deflater(source.level);
    z_stream& z = deflater.stream();
    std::vector<std::uint8_t> piece(kOutputPieceSize);
    int flush = Z_NO_FLUSH;
    while (flush != Z_FINISH) {
        const std::size_t n = read_some(source.file.get(), input);
        crc = std::uint32_t(crc32(crc, input.data(), uInt(n)));
        data.uncompressed_size += n;
        flush = n == 0 ? Z_FINISH : Z_NO_FLUSH;
        z.next_in = input.data();
        z.avail_in = uInt(n);
        int status = Z_OK;
        do {
            z.next_out = piece.data();
            z.avail_out = uInt(piece.size());
            status = deflate(&z, flush);
            if (status == Z_STREAM_ERROR) {
                throw CZipException("zlib failed while deflating");
            }
            output.emit(std::span(piece.data(), piece.size() - z.avail_out));
        } while (z.avail_out == 0 || (flush == Z_FINISH && status != Z_STREAM_END));
        check_size(data);
    }
    data.crc32 = crc;
    return data;
}

} // namespace publish::detail
