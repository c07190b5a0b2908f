// The disassembler on known bytes, including bytes no compiler would write and cut-off input.
#include "swf/as/disassembler.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

std::string list(const std::vector<uint8_t>& bytes) {
    return swf::as::disassemble(bytes);
}

TEST(Disassembler, KnownBytes) {
    // score = 0; stop(); as the movie writer of another tool might lay them out.
    const std::vector<uint8_t> bytes = {
        0x88, 0x08, 0x00, 0x01, 0x00, 's',  'c',  'o',  'r',  'e',  0x00, // ConstantPool "score"
        0x96, 0x07, 0x00, 0x08, 0x00, 0x07, 0x00, 0x00, 0x00, 0x00,       // Push c0 0
        0x1D,                                                             // SetVariable
        0x07,                                                             // Stop
        0x00};                                                            // End
    EXPECT_EQ(list(bytes), "0000 ConstantPool \"score\"\n"
                           "000B Push c0:\"score\" 0\n"
                           "0015 SetVariable\n"
                           "0016 Stop\n"
                           "0017 End\n");
}

TEST(Disassembler, EveryPushType) {
    const std::vector<uint8_t> bytes = {
        0x96, 0x2D, 0x00,                                     // Push, 45 bytes
        0x00, 'h',  'i',  0x00,                               // string
        0x01, 0x00, 0x00, 0xC0, 0x3F,                         // float 1.5
        0x02,                                                 // null
        0x03,                                                 // undefined
        0x04, 0x02,                                           // register 2
        0x05, 0x01,                                           // true
        0x06, 0x00, 0x00, 0xF8, 0x3F, 0x00, 0x00, 0x00, 0x00, // double 1.5, high word first
        0x07, 0xFE, 0xFF, 0xFF, 0xFF,                         // integer -2
        0x08, 0x03,                                           // constant 3 (no pool: shown as ?)
        0x09, 0x00, 0x01,                                     // constant 256
        0x05, 0x00,                                           // false
        0x06, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, // double 0
    };
    EXPECT_EQ(list(bytes), "0000 Push \"hi\" 1.5f null undefined r2 true 1.5 -2 c3:? c256:? false 0.0\n");
}

TEST(Disassembler, BranchesGotoAndUrls) {
    const std::vector<uint8_t> bytes = {
        0x9D, 0x02, 0x00, 0x05, 0x00,             // If +5
        0x99, 0x02, 0x00, 0xFB, 0xFF,             // Jump -5
        0x81, 0x02, 0x00, 0x04, 0x00,             // GotoFrame 4
        0x9F, 0x03, 0x00, 0x03, 0x0A, 0x00,       // GotoFrame2 play bias 10
        0x8C, 0x03, 0x00, 'a',  'b',  0x00,       // GoToLabel "ab"
        0x83, 0x04, 0x00, 'u',  0x00, 't',  0x00, // GetURL "u" "t"
        0x9A, 0x01, 0x00, 0x02,                   // GetURL2 2
        0x87, 0x01, 0x00, 0x01,                   // StoreRegister 1
        0x9E, 0x00, 0x00,                         // Call (long form, empty)
    };
    EXPECT_EQ(list(bytes), "0000 If +5 -> 000A\n"
                           "0005 Jump -5 -> 0005\n"
                           "000A GotoFrame 4\n"
                           "000F GotoFrame2 play bias 10\n"
                           "0015 GoToLabel \"ab\"\n"
                           "001B GetURL \"u\" \"t\"\n"
                           "0022 GetURL2 2\n"
                           "0026 StoreRegister 1\n"
                           "002A Call\n");
}

TEST(Disassembler, FunctionBodyIsIndented) {
    const std::vector<uint8_t> bytes = {
        0x9B, 0x0A, 0x00, 'f', 0x00, 0x02, 0x00, 'a', 0x00, 'b', 0x00, 0x02, 0x00, // DefineFunction f(a, b)
        0x3E,                                                                      // Return
        0x07,                                                                      // Stop, still in the body
        0x06,                                                                      // Play, after it
    };
    EXPECT_EQ(list(bytes), "0000 DefineFunction \"f\" (\"a\", \"b\") 2 bytes\n"
                           "  000D Return\n"
                           "  000E Stop\n"
                           "000F Play\n");
}

TEST(Disassembler, UnknownAndDamagedInput) {
    EXPECT_EQ(list({0x01, 0xC0, 0x01, 0x00, 0xAB}), "0000 Unknown 0x01\n0001 Unknown 0xC0 AB\n");
    EXPECT_EQ(list({0x96, 0x05}), "0000 (truncated action header)\n");
    EXPECT_EQ(list({0x96, 0x09, 0x00, 0x07}), "0000 (truncated action, 9 bytes declared)\n");
    EXPECT_EQ(list({0x96, 0x02, 0x00, 0x07, 0x01}), "0000 Push (truncated payload)\n");
    EXPECT_EQ(list({0x96, 0x01, 0x00, 0x0B}), "0000 Push (bad push type 11)\n");
    EXPECT_EQ(list({0x88, 0x04, 0x00, 0x05, 0x00, 'a', 0x00}),
              "0000 ConstantPool \"a\" (truncated payload)\n");
    EXPECT_EQ(list({0x9B, 0x05, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x07}),
              "0000 DefineFunction \"\" () 16 bytes (body truncated)\n  0008 Stop\n");
    EXPECT_EQ(list({}), "");
}

// Function bodies nested deeper than any script would are not followed without end.
TEST(Disassembler, DeeplyNestedFunctionsStop) {
    std::vector<uint8_t> bytes;
    const int depth = 5000;
    for (int i = 0; i < depth; ++i) {
        const size_t body = static_cast<size_t>(depth - 1 - i) * 8 + 1;
        const uint8_t header[] = {0x9B,
                                  0x05,
                                  0x00,
                                  0x00,
                                  0x00,
                                  0x00,
                                  static_cast<uint8_t>(body & 0xFF),
                                  static_cast<uint8_t>(body >> 8)};
        bytes.insert(bytes.end(), header, header + 8);
    }
    bytes.push_back(0x07);
    const std::string text = list(bytes);
    EXPECT_NE(text.find("(body nested too deep)"), std::string::npos);
}

} // namespace
