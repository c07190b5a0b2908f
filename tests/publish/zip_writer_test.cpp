// The writer and the locked zip: the edge cases of the archive's layout, encryption, left-out files,
// failures, the entry limit and the parallel writer's output.
#include "publish/locked_zip.h"
#include "publish/zip_crypto.h"
#include "publish/zip_folder.h"
#include "publish/zip_writer.h"
#include "zip_test_support.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using namespace publish;
using zip_test::InspectedArchive;
using zip_test::TempDir;
using zip_test::WriteFile;

std::optional<InspectedArchive> inspect(const std::filesystem::path& path) {
    return zip_test::InspectZip(zip_test::ReadBytes(path));
}

std::vector<std::string> names(const InspectedArchive& archive) {
    std::vector<std::string> result;
    for (const auto& e : archive.entries) {
        result.push_back(e.central.name);
    }
    return result;
}

std::vector<std::string> texts(const std::vector<PublishMessage>& messages) {
    std::vector<std::string> result;
    for (const auto& m : messages) {
        result.push_back(m.text);
    }
    return result;
}

// Names of what lies in a folder, to see that no work file was left behind.
std::vector<std::string> listing(const std::filesystem::path& folder) {
    std::vector<std::string> result;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        result.push_back(entry.path().filename().string());
    }
    std::sort(result.begin(), result.end());
    return result;
}

void expect_same_fields(const ZipEntryHeader& a, const ZipEntryHeader& b) {
    EXPECT_EQ(a.flags, b.flags);
    EXPECT_EQ(a.method, b.method);
    EXPECT_EQ(a.dos_time, b.dos_time);
    EXPECT_EQ(a.dos_date, b.dos_date);
    EXPECT_EQ(a.crc32, b.crc32);
    EXPECT_EQ(a.compressed_size, b.compressed_size);
    EXPECT_EQ(a.uncompressed_size, b.uncompressed_size);
    EXPECT_EQ(a.name, b.name);
}

TEST(LockedZip, EmptyFolderGivesOnlyTheEndRecord) {
    TempDir dir;
    std::filesystem::create_directory(dir / "empty");
    for (const char* password : {"", "secret"}) {
        const auto messages = BuildLockedZip(dir / "out.zip", dir / "empty", password);
        EXPECT_EQ(texts(messages), std::vector<std::string>{std::string(kZipCreated)});
        const std::vector<std::uint8_t> expected = {0x50, 0x4B, 0x05, 0x06, 0, 0, 0, 0, 0, 0, 0,
                                                    0,    0,    0,    0,    0, 0, 0, 0, 0, 0, 0};
        EXPECT_EQ(zip_test::ReadBytes(dir / "out.zip"), expected);
    }
}

TEST(LockedZip, FoldersComeJustBeforeTheirContentAndNamesAreFlat) {
    TempDir dir;
    const auto src = dir / "src";
    std::filesystem::create_directories(src / "pics");
    std::filesystem::create_directories(src / "c" / "d");
    WriteFile(src / "pics" / "a.jpg", "jpeg");
    WriteFile(src / "b.txt", "b");
    WriteFile(src / "a.txt", "a");
    WriteFile(src / "c" / "z", "z");
    WriteFile(src / "c" / "A", "A");
    WriteFile(src / "c" / "d" / "deep", "deep");
    BuildLockedZip(dir / "out.zip", src, "");
    const auto archive = inspect(dir / "out.zip");
    ASSERT_TRUE(archive);
    // Each folder's listing in order of name, depth first.
    EXPECT_EQ(names(*archive),
              (std::vector<std::string>{"a.txt", "b.txt", "c", "A", "d", "deep", "z", "pics", "a.jpg"}));
    const auto& pics = archive->entries[7].central;
    EXPECT_EQ(pics.method, kZipMethodStored);
    EXPECT_EQ(pics.external_attributes, kZipAttributeDirectory);
    EXPECT_EQ(pics.compressed_size, 0u);
    EXPECT_EQ(archive->entries[8].central.method, kZipMethodDeflated);
}

