// Project files on disk. Saving writes a complete new file beside the target and renames it over the
// target, so a failed save never costs the previous file.
#include "model/archive.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>

namespace model {

namespace {

std::string SystemError(const std::string& what, const std::filesystem::path& path) {
    return what + " " + path.string() + ": " + std::strerror(errno);
}

// Writes all bytes to a new file beside `path` and renames it over `path`.
void WriteBesideAndRename(const std::vector<uint8_t>& bytes, const std::filesystem::path& path) {
    std::string pattern = path.string() + ".XXXXXX";
    const int fd = mkstemp(pattern.data());
    if (fd < 0) {
        throw SaveError(SystemError("cannot create a file beside", path));
    }
    const std::filesystem::path temp = pattern;
    auto fail = [&](const std::string& what) {
        const std::string message = SystemError(what, temp);
        ::close(fd);
        std::error_code ignored;
        std::filesystem::remove(temp, ignored);
        throw SaveError(message);
    };
    // mkstemp makes the file private; give it the permissions of a normally created file.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    if (::fchmod(fd, 0666 & ~mask) != 0) {
        fail("cannot set permissions of");
    }
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            fail("cannot write");
        }
        done += static_cast<size_t>(n);
    }
    if (::fsync(fd) != 0) {
        fail("cannot flush");
    }
    if (::close(fd) != 0) {
        const std::string message = SystemError("cannot close", temp);
        std::error_code ignored;
        std::filesystem::remove(temp, ignored);
        throw SaveError(message);
    }
    std::error_code ec;
    std::filesystem::rename(temp, path, ec);
    if (ec) {
        std::error_code ignored;
        std::filesystem::remove(temp, ignored);
        throw SaveError("cannot replace " + path.string() + ": " + ec.message());
    }
}

} // namespace

Project LoadProjectFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw ArchiveError("cannot open " + path.string());
    }
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        throw ArchiveError("cannot read " + path.string());
    }
    return ReadProject(bytes);
}

bool SaveProjectFile(const Project& project, const std::filesystem::path& path) {
    if (project.cards.empty()) {
        return false;
    }
    WriteBesideAndRename(WriteProject(project), path);
    return true;
}

} // namespace model
