#include "movie/gift_scripts.h"

#include <gtest/gtest.h>

namespace movie {
namespace {

TEST(GiftScriptsTest, LinkScriptWithoutComparisonKeepsTheTemplate) {
    // The empty condition leaves two spaces before the opening brace.
    EXPECT_EQ(LinkScript({5, "Start", "Next", "", 0, 0, 2}),
              "_root.score += 5; _root.trace+=\"Start[-]Next[N]\";  {gotoAndStop(3);}");
}

TEST(GiftScriptsTest, LinkScriptWithComparison) {
    EXPECT_EQ(LinkScript({0, "Q1", "Yes", ">=", 10, 0, 2}),
              "_root.score += 0; _root.trace+=\"Q1[-]Yes[N]\"; "
              "if(_root.score>=10){gotoAndStop(1);}else {gotoAndStop(3);}");
    EXPECT_EQ(LinkScript({-3, "A", "B", "=", -2, 4, 1}),
              "_root.score += -3; _root.trace+=\"A[-]B[N]\"; "
              "if(_root.score==-2){gotoAndStop(5);}else {gotoAndStop(2);}");
}

TEST(GiftScriptsTest, OperatorsAreWhitelisted) {
    EXPECT_EQ(ScriptOperator(">"), ">");
    EXPECT_EQ(ScriptOperator(">="), ">=");
    EXPECT_EQ(ScriptOperator("<="), "<=");
    EXPECT_EQ(ScriptOperator("<"), "<");
    EXPECT_EQ(ScriptOperator("="), "==");
    EXPECT_EQ(ScriptOperator(""), "");
    // Anything else would be pasted into the script as code.
    EXPECT_EQ(ScriptOperator("==0){getUrl(\"x\");}if(1"), "");
    EXPECT_EQ(ScriptOperator("!="), "");
}

TEST(GiftScriptsTest, TitlesBecomeEscapedLiterals) {
    EXPECT_EQ(AsStringLiteral("plain"), "\"plain\"");
    EXPECT_EQ(AsStringLiteral("a\"b\\c</d\ne\rf"), "\"a\\\"b\\\\c</d\\ne\\rf\"");
    EXPECT_EQ(AsStringLiteral("Gr\xC3\xBC\xC3\x9F"), "\"Gr\xC3\xBC\xC3\x9F\""); // UTF-8 unchanged
    EXPECT_EQ(AsStringLiteral(std::string("\x01", 1)), "\"\\x01\"");
    EXPECT_EQ(LinkScript({1, "Say \"hi\"", "go\\", "", 0, 0, 0}),
              "_root.score += 1; _root.trace+=\"Say \\\"hi\\\"[-]go\\\\[N]\";  {gotoAndStop(1);}");
}

TEST(GiftScriptsTest, PercentEncodingKeepsOnlyUnreservedBytes) {
    EXPECT_EQ(PercentEncode("Tom & Jerry #1+2"), "Tom%20%26%20Jerry%20%231%2B2");
    EXPECT_EQ(PercentEncode("me@example.com"), "me%40example.com");
    EXPECT_EQ(PercentEncode("A-z_0.9~"), "A-z_0.9~");
    EXPECT_EQ(PercentEncode("\xC3\xA4"), "%C3%A4");
}

TEST(GiftScriptsTest, MailAlertEncodesTheQueryAndEscapesTheTrace) {
    EXPECT_EQ(MailAlertScript("End & more", "me@x.org"),
              "getUrl(\"http://cardwright.example/member/emailalert.php?title=End%20%26%20more"
              "&target=me%40x.org&trace=\"+escape(_root.trace), \"_blank\");");
}

TEST(GiftScriptsTest, CreditAndAuthorActionsOpenANewWindow) {
    EXPECT_EQ(CreditScript("me@x.org"),
              "getUrl(\"http://cardwright.example/ordernow.php?from=me@x.org\", \"_blank\");");
    EXPECT_EQ(AuthorScript("me@x.org"), "getUrl(\"mailto:me@x.org\",\"_blank\");");
    EXPECT_EQ(AuthorScript("a\"b"), "getUrl(\"mailto:a\\\"b\",\"_blank\");");
}

} // namespace
} // namespace movie
