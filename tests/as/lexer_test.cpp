// Literals as the lexer reads them, seen through the values the compiler pushes.
#include "listing.h"

#include "swf/as/lexer.h"

#include <string>
#include <vector>

namespace {

using as_test::listing;
using as_test::without_offsets;

// The pushed values of "x = <literal>;" (after the variable name).
std::string pushed(const std::string& literal) {
    const std::string text = without_offsets(listing("x = " + literal + ";"));
    const size_t push = text.find("Push c0:\"x\" ");
    if (push == std::string::npos) {
        return text;
    }
    const size_t start = push + 12;
    return text.substr(start, text.find('\n', start) - start);
}

TEST(Lexer, NumberLiterals) {
    const struct {
        const char* literal;
        const char* value;
    } cases[] = {
        {"0", "0"},
        {"42", "42"},
        {"0x1F", "31"},
        {"0XfF", "255"},
        {"1.5", "1.5"},
        {".25", "0.25"},
        {"3.", "3"},
        {"1e3", "1000"},
        {"2.5E-1", "0.25"},
        {"1e+2", "100"},
        {"0xFFFFFFFF", "4294967295.0"},
        {"007", "7"},
        {"1e999", "inf"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(pushed(c.literal), c.value) << c.literal;
    }
}

TEST(Lexer, StringEscapes) {
    const struct {
        const char* literal;
        const char* value; // as the listing quotes it
    } cases[] = {
        {R"("a\"b")", R"(c1:"a\"b")"},
        {R"('a\'b')", R"(c1:"a'b")"},
        {R"('say "hi"')", R"(c1:"say \"hi\"")"},
        {R"("a\\b")", R"(c1:"a\\b")"},
        {R"("l1\nl2")", R"(c1:"l1\nl2")"},
        {R"("\r\t")", R"(c1:"\r\t")"},
        {R"("\b\f")", R"(c1:"\b\f")"},
        {R"("\x41\x7a")", R"(c1:"Az")"},
        {R"("\u0041")", R"(c1:"A")"},
        {R"("\xE9")", "c1:\"\xC3\xA9\""},
        {R"("\u20AC")", "c1:\"\xE2\x82\xAC\""},
        {R"("\q")", R"(c1:"q")"},
        {R"("")", R"(c1:"")"},
        {"\"caf\xC3\xA9\"", "c1:\"caf\xC3\xA9\""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(pushed(c.literal), c.value) << c.literal;
    }
}

TEST(Lexer, CommentsAndLinesAndColumns) {
    swf::as::Lexer lexer("a /* x\ny */ b // c\n  c>>>=d");
    std::vector<swf::as::Token> tokens;
    for (auto t = lexer.next(); t.kind != swf::as::TokenKind::End; t = lexer.next()) {
        tokens.push_back(t);
    }
    ASSERT_EQ(tokens.size(), 5u);
    EXPECT_EQ(tokens[0].text, "a");
    EXPECT_FALSE(tokens[0].newline_before);
    EXPECT_EQ(tokens[1].text, "b");
    EXPECT_EQ(tokens[1].pos.line, 2);
    EXPECT_EQ(tokens[1].pos.column, 6);
    EXPECT_TRUE(tokens[1].newline_before); // a block comment spanning lines counts as a line break
    EXPECT_EQ(tokens[2].text, "c");
    EXPECT_EQ(tokens[2].pos.line, 3);
    EXPECT_EQ(tokens[2].pos.column, 3);
    EXPECT_EQ(tokens[3].kind, swf::as::TokenKind::UShrAssign);
    EXPECT_EQ(tokens[4].text, "d");
    // The end stays the end.
    EXPECT_EQ(lexer.next().kind, swf::as::TokenKind::End);
}

TEST(Lexer, IdentifiersMayHoldDollarUnderscoreAndUtf8) {
    EXPECT_TRUE(without_offsets(listing("$a_1 = _b; \xC3\xA9t\xC3\xA9 = 1;"))
                    .starts_with("ConstantPool \"$a_1\" \"_b\" \"\xC3\xA9t\xC3\xA9\"\nPush c0:"));
}

} // namespace
