// The pieces of the archive format: MS-DOS times, entry names, known CRCs in whole archives.
#include "publish/dos_time.h"
#include "publish/zip_name.h"
#include "publish/zip_writer.h"
#include "zip_test_support.h"

#include <gtest/gtest.h>

#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>

namespace {

using namespace publish;
using zip_test::TempDir;

std::tm local_tm(int year, int month, int day, int hour, int minute, int second) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    t.tm_isdst = -1;
    return t;
}

TEST(DosTime, PacksFieldsInTwoSecondSteps) {
    const DosDateTime dos = ToDosDateTime(local_tm(2026, 12, 7, 21, 58, 31));
    EXPECT_EQ(dos.time, 21 * 2048 + 58 * 32 + 15);
    EXPECT_EQ(dos.date, 46 * 512 + 12 * 32 + 7);
}

TEST(DosTime, YearsOutsideTheRangeAreClamped) {
    EXPECT_EQ(ToDosDateTime(local_tm(1980, 1, 1, 0, 0, 0)).date, 1 * 32 + 1);
    EXPECT_EQ(ToDosDateTime(local_tm(1975, 6, 15, 0, 0, 0)).date, 6 * 32 + 15); // year part 0
    EXPECT_EQ(ToDosDateTime(local_tm(2200, 3, 4, 0, 0, 0)).date, 127 * 512 + 3 * 32 + 4);
}

TEST(ZipName, AsciiAndCp437LettersAreStoredAsCp437) {
    EXPECT_EQ(EncodeZipName("a.jpg").bytes, "a.jpg");
    EXPECT_FALSE(EncodeZipName("a.jpg").utf8);
    const ZipName german = EncodeZipName("Gr\xC3\xBC\xC3\x9F"
                                         "e.txt"); // Grüße.txt
    EXPECT_FALSE(german.utf8);
    EXPECT_EQ(german.bytes, "Gr\x81\xE1"
                            "e.txt");
    EXPECT_EQ(EncodeZipName("\xC3\xA9\xC3\xB1\xCE\xA9\xC2\xA0").bytes, "\x82\xA4\xEA\xFF"); // é ñ Ω nbsp
}

TEST(ZipName, OtherCharactersKeepUtf8WithBit11) {
    const ZipName japanese = EncodeZipName("\xE6\x97\xA5\xE6\x9C\xAC.txt"); // 日本.txt
    EXPECT_TRUE(japanese.utf8);
    EXPECT_EQ(japanese.bytes, "\xE6\x97\xA5\xE6\x9C\xAC.txt");
    // One character outside CP437 puts the whole name in UTF-8, the CP437 letters included.
    const ZipName mixed = EncodeZipName("\xC3\xBC\xE2\x82\xAC"); // ü€
    EXPECT_TRUE(mixed.utf8);
    EXPECT_EQ(mixed.bytes, "\xC3\xBC\xE2\x82\xAC");
    EXPECT_TRUE(EncodeZipName("tab\tname").utf8); // control characters are not CP437 letters
}

TEST(ZipName, InvalidUtf8IsKeptAsBytes) {
    for (const char* name : {"\xFF.txt", "\xC3", "\xC0\xAF", "\xED\xA0\x80"}) {
        const ZipName encoded = EncodeZipName(name);
        EXPECT_FALSE(encoded.utf8) << name;
        EXPECT_EQ(encoded.bytes, name);
    }
}

TEST(ZipFormat, EntriesCarryKnownCrcsAndSizes) {
    TempDir dir;
    const struct {
        const char* name;
        std::string content;
        std::uint32_t crc;
    } cases[] = {
        {"digits", "123456789", 0xCBF43926},
        {"fox", "The quick brown fox jumps over the lazy dog", 0x414FA339},
        {"empty", "", 0},
        {"hello", "hello\n", 0x363A3020},
    };
    CZipWriter zip;
    zip.create(dir / "out.zip");
    for (const auto& c : cases) {
        zip_test::WriteFile(dir / c.name, c.content);
        ASSERT_TRUE(zip.add_file(dir / c.name, kZipDefaultLevel, kZipReadBufferSize));
    }
    zip.close();
    const auto archive = zip_test::InspectZip(zip_test::ReadBytes(dir / "out.zip"));
    ASSERT_TRUE(archive);
    ASSERT_EQ(archive->entries.size(), std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& e = archive->entries[i];
        EXPECT_EQ(e.central.name, cases[i].name);
        EXPECT_EQ(e.central.crc32, cases[i].crc) << cases[i].name;
        EXPECT_EQ(e.central.uncompressed_size, cases[i].content.size());
        EXPECT_EQ(e.central.method, kZipMethodDeflated);
    }
}

TEST(ZipFormat, TimesAreTheFilesLocalLastWriteTime) {
    TempDir dir;
    zip_test::WriteFile(dir / "dated.txt", "x");
    std::tm when = local_tm(2001, 2, 3, 4, 5, 6);
    const timespec times[2] = {{std::mktime(&when), 0}, {std::mktime(&when), 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, (dir / "dated.txt").c_str(), times, 0), 0);
    CZipWriter zip;
    zip.create(dir / "out.zip");
    zip.add_file(dir / "dated.txt", kZipDefaultLevel, kZipReadBufferSize);
    zip.close();
    const auto archive = zip_test::InspectZip(zip_test::ReadBytes(dir / "out.zip"));
    ASSERT_TRUE(archive);
    EXPECT_EQ(archive->entries.at(0).central.dos_time, 4 * 2048 + 5 * 32 + 3);
    EXPECT_EQ(archive->entries.at(0).central.dos_date, 21 * 512 + 2 * 32 + 3);
}

TEST(ZipFormat, AttributesFollowTheSource) {
    TempDir dir;
    zip_test::WriteFile(dir / "plain.txt", "x");
    zip_test::WriteFile(dir / "locked.txt", "x");
    std::filesystem::permissions(dir / "locked.txt", std::filesystem::perms::owner_read);
    std::filesystem::create_directory(dir / "folder");
    CZipWriter zip;
    zip.create(dir / "out.zip");
    for (const char* name : {"plain.txt", "locked.txt", "folder"}) {
        zip.add_file(dir / name, kZipDefaultLevel, kZipReadBufferSize);
    }
    zip.close();
    const auto archive = zip_test::InspectZip(zip_test::ReadBytes(dir / "out.zip"));
    ASSERT_TRUE(archive);
    ASSERT_EQ(archive->entries.size(), 3u);
    EXPECT_EQ(archive->entries[0].central.external_attributes, kZipAttributeArchive);
    EXPECT_EQ(archive->entries[1].central.external_attributes, kZipAttributeArchive | kZipAttributeReadOnly);
    EXPECT_EQ(archive->entries[2].central.external_attributes, kZipAttributeDirectory);
    EXPECT_EQ(archive->entries[2].central.method, kZipMethodStored);
}

} // namespace
