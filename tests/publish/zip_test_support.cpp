#include "zip_test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <sys/wait.h>

namespace zip_test {

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "cw-zip-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary folder");
    }
    m_path = pattern;
}

TempDir::~TempDir() {
    std::error_code ec;
    // Give back rights a test took away, so everything can be removed.
    for (auto it = std::filesystem::recursive_directory_iterator(m_path, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
        std::filesystem::permissions(
            it->path(), std::filesystem::perms::owner_all,
            std::filesystem::perm_options::add | std::filesystem::perm_options::nofollow, ec);
    }
    std::filesystem::remove_all(m_path, ec);
}

void WriteFile(const std::filesystem::path& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary);
    out << content;
    if (!out) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

void WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    WriteFile(path, std::string(bytes.begin(), bytes.end()));
}

std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::uint8_t> RandomBytes(std::size_t size, std::uint32_t seed) {
    std::mt19937 random(seed);
    std::vector<std::uint8_t> bytes(size);
    for (auto& b : bytes) {
        b = std::uint8_t(random());
    }
    return bytes;
}

std::string TextBytes(std::size_t size, std::uint32_t seed) {
    static const char* const kWords[] = {"card ",  "gift ",  "happy ", "birthday ", "link ", "button ",
                                         "score ", "frame ", "movie ", "picture\n", "the ",  "a "};
    std::mt19937 random(seed);
    std::string text;
    text.reserve(size + 16);
    while (text.size() < size) {
        text += kWords[random() % std::size(kWords)];
    }
    text.resize(size);
    return text;
}

namespace {

std::uint16_t get16(const std::vector<std::uint8_t>& b, std::uint64_t at) {
    return std::uint16_t(b[at] | b[at + 1] << 8);
}

std::uint32_t get32(const std::vector<std::uint8_t>& b, std::uint64_t at) {
    return std::uint32_t(get16(b, at)) | std::uint32_t(get16(b, at + 2)) << 16;
}

// Flags, method, time, date, CRC and sizes, at `at` (the field after "version needed").
void read_common(const std::vector<std::uint8_t>& b, std::uint64_t at, publish::ZipEntryHeader& h) {
    h.flags = get16(b, at);
    h.method = get16(b, at + 2);
    h.dos_time = get16(b, at + 4);
    h.dos_date = get16(b, at + 6);
    h.crc32 = get32(b, at + 8);
    h.compressed_size = get32(b, at + 12);
    h.uncompressed_size = get32(b, at + 16);
}

} // namespace

std::optional<InspectedArchive> InspectZip(const std::vector<std::uint8_t>& b) {
    using namespace publish;
    if (b.size() < kEndRecordSize) {
        ADD_FAILURE() << "archive shorter than an end record";
        return std::nullopt;
    }
    const std::uint64_t end = b.size() - kEndRecordSize; // no archive comment, so the record ends the file
    if (get32(b, end) != 0x06054B50 || get16(b, end + 4) != 0 || get16(b, end + 6) != 0 ||
        get16(b, end + 20) != 0 || get16(b, end + 8) != get16(b, end + 10)) {
        ADD_FAILURE() << "bad end record";
        return std::nullopt;
    }
    InspectedArchive archive;
    const std::size_t count = get16(b, end + 10);
    const std::uint32_t directory_size = get32(b, end + 12);
    archive.directory_offset = get32(b, end + 16);
    if (archive.directory_offset + directory_size != end) {
        ADD_FAILURE() << "central directory does not end where the end record starts";
        return std::nullopt;
    }

    std::uint64_t at = archive.directory_offset;
    std::uint64_t expected_local = 0; // entries follow each other without gaps
    for (std::size_t i = 0; i < count; ++i) {
        InspectedEntry e;
        if (at + kCentralHeaderSize > end || get32(b, at) != 0x02014B50 || get16(b, at + 4) != 20 ||
            get16(b, at + 6) != 20) {
            ADD_FAILURE() << "bad central header " << i;
            return std::nullopt;
        }
        read_common(b, at + 8, e.central);
        const std::uint16_t name_length = get16(b, at + 28);
        EXPECT_EQ(get16(b, at + 30), 0) << "extra field";
        EXPECT_EQ(get16(b, at + 32), 0) << "comment";
        EXPECT_EQ(get16(b, at + 34), 0) << "disk";
        EXPECT_EQ(get16(b, at + 36), 0) << "internal attributes";
        e.central.external_attributes = get32(b, at + 38);
        e.central.local_header_offset = get32(b, at + 42);
        e.central.name.assign(b.begin() + at + kCentralHeaderSize,
                              b.begin() + at + kCentralHeaderSize + name_length);
        at += kCentralHeaderSize + name_length;

        const std::uint64_t local = e.central.local_header_offset;
        if (local != expected_local || local + kLocalHeaderSize > archive.directory_offset ||
            get32(b, local) != 0x04034B50 || get16(b, local + 4) != 20) {
            ADD_FAILURE() << "bad local header " << i;
            return std::nullopt;
        }
        read_common(b, local + 6, e.local);
        const std::uint16_t local_name_length = get16(b, local + 26);
        EXPECT_EQ(get16(b, local + 28), 0) << "local extra field";
        e.local.name.assign(b.begin() + local + kLocalHeaderSize,
                            b.begin() + local + kLocalHeaderSize + local_name_length);
        e.data_offset = local + kLocalHeaderSize + local_name_length;
        std::uint64_t next = e.data_offset + e.central.compressed_size;
        if (next + 4 <= archive.directory_offset && get32(b, next) == 0x08074B50) {
            publish::ZipEntryHeader d;
            d.crc32 = get32(b, next + 4);
            d.compressed_size = get32(b, next + 8);
            d.uncompressed_size = get32(b, next + 12);
            e.descriptor = d;
            next += kDataDescriptorSize;
        }
        expected_local = next;
        archive.entries.push_back(std::move(e));
    }
    if (expected_local != archive.directory_offset) {
        ADD_FAILURE() << "bytes between the last entry and the central directory";
        return std::nullopt;
    }
    return archive;
}

int RunCommand(const std::string& command, const std::filesystem::path& log) {
    const std::string line = command + " >" + Quote(log) + " 2>&1";
    const int status = std::system(line.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string Quote(const std::filesystem::path& path) {
    std::string quoted = "'";
    for (char c : path.string()) {
        if (c == '\'') {
            quoted += "'\\''";
        } else {
            quoted += c;
        }
    }
    return quoted + "'";
}

} // namespace zip_test
