// Every script the builder writes compiles, also with titles full of quotes, backslashes, line breaks,
// "</" and letters outside ASCII, and the compiled strings are exactly the texts that went in.
#include "movie/gift_scripts.h"
#include "swf/as/compiler.h"
#include "swf/as/disassembler.h"

#include <gtest/gtest.h>

namespace movie {
namespace {

std::string Listing(std::string_view script) {
    swf::as::CompileError error;
    auto bytes = swf::as::compile(script, &error);
    EXPECT_TRUE(bytes.has_value()) << script << "\n" << error.format("script");
    return bytes ? swf::as::disassemble(*bytes) : "";
}

// How the disassembler prints a pushed string: quoted, with quotes and backslashes escaped.
std::string Pushed(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
        }
        out += c;
    }
    return out + "\"";
}

const std::string kNasty = "Say \"hi\" \\ </script>\nnext\rline\tGr\xC3\xBC\xC3\x9F\xC3\xA9 \xE2\x82\xAC";

TEST(GiftScriptsCompileTest, FixedActions) {
    EXPECT_NE(Listing(kOpeningScript).find("\"score\""), std::string::npos);
    EXPECT_NE(Listing(kStopScript).find("Stop"), std::string::npos);
}

TEST(GiftScriptsCompileTest, LinkScriptsWithEveryOperator) {
    for (const char* op : {"", ">", ">=", "=", "<=", "<"}) {
        const std::string listing = Listing(LinkScript({5, "Start", "Next", op, -3, 0, 2}));
        EXPECT_NE(listing.find(Pushed("Start[-]Next[N]")), std::string::npos) << op << "\n" << listing;
    }
}

TEST(GiftScriptsCompileTest, NastyTitlesStayExact) {
    const std::string listing = Listing(LinkScript({1, kNasty, "Go \"on\"", "=", 2, 0, 1}));
    // Control characters print escaped in the listing; check the parts between them.
    for (const std::string part :
         {"Say \\\"hi\\\" \\\\ </script>", "Gr\xC3\xBC\xC3\x9F\xC3\xA9 \xE2\x82\xAC[-]Go \\\"on\\\"[N]"}) {
        EXPECT_NE(listing.find(part), std::string::npos) << part << "\n" << listing;
    }
}

TEST(GiftScriptsCompileTest, ControlCharactersCompile) {
    const std::string controls("a\x01" "b\x1F\x7F\b\f\0z", 8); // a NUL cannot be carried: dropped
    EXPECT_TRUE(swf::as::compile("x=" + AsStringLiteral(controls) + ";").has_value());
}

TEST(GiftScriptsCompileTest, UrlActions) {
    const std::string alert = Listing(MailAlertScript(kNasty, "a\"b@example.org"));
    EXPECT_NE(alert.find("emailalert.php?title=Say%20%22hi%22"), std::string::npos) << alert;
    EXPECT_NE(alert.find("\"escape\""), std::string::npos) << alert;
    EXPECT_NE(alert.find("\"_blank\""), std::string::npos) << alert;
    const std::string credit = Listing(CreditScript("x\"y@example.org"));
    EXPECT_NE(credit.find(Pushed("http://cardwright.example/ordernow.php?from=x\"y@example.org")),
              std::string::npos)
        << credit;
    const std::string author = Listing(AuthorScript("me@example.org"));
    EXPECT_NE(author.find("mailto:me@example.org"), std::string::npos) << author;
    EXPECT_NE(author.find("_blank"), std::string::npos) << author;
}

} // namespace
} // namespace movie
