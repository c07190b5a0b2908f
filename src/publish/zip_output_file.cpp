#include "publish/zip_output_file.h"

#include "publish/zip_error.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace publish::detail {

namespace {

constexpr std::size_t kBufferSize = 1024 * 1024;

std::string describe(const std::filesystem::path& path, int error) {
    return path.string() + ": " + std::strerror(error);
}

} // namespace

ZipOutputFile::~ZipOutputFile() {
    discard();
}

void ZipOutputFile::open(const std::filesystem::path& target, std::mt19937_64& random) {
    discard();
    std::error_code ec;
    if (std::filesystem::is_directory(target, ec)) {
        throw CZipException(describe(target, EISDIR));
    }
    const std::filesystem::path folder = target.parent_path().empty() ? "." : target.parent_path();
    // A hidden name beside the target; the random part keeps two writers of one folder apart.
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[32];
        std::snprintf(suffix, sizeof suffix, ".%016llx.part", static_cast<unsigned long long>(random()));
        const std::filesystem::path work = folder / ("." + target.filename().string() + suffix);
        const int fd = ::open(work.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            m_fd = fd;
            struct stat info {};
            ::fstat(fd, &info);
            m_work = FileId{std::uint64_t(info.st_dev), std::uint64_t(info.st_ino)};
            m_oldTarget.reset();
            if (::stat(target.c_str(), &info) == 0) {
                m_oldTarget = FileId{std::uint64_t(info.st_dev), std::uint64_t(info.st_ino)};
            }
            m_target = target;
            m_workPath = work;
            m_nFlushed = 0;
            m_buffer.clear();
            m_buffer.reserve(kBufferSize);
            return;
        }
        if (errno != EEXIST) {
            throw CZipException(describe(target, errno));
        }
    }
    throw CZipException(describe(target, EEXIST));
}

bool ZipOutputFile::is_own_file(std::uint64_t device, std::uint64_t inode) const {
    if (m_fd < 0) {
        return false;
    }
    const auto same = [&](const FileId& id) { return id.device == device && id.inode == inode; };
    return same(m_work) || (m_oldTarget && same(*m_oldTarget));
}

void ZipOutputFile::write_at(std::uint64_t offset, std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::pwrite(m_fd, bytes.data(), bytes.size(), off_t(offset));
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw CZipException(describe(m_target, errno));
        }
        offset += std::uint64_t(n);
        bytes = bytes.subspan(std::size_t(n));
    }
}

void ZipOutputFile::flush() {
    write_at(m_nFlushed, m_buffer);
    m_nFlushed += m_buffer.size();
    m_buffer.clear();
}

void ZipOutputFile::write(std::span<const std::uint8_t> bytes) {
    if (m_buffer.size() + bytes.size() > kBufferSize) {
        flush();
        if (bytes.size() >= kBufferSize) {
            write_at(m_nFlushed, bytes);
            m_nFlushed += bytes.size();
            return;
        }
    }
    m_buffer.insert(m_buffer.end(), bytes.begin(), bytes.end());
}

void ZipOutputFile::patch(std::uint64_t offset, std::span<const std::uint8_t> bytes) {
    if (offset >= m_nFlushed) {
        std::memcpy(m_buffer.data() + (offset - m_nFlushed), bytes.data(), bytes.size());
        return;
    }
    flush();
    write_at(offset, bytes);
}

void ZipOutputFile::rewind(std::uint64_t offset) {
    if (offset >= m_nFlushed) {
        m_buffer.resize(offset - m_nFlushed);
        return;
    }
    m_buffer.clear();
    m_nFlushed = offset;
}

void ZipOutputFile::commit() {
    flush();
    if (::ftruncate(m_fd, off_t(m_nFlushed)) != 0) {
        throw CZipException(describe(m_target, errno));
    }
    const int fd = std::exchange(m_fd, -1);
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(m_workPath.c_str());
        throw CZipException(describe(m_target, error));
    }
    if (::rename(m_workPath.c_str(), m_target.c_str()) != 0) {
        const int error = errno;
        ::unlink(m_workPath.c_str());
        throw CZipException(describe(m_target, error));
    }
}

void ZipOutputFile::discard() noexcept {
    if (m_fd < 0) {
        return;
    }
    ::close(m_fd);
    m_fd = -1;
    ::unlink(m_workPath.c_str());
}

} // namespace publish::detail