TEST(LockedZip, SameNameInTwoFoldersGivesTwoEntries) {
    TempDir dir;
    std::filesystem::create_directories(dir / "src" / "one");
    std::filesystem::create_directories(dir / "src" / "two");
    WriteFile(dir / "src" / "one" / "x.txt", "first");
    WriteFile(dir / "src" / "two" / "x.txt", "second one");
    BuildLockedZip(dir / "out.zip", dir / "src", "");
    const auto archive = inspect(dir / "out.zip");
    ASSERT_TRUE(archive);
    EXPECT_EQ(names(*archive), (std::vector<std::string>{"one", "x.txt", "two", "x.txt"}));
    EXPECT_EQ(archive->entries[1].central.uncompressed_size, 5u);
    EXPECT_EQ(archive->entries[3].central.uncompressed_size, 10u);
}

// A folder with a subfolder, files of several sizes and an empty file.
void make_mixed_folder(const std::filesystem::path& src) {
    std::filesystem::create_directories(src / "pics");
    WriteFile(src / "text.txt", zip_test::TextBytes(200000, 1));
    WriteFile(src / "empty.txt", "");
    zip_test::WriteBytes(src / "pics" / "a.jpg", zip_test::RandomBytes(70000, 2));
}

TEST(LockedZip, WithAPasswordEveryEntryIsEncryptedWithADescriptor) {
    TempDir dir;
    make_mixed_folder(dir / "src");
    BuildLockedZip(dir / "out.zip", dir / "src", "secret");
    const auto bytes = zip_test::ReadBytes(dir / "out.zip");
    const auto archive = zip_test::InspectZip(bytes);
    ASSERT_TRUE(archive);
    ASSERT_EQ(names(*archive), (std::vector<std::string>{"empty.txt", "pics", "a.jpg", "text.txt"}));
    for (const auto& e : archive->entries) {
        SCOPED_TRACE(e.central.name);
        EXPECT_EQ(e.central.flags, kZipFlagEncrypted | kZipFlagDataDescriptor);
        expect_same_fields(e.local, e.central); // the local header was completed after the data
        ASSERT_TRUE(e.descriptor);
        EXPECT_EQ(e.descriptor->crc32, e.central.crc32);
        EXPECT_EQ(e.descriptor->compressed_size, e.central.compressed_size);
        EXPECT_EQ(e.descriptor->uncompressed_size, e.central.uncompressed_size);
        // The encryption header decrypts to the modification time in its last two bytes.
        ASSERT_GE(e.central.compressed_size, kZipEncryptionHeaderSize);
        std::vector<std::uint8_t> header(bytes.begin() + e.data_offset, bytes.begin() + e.data_offset + 12);
        ZipCrypto("secret").decrypt(header);
        EXPECT_EQ(header[10], e.central.dos_time & 0xFF);
        EXPECT_EQ(header[11], e.central.dos_time >> 8);
    }
    const auto& pics = archive->entries[1].central;
    EXPECT_EQ(pics.compressed_size, 12u);
    EXPECT_EQ(pics.uncompressed_size, 0u);
    EXPECT_EQ(pics.crc32, 0u);
    EXPECT_EQ(pics.method, kZipMethodStored);
    EXPECT_EQ(archive->entries[0].central.compressed_size, 12u + 2u); // an empty deflate stream
}

TEST(LockedZip, WithoutAPasswordNoEntryHasADescriptor) {
    TempDir dir;
    make_mixed_folder(dir / "src");
    BuildLockedZip(dir / "out.zip", dir / "src", "");
    const auto archive = inspect(dir / "out.zip");
    ASSERT_TRUE(archive);
    ASSERT_EQ(archive->entries.size(), 4u);
    for (const auto& e : archive->entries) {
        SCOPED_TRACE(e.central.name);
        EXPECT_EQ(e.central.flags, 0);
        EXPECT_FALSE(e.descriptor);
        expect_same_fields(e.local, e.central);
    }
    EXPECT_EQ(archive->entries[2].central.uncompressed_size, 70000u);
}

