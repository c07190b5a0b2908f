// Scripts that do not compile: each error's message and position, the formatted text, and input that
// must fail with a message rather than crash, hang or overflow the stack.
#include "listing.h"

#include <string>

namespace {

using as_test::error_of;

TEST(Errors, MessageAndPosition) {
    const struct {
        const char* script;
        const char* error;
    } cases[] = {
        // syntax
        {"x = (1;", "1:7: expected ')' near ';'"},
        {"x = 1 +;", "1:8: expected an expression near ';'"},
        {"if (a {", "1:7: expected ')' near '{'"},
        {"f(1, 2", "1:7: expected ')' at end of input"},
        {"a b", "1:3: expected ';' near 'b'"},
        {"x = 1 }", "1:7: unexpected '}'"},
        {"else x = 1;", "1:1: unexpected 'else'"},
        {"x = a ? b;", "1:10: expected ':' in conditional expression near ';'"},
        {"x = {a 1};", "1:8: expected ':' after property name near '1'"},
        {"x = [1, 2;", "1:10: expected ']' near ';'"},
        {"do x++; until (x);", "1:9: expected 'while' near 'until'"},
        {"for (1 in o) {}", "1:8: expected a variable name before 'in' near 'in'"},
        {"for (var k in ) {}", "1:15: expected an expression near ')'"},
        {"switch (x) { foo; }", "1:14: expected 'case' or 'default' near 'foo'"},
        {"switch (x) { case 1: default: default: }", "1:31: more than one 'default' in 'switch'"},
        {"s = \"a\" + \"b\" \"c\";", "1:15: expected ';' near '\"c\"'"},
        // targets and names
        {"1 = 2;", "1:3: invalid assignment target near '='"},
        {"f() = 3;", "1:5: invalid assignment target near '='"},
        {"++1;", "1:4: invalid increment target"},
        {"x++ ++;", "1:5: expected ';' near '++'"},
        {"var 5;", "1:5: expected a variable name near '5'"},
        {"var if = 1;", "1:5: expected a variable name near 'if'"},
        {"function f(a, 1) {}", "1:15: expected a parameter name near '1'"},
        // lexical
        {"x = \"abc", "1:5: unterminated string"},
        {"x = 'abc\ny';", "1:5: unterminated string"},
        {"z = 1.5e;", "1:5: malformed number"},
        {"a = 0x;", "1:5: malformed number"},
        {"n = 12abc;", "1:5: malformed number"},
        {"x = @;", "1:5: unexpected character '@'"},
        {"x = 1;\n  \x01", "2:3: unexpected character '\\x01'"},
        {"/* open", "1:1: unterminated comment"},
        {"s = \"\\x00\";", "1:5: null character in string"},
        {"s = \"\\u0000\";", "1:5: null character in string"},
        {"s = \"\\xZZ\";", "1:5: bad escape sequence"},
        // statements out of place
        {"break;", "1:1: 'break' outside a loop or switch"},
        {"continue;", "1:1: 'continue' outside a loop"},
        {"switch (x) { case 1: continue; }", "1:22: 'continue' outside a loop"},
        {"return 1;", "1:1: 'return' outside a function"},
        {"while (1) { function f() { break; } }", "1:28: 'break' outside a loop or switch"},
        // built-ins
        {"gotoAndStop();", "1:1: wrong number of arguments to 'gotoAndStop'"},
        {"gotoAndPlay(1, 2);", "1:1: wrong number of arguments to 'gotoAndPlay'"},
        {"x = 1;\n   trace();", "2:4: wrong number of arguments to 'trace'"},
        {"STOP(1);", "1:1: wrong number of arguments to 'STOP'"},
        {"getURL();", "1:1: wrong number of arguments to 'getURL'"},
        {"getURL(\"a\", \"b\", \"PUT\");", "1:18: the method of 'getURL' must be \"GET\" or \"POST\""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(error_of(c.script), c.error) << c.script;
    }
}

// A missing closer names the line of its opener when that is another line.
TEST(Errors, MissingCloserNamesItsOpener) {
    EXPECT_EQ(error_of("if (a) {\n  x = 1;\n\n"),
              "4:1: expected '}' (to close '{' at line 1) at end of input");
    EXPECT_EQ(error_of("f(1,\n2\n"), "3:1: expected ')' (to close '(' at line 1) at end of input");
    EXPECT_EQ(error_of("a = [1,\n2;"), "2:2: expected ']' (to close '[' at line 1) near ';'");
}

// Lines count line feeds; a CR LF file counts the same, and tabs count as one column.
TEST(Errors, LinesAndColumnsInCrLfText) {
    EXPECT_EQ(error_of("x = 1;\r\n\t\ty = ;\r\n"), "2:7: expected an expression near ';'");
}

TEST(Errors, FormatNamesTheFile) {
    swf::as::CompileError error;
    ASSERT_FALSE(swf::as::compile("x = 1;\ny = (2;", &error));
    EXPECT_EQ(error.format("button.as"), "button.as:2:7: expected ')' near ';'");
}

TEST(Errors, RawNullByteInString) {
    EXPECT_EQ(error_of(std::string_view("s = \"a\0b\";", 10)), "1:5: null character in string");
    EXPECT_EQ(error_of(std::string_view("s = 1;\0", 7)), "1:7: unexpected character '\\x00'");
}

TEST(Errors, NullErrorPointerIsAllowed) {
    EXPECT_FALSE(swf::as::compile("x = ("));
}

TEST(Errors, DeepNestingIsAMessageNotACrash) {
    std::string ifs;
    std::string sum = "x = 1";
    std::string chain = "x = a";
    for (int i = 0; i < 100000; ++i) {
        ifs += "if (a) ";
        sum += " + 1"; // a long flat chain nests as deep as it is long in the tree
        chain += ".b";
    }
    const std::string deep[] = {std::string(100000, '('),
                                std::string(100000, '{'),
                                std::string(100000, '['),
                                std::string(100000, '!') + "x",
                                "x = " + std::string(100000, '-') + "x",
                                ifs + "x = 1;",
                                sum,
                                chain,
                                "f" + std::string(50000, '(') + "function(){"};
    for (const std::string& script : deep) {
        const std::string error = error_of(script);
        EXPECT_TRUE(error.starts_with("1:") && error.ends_with(": nesting too deep")) << error;
    }
}

// Nesting up to the limit compiles.
TEST(Errors, ModerateNestingCompiles) {
    EXPECT_TRUE(swf::as::compile("x = " + std::string(90, '(') + "1" + std::string(90, ')') + ";"));
    std::string sum = "x = 1";
    for (int i = 0; i < 400; ++i) {
        sum += " + 1";
    }
    EXPECT_TRUE(swf::as::compile(sum + ";"));
}

// A branch over more than 32767 bytes of code cannot be encoded.
TEST(Errors, BranchTooFar) {
    std::string body;
    for (int i = 0; i < 4000; ++i) {
        body += "x = " + std::to_string(i) + ";\n"; // about 10 bytes each
    }
    EXPECT_EQ(error_of("y = 0;\nif (a) {\n" + body + "}"), "2:1: branch too far");
    // The same code without the branch compiles.
    EXPECT_TRUE(swf::as::compile(body));
}

TEST(Errors, FunctionTooLong) {
    std::string body;
    for (int i = 0; i < 7000; ++i) {
        body += "x = " + std::to_string(i) + ";\n";
    }
    EXPECT_EQ(error_of("function f() {\n" + body + "}"), "1:1: function too long");
}

} // namespace
