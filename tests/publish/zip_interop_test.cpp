// Archives read by other programs: Info-ZIP unzip, 7-Zip and Python's zipfile test them and extract
// the same bytes that went in, with and without a password.
#include "publish/locked_zip.h"
#include "publish/zip_name.h"
#include "zip_test_support.h"

#include <gtest/gtest.h>

namespace {

using namespace publish;
using zip_test::Quote;
using zip_test::RunCommand;
using zip_test::TempDir;
using zip_test::WriteFile;

constexpr const char* kGerman = "Gr\xC3\xBC\xC3\x9F"
                                "e.txt";                          // Grüße.txt, fits CP437
constexpr const char* kJapanese = "\xE6\x97\xA5\xE6\x9C\xAC.txt"; // 日本.txt, UTF-8 with bit 11
constexpr const char* kMixed = "caf\xC3\xA9 \xE2\x82\xAC";        // café €, UTF-8 with bit 11

// Files, nested folders, an empty folder, empty files, non-ASCII names and a 100 MB file; every name
// unique, so the flat archive can be compared with the tree.
void make_tree(const std::filesystem::path& src) {
    std::filesystem::create_directories(src / "docs" / "deeper");
    std::filesystem::create_directories(src / "hollow");
    WriteFile(src / "readme.txt", zip_test::TextBytes(50000, 1));
    zip_test::WriteBytes(src / "photo.jpg", zip_test::RandomBytes(300000, 2));
    WriteFile(src / "empty.dat", "");
    WriteFile(src / kGerman, "Gr\xC3\xBC\xC3\x9F"
                             "e\n");
    WriteFile(src / kJapanese, zip_test::TextBytes(777, 3));
    WriteFile(src / kMixed, "euro");
    WriteFile(src / "docs" / "notes.txt", zip_test::TextBytes(100000, 4));
    zip_test::WriteBytes(src / "docs" / "deeper" / "deep.bin", zip_test::RandomBytes(70000, 5));
    WriteFile(src / "docs" / "deeper" / "zero", "");
    // 100 MB of a repeated random block shorter than the deflate window: large, yet quick to deflate
    // and small once deflated, so even Python's slow decryption checks it quickly.
    const auto block = zip_test::RandomBytes(1 << 14, 6);
    std::string big;
    big.reserve(100u << 20);
    for (int i = 0; i < 6400; ++i) {
        big.append(block.begin(), block.end());
    }
    WriteFile(src / "docs" / "big.bin", big);
}

bool is_ascii(const std::string& name) {
    return std::all_of(name.begin(), name.end(), [](char c) { return (unsigned char)c < 0x80; });
}

// Which names a tool on this system gives back as they were: Info-ZIP unzip turns every name of an
// archive made on MS-DOS into Latin-1 (bit 11 or not), and 7-Zip writes CP437 names as raw bytes.
enum class NamesKept { AsciiOnly, AsciiAndUtf8 };

bool name_kept(const std::string& name, NamesKept kept) {
    return is_ascii(name) || (kept == NamesKept::AsciiAndUtf8 && EncodeZipName(name).utf8);
}

// Every file of the tree, found by its own name in the flat folder `extracted`, has the same bytes.
void expect_extracted(const std::filesystem::path& src, const std::filesystem::path& extracted,
                      NamesKept kept) {
    int compared = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(src)) {
        const std::string name = entry.path().filename().string();
        if (!entry.is_regular_file() || !name_kept(name, kept) || name == "big.bin") {
            continue;
        }
        const auto out = extracted / name;
        ASSERT_TRUE(std::filesystem::is_regular_file(out)) << out;
        EXPECT_EQ(std::filesystem::file_size(out), entry.file_size()) << name;
        EXPECT_TRUE(zip_test::ReadBytes(out) == zip_test::ReadBytes(entry.path())) << name;
        ++compared;
    }
    EXPECT_EQ(compared, kept == NamesKept::AsciiOnly ? 6 : 8);
}

class ZipInterop : public ::testing::TestWithParam<const char*> {
protected:
    static void SetUpTestSuite() {
        s_dir = new TempDir;
        make_tree(s_dir->path() / "src");
    }
    static void TearDownTestSuite() {
        delete s_dir;
        s_dir = nullptr;
    }
    static TempDir* s_dir;
};

TempDir* ZipInterop::s_dir = nullptr;

TEST_P(ZipInterop, OtherToolsTestAndExtractTheArchive) {
    const std::string password = GetParam();
    const auto src = s_dir->path() / "src";
    TempDir work;
    const auto archive = work / "gift.swf.zip";
    const auto messages = BuildLockedZip(archive, src, password, CZipOptions{2, {}});
    ASSERT_EQ(messages.size(), 1u);
    ASSERT_EQ(messages[0].text, kZipCreated);
    const auto log = work / "log";
    const std::string pw = Quote(password);

    EXPECT_EQ(RunCommand("unzip -t " + (password.empty() ? "" : "-P " + pw + " ") + Quote(archive), log), 0);
    EXPECT_EQ(RunCommand("7z t -p" + pw + " " + Quote(archive), log), 0);
    EXPECT_EQ(RunCommand("/usr/bin/python3 " + Quote(CW_TEST_SOURCE_DIR "/tests/publish/check_zip.py") + " " +
                             Quote(archive) + " " + Quote(src) + (password.empty() ? "" : " " + pw),
                         log),
              0)
        << zip_test::ReadBytes(log).size() << " bytes of complaints in " << log;

    // Python's zipfile (above) compares every entry, the 100 MB one included, under the names as they
    // were written; extracting with the other two shows the same bytes for the names they keep.
    ASSERT_EQ(RunCommand("LC_ALL=C.UTF-8 7z x -y -p" + pw + " -o" + Quote(work / "7z") + " " +
                             Quote(archive) + " -x!big.bin",
                         log),
              0);
    expect_extracted(src, work / "7z", NamesKept::AsciiAndUtf8);
    ASSERT_EQ(RunCommand("unzip -q -o " + (password.empty() ? "" : "-P " + pw + " ") + Quote(archive) +
                             " -x big.bin -d " + Quote(work / "unzip"),
                         log),
              0);
    expect_extracted(src, work / "unzip", NamesKept::AsciiOnly);
}

INSTANTIATE_TEST_SUITE_P(Passwords, ZipInterop, ::testing::Values("", "s3cret pass"),
                         [](const auto& info) { return *info.param ? "Locked" : "Open"; });

} // namespace