TEST(LockedZip, EncryptionHeadersComeFromARandomSource) {
    TempDir dir;
    WriteFile(dir / "a.txt", "same content");
    std::vector<std::vector<std::uint8_t>> headers;
    for (const char* out : {"one.zip", "two.zip"}) {
        CZipWriter zip;
        zip.create(dir / out);
        zip.set_password("pw");
        zip.add_file(dir / "a.txt", kZipDefaultLevel, kZipReadBufferSize);
        zip.close();
        const auto bytes = zip_test::ReadBytes(dir / out);
        const auto archive = zip_test::InspectZip(bytes);
        ASSERT_TRUE(archive);
        const auto at = bytes.begin() + archive->entries.at(0).data_offset;
        headers.emplace_back(at, at + 10);
    }
    EXPECT_NE(headers[0], headers[1]);
}

TEST(LockedZip, ASecondBuildReplacesTheArchive) {
    TempDir dir;
    make_mixed_folder(dir / "src");
    WriteFile(dir / "out.zip", "an older archive");
    EXPECT_EQ(texts(BuildLockedZip(dir / "out.zip", dir / "src", "")),
              std::vector<std::string>{std::string(kZipCreated)});
    EXPECT_TRUE(inspect(dir / "out.zip"));
    EXPECT_EQ(listing(dir.path()), (std::vector<std::string>{"out.zip", "src"}));
}

TEST(LockedZip, AnArchiveInsideThePackedFolderLeavesItselfOut) {
    TempDir dir;
    make_mixed_folder(dir / "src");
    BuildLockedZip(dir / "src" / "out.zip", dir / "src", ""); // no old archive: only the work file
    const auto messages = BuildLockedZip(dir / "src" / "out.zip", dir / "src", ""); // and the old one
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[0].detail, "it is the archive being written");
    EXPECT_EQ(messages[1].text, "Not in the zip file: " + (dir / "src" / "out.zip").string());
    const auto archive = inspect(dir / "src" / "out.zip");
    ASSERT_TRUE(archive);
    EXPECT_EQ(names(*archive), (std::vector<std::string>{"empty.txt", "pics", "a.jpg", "text.txt"}));
}

TEST(LockedZip, AnUncreatableTargetReportsCreateFailed) {
    TempDir dir;
    make_mixed_folder(dir / "src");
    const auto messages = BuildLockedZip(dir / "missing" / "out.zip", dir / "src", "pw");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, kZipCreateFailed);
    EXPECT_EQ(messages[0].icon, MessageIcon::Stop);
    EXPECT_NE(messages[0].detail.find("missing"), std::string::npos);
    // A folder in the archive's place cannot be replaced either.
    std::filesystem::create_directory(dir / "taken.zip");
    EXPECT_EQ(texts(BuildLockedZip(dir / "taken.zip", dir / "src", "")),
              std::vector<std::string>{std::string(kZipCreateFailed)});
}

TEST(LockedZip, AFailedBuildLeavesTheOlderArchiveInPlace) {
    TempDir dir;
    WriteFile(dir / "out.zip", "an older archive");
    const auto messages = BuildLockedZip(dir / "out.zip", dir / "no such folder", "");
    EXPECT_EQ(texts(messages), std::vector<std::string>{std::string(kZipCreateFailed)});
    EXPECT_EQ(zip_test::ReadBytes(dir / "out.zip"),
              std::vector<std::uint8_t>(std::string_view("an older archive").begin(),
                                        std::string_view("an older archive").end()));
    EXPECT_EQ(listing(dir.path()), std::vector<std::string>{"out.zip"});
}

