// Text conversions between UTF-8 and the archive's Windows-1252 and UTF-16 forms.
#include "model/text_codec.h"

#include <gtest/gtest.h>

namespace model {
namespace {

TEST(TextCodec, EveryWindows1252ByteRoundTrips) {
    for (int b = 0; b < 256; ++b) {
        const std::string byte(1, static_cast<char>(b));
        const std::string utf8 = Cp1252ToUtf8(byte);
        const auto back = Utf8ToCp1252(utf8);
        ASSERT_TRUE(back.has_value()) << b;
        EXPECT_EQ(*back, byte) << b;
    }
    EXPECT_EQ(Cp1252ToUtf8("\x80\x81\x9F\xE9"), "\xE2\x82\xAC\xC2\x81\xC5\xB8\xC3\xA9");
}

TEST(TextCodec, CharactersOutsideWindows1252DoNotFit) {
    EXPECT_FALSE(Utf8ToCp1252("\xE2\x98\x83").has_value()); // U+2603
    EXPECT_FALSE(Utf8ToCp1252("\xC4\x80").has_value());     // U+0100
    EXPECT_FALSE(Utf8ToCp1252("\xC3").has_value());         // malformed
}

TEST(TextCodec, Utf16SurrogatesAndMalformedInput) {
    EXPECT_EQ(Utf8ToUtf16("\xF0\x9D\x84\x9E"), (std::vector<uint16_t>{0xD834, 0xDD1E}));
    EXPECT_EQ(Utf16ToUtf8({0xD834, 0xDD1E}), "\xF0\x9D\x84\x9E");
    EXPECT_EQ(Utf16ToUtf8({0xD834, 0x41}), "\xEF\xBF\xBD"
                                           "A");
    EXPECT_EQ(Utf16ToUtf8({0xDD1E}), "\xEF\xBF\xBD");
    EXPECT_EQ(Utf8ToUtf16("\xFF"
                          "A\xE2\x98"),
              (std::vector<uint16_t>{0xFFFD, 0x41, 0xFFFD, 0xFFFD}));
    EXPECT_EQ(Utf8ToUtf16("\xC0\x80"), (std::vector<uint16_t>{0xFFFD, 0xFFFD})); // overlong
}

} // namespace
} // namespace model
