#include "album/streamed_movie.h"

#include "swf/error.h"
#include "swf/writer.h"

#include <zlib.h>

#include <array>
#include <system_error>

namespace album {

namespace fs = std::filesystem;

namespace {

constexpr size_t kChunk = 1 << 16;
constexpr int kMaxFrames = 0xFFFF;

void WriteAll(std::FILE* file, const uint8_t* data, size_t size, const fs::path& path) {
    if (size != 0 && std::fwrite(data, 1, size, file) != size) {
        throw swf::Error("cannot write " + path.string());
    }
}

// Feeds `size` bytes to the deflate stream (or, with `finish`, ends it) and writes what comes out.
void Deflate(z_stream& stream, const uint8_t* data, size_t size, bool finish, std::FILE* out,
             const fs::path& path) {
    std::array<uint8_t, kChunk> buffer;
    stream.next_in = const_cast<Bytef*>(data);
    stream.avail_in = static_cast<uInt>(size);
    int result = Z_OK;
    do {
        stream.next_out = buffer.data();
        stream.avail_out = static_cast<uInt>(buffer.size());
        result = deflate(&stream, finish ? Z_FINISH : Z_NO_FLUSH);
        if (result == Z_STREAM_ERROR) {
            throw swf::Error("compressing the movie failed");
        }
        WriteAll(out, buffer.data(), buffer.size() - stream.avail_out, path);
    } while (stream.avail_out == 0 || (finish && result != Z_STREAM_END));
}

struct DeflateEnd {
    void operator()(z_stream* stream) const { deflateEnd(stream); }
};

} // namespace

StreamedMovie::StreamedMovie(fs::path target, uint8_t version, swf::Rect stage, uint16_t frameRate)
    : m_target(std::move(target)), m_version(version), m_stage(stage), m_frameRate(frameRate) {
    m_spoolPath = m_target;
    m_spoolPath += ".tags";
    m_spool.reset(std::fopen(m_spoolPath.c_str(), "w+b"));
    if (!m_spool) {
        throw swf::Error("cannot write the movie file " + m_target.string());
    }
}

StreamedMovie::~StreamedMovie() {
    m_spool.reset();
    std::error_code ignored;
    fs::remove(m_spoolPath, ignored);
}

swf::CharacterId StreamedMovie::AllocateId() {
    if (m_nextId > 0xFFFF) {
        throw swf::Error("out of character ids: a movie holds at most 65535 characters");
    }
    return static_cast<swf::CharacterId>(m_nextId++);
}

void StreamedMovie::WriteSpool(const std::vector<uint8_t>& bytes) {
    if (!m_spool) {
        throw swf::Error("the movie is already written");
    }
    WriteAll(m_spool.get(), bytes.data(), bytes.size(), m_spoolPath);
    m_tagBytes += bytes.size();
}

void StreamedMovie::Append(const swf::Tag& tag) {
    const bool frame = std::holds_alternative<swf::ShowFrame>(tag);
    if (frame && m_frames >= kMaxFrames) {
        throw swf::Error("too many frames: a movie holds at most 65535");
    }
    m_scratch.clear();
    swf::write_tag(tag, m_scratch);
    WriteSpool(m_scratch);
    m_frames += frame ? 1 : 0;
}

void StreamedMovie::Finish(int compressionLevel) {
    if (compressionLevel < -1 || compressionLevel > 9) {
        throw swf::Error("compression level must be -1 (none) or 0 to 9");
    }
    Append(swf::End{});

    // The header up to the tags, as the library writes it, with the frame count now known.
    swf::MovieHeader header;
    header.version = m_version;
    header.stage = m_stage;
    header.frame_rate = m_frameRate;
    header.frame_count = static_cast<uint16_t>(m_frames);
    std::vector<uint8_t> head = swf::write_swf_file(header, {}, -1);
    const uint64_t fileLength = head.size() + m_tagBytes;
    if (fileLength > 0xFFFFFFFFu) {
        throw swf::Error("the movie is too large for a SWF file");
    }
    for (int i = 0; i < 4; ++i) {
        head[4 + i] = static_cast<uint8_t>(fileLength >> (8 * i));
    }
    const bool compressed = compressionLevel >= 0;
    head[0] = compressed ? 'C' : 'F';

    fs::path partial = m_target;
    partial += ".part";
    std::unique_ptr<std::FILE, FileCloser> out(std::fopen(partial.c_str(), "wb"));
    if (!out || std::fflush(m_spool.get()) != 0 || std::fseek(m_spool.get(), 0, SEEK_SET) != 0) {
        throw swf::Error("cannot write the movie file " + m_target.string());
    }
    try {
        z_stream stream{};
        std::unique_ptr<z_stream, DeflateEnd> streamGuard;
        if (compressed) {
            if (deflateInit(&stream, compressionLevel) != Z_OK) {
                throw swf::Error("compressing the movie failed");
            }
            streamGuard.reset(&stream);
            WriteAll(out.get(), head.data(), 8, partial);
            Deflate(stream, head.data() + 8, head.size() - 8, false, out.get(), partial);
        } else {
            WriteAll(out.get(), head.data(), head.size(), partial);
        }
        std::vector<uint8_t> chunk(kChunk);
        uint64_t copied = 0;
        while (copied < m_tagBytes) {
            const size_t got = std::fread(chunk.data(), 1, chunk.size(), m_spool.get());
            if (got == 0) {
                throw swf::Error("cannot read back " + m_spoolPath.string());
            }
            copied += got;
            if (compressed) {
                Deflate(stream, chunk.data(), got, false, out.get(), partial);
            } else {
                WriteAll(out.get(), chunk.data(), got, partial);
            }
        }
        if (compressed) {
            Deflate(stream, nullptr, 0, true, out.get(), partial);
        }
        if (std::fflush(out.get()) != 0 || std::ferror(out.get())) {
            throw swf::Error("cannot write the movie file " + m_target.string());
        }
        const int closed = std::fclose(out.release());
        if (closed != 0) {
            throw swf::Error("cannot write the movie file " + m_target.string());
        }
        std::error_code error;
        fs::rename(partial, m_target, error);
        if (error) {
            throw swf::Error("cannot write the movie file " + m_target.string());
        }
    } catch (...) {
        out.reset();
        std::error_code ignored;
        fs::remove(partial, ignored);
        throw;
    }
    m_spool.reset();
    std::error_code ignored;
    fs::remove(m_spoolPath, ignored);
}

} // namespace album