// Limits the size of files this process writes, as a full disk would.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN); // a failed write instead of a signal
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
};

TEST(LockedZip, AWriteFailureKeepsTheOlderArchive) {
    for (unsigned threads : {1u, 2u}) {
        TempDir dir;
        std::filesystem::create_directory(dir / "src");
        // More files than the parallel writer keeps in flight, so both writers fail while adding.
        for (int i = 0; i < 10; ++i) {
            zip_test::WriteBytes(dir / "src" / ("part" + std::to_string(i)),
                                 zip_test::RandomBytes(300000, i));
        }
        WriteFile(dir / "out.zip", "an older archive");
        std::vector<PublishMessage> messages;
        {
            FileSizeLimit limit(1 << 20);
            messages = BuildLockedZip(dir / "out.zip", dir / "src", "", CZipOptions{threads, {}});
        }
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].text, kZipCreateFailed);
        EXPECT_NE(messages[0].detail.find("too large"), std::string::npos) << messages[0].detail;
        EXPECT_EQ(zip_test::ReadBytes(dir / "out.zip").size(), std::string_view("an older archive").size());
        EXPECT_EQ(listing(dir.path()), (std::vector<std::string>{"out.zip", "src"}));
    }
}

TEST(LockedZip, AWriterNotClosedLeavesNothingBehind) {
    TempDir dir;
    make_mixed_folder(dir / "src");
    for (unsigned threads : {1u, 2u}) {
        CZipWriter zip(CZipOptions{threads, {}});
        zip.create(dir / "out.zip");
        AddFolderToZip(zip, dir / "src");
    }
    EXPECT_EQ(listing(dir.path()), std::vector<std::string>{"src"});
}

// A file that cannot be opened (a link to nothing), one whose reading fails part way (the process's
// own memory, which cannot be read from its start), and a pipe, which is not a regular file.
void add_unreadable_sources(const std::filesystem::path& src) {
    std::filesystem::create_symlink(src / "nowhere", src / "gone.txt");
    std::filesystem::create_symlink("/proc/self/mem", src / "mem.bin");
    ASSERT_EQ(mkfifo((src / "pipe").c_str(), 0600), 0);
}

TEST(LockedZip, UnreadableFilesAreLeftOutAndNamed) {
    for (unsigned threads : {1u, 2u}) {
        SCOPED_TRACE(threads);
        TempDir dir;
        make_mixed_folder(dir / "src");
        add_unreadable_sources(dir / "src");
        if (geteuid() != 0) { // rights do not stop the superuser
            WriteFile(dir / "src" / "secret.txt", "x");
            std::filesystem::permissions(dir / "src" / "secret.txt", std::filesystem::perms::none);
        }
        const auto messages = BuildLockedZip(dir / "out.zip", dir / "src", "pw", CZipOptions{threads, {}});
        ASSERT_GE(messages.size(), 4u);
        std::vector<std::string> expected = {"Not in the zip file: " + (dir / "src" / "gone.txt").string(),
                                             "Not in the zip file: " + (dir / "src" / "mem.bin").string(),
                                             "Not in the zip file: " + (dir / "src" / "pipe").string()};
        if (geteuid() != 0) {
            expected.push_back("Not in the zip file: " + (dir / "src" / "secret.txt").string());
        }
        expected.push_back(std::string(kZipCreated));
        EXPECT_EQ(texts(messages), expected);
        EXPECT_EQ(messages[0].icon, MessageIcon::Warning);
        EXPECT_FALSE(messages[0].detail.empty());
        const auto archive = inspect(dir / "out.zip");
        ASSERT_TRUE(archive);
        EXPECT_EQ(names(*archive), (std::vector<std::string>{"empty.txt", "pics", "a.jpg", "text.txt"}));
        zip_test::TempDir logs;
        EXPECT_EQ(zip_test::RunCommand("unzip -t -P pw " + zip_test::Quote(dir / "out.zip"), logs / "log"),
                  0);
    }
}

TEST(ZipWriter, StopsAtTheEntryLimit) {
    TempDir dir;
    WriteFile(dir / "a", "");
    CZipWriter zip;
    zip.create(dir / "out.zip");
    for (std::size_t i = 0; i < kZipMaxEntries; ++i) {
        ASSERT_TRUE(zip.add_file(dir / "a", kZipStored, kZipReadBufferSize));
    }
    EXPECT_FALSE(zip.add_file(dir / "a", kZipStored, kZipReadBufferSize));
    EXPECT_EQ(zip.entry_count(), kZipMaxEntries);
    ASSERT_EQ(zip.skipped_files().size(), 1u);
    zip.close();
    const auto archive = inspect(dir / "out.zip");
    ASSERT_TRUE(archive);
    EXPECT_EQ(archive->entries.size(), kZipMaxEntries);
}

TEST(ZipWriter, LevelZeroStoresTheBytes) {
    TempDir dir;
    const auto content = zip_test::RandomBytes(100000, 7);
    zip_test::WriteBytes(dir / "raw.bin", content);
    CZipWriter zip;
    zip.create(dir / "out.zip");
    zip.add_file(dir / "raw.bin", kZipStored, 1000);
    zip.close();
    const auto bytes = zip_test::ReadBytes(dir / "out.zip");
    const auto archive = zip_test::InspectZip(bytes);
    ASSERT_TRUE(archive);
    const auto& e = archive->entries.at(0);
    EXPECT_EQ(e.central.method, kZipMethodStored);
    EXPECT_EQ(e.central.compressed_size, content.size());
    EXPECT_TRUE(std::equal(content.begin(), content.end(), bytes.begin() + e.data_offset));
}

TEST(ZipWriter, RefusesMisuse) {
    TempDir dir;
    WriteFile(dir / "a", "a");
    CZipWriter zip;
    EXPECT_THROW(zip.add_file(dir / "a", kZipDefaultLevel, kZipReadBufferSize), CZipException);
    zip.close(); // nothing to close
    zip.create(dir / "out.zip");
    EXPECT_THROW(zip.add_file(dir / "a", 10, kZipReadBufferSize), CZipException);
    EXPECT_THROW(zip.add_file(dir / "a", -2, kZipReadBufferSize), CZipException);
    zip.close();
    EXPECT_TRUE(inspect(dir / "out.zip"));
}

TEST(ZipWriter, ThreadsGiveTheSameBytes) {
    TempDir dir;
    const auto src = dir / "src";
    std::filesystem::create_directories(src / "many");
    std::filesystem::create_directories(src / "big");
    for (int i = 0; i < 40; ++i) {
        WriteFile(src / "many" / ("t" + std::to_string(i)), zip_test::TextBytes(1000 * i, i));
    }
    // Larger than what one entry may hold in flight, so its worker waits for the writer.
    zip_test::WriteBytes(src / "big" / "random.bin", zip_test::RandomBytes(9 << 20, 3));
    WriteFile(src / "big" / "text.txt", zip_test::TextBytes(1 << 20, 4));
    std::filesystem::create_symlink("/proc/self/mem", src / "many" / "mem.bin");
    for (const char* password : {"", "pw"}) {
        std::vector<std::vector<std::uint8_t>> results;
        for (unsigned threads : {1u, 2u}) {
            const auto out = dir / ("out" + std::to_string(threads) + ".zip");
            BuildLockedZip(out, src, password, CZipOptions{threads, 42});
            results.push_back(zip_test::ReadBytes(out));
        }
        EXPECT_TRUE(inspect(dir / "out1.zip"));
        EXPECT_EQ(inspect(dir / "out1.zip")->entries.size(), 1u + 2 + 1 + 40);
        EXPECT_TRUE(results[0] == results[1]) << password;
    }
}

} // namespace
