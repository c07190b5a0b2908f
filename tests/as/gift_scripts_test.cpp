// Every script the gift and the photo album compile, with its listing pinned.
#include "listing.h"

#include <string>

namespace {

using as_test::listing;

// The album pause script: 17 lines joined by CR LF, each six tabs and a space before its text.
std::string album_pause_script() {
    const char* lines[] = {"if(!init){",
                           "init=true;",
                           "stopped=false;",
                           "controls = {",
                           "onMouseDown: function () {",
                           "if(!stopped){",
                           "stop();",
                           "stopped=true;",
                           "}else{",
                           "play();",
                           "stopped=false;",
                           "}",
                           "}",
                           "};",
                           "Mouse.addListener(controls);",
                           "}",
                           ""};
    std::string script;
    for (const char* line : lines) {
        if (!script.empty()) {
            script += "\r\n";
        }
        script += std::string(6, '\t') + " " + line;
    }
    return script;
}

TEST(GiftScripts, OpeningAction) {
    EXPECT_EQ(listing("score=0; trace=\"\";"), R"(0000 ConstantPool "score" "trace" ""
0012 Push c0:"score" 0
001C SetVariable
001D Push c1:"trace" c2:""
0024 SetVariable
0025 End
)");
}

TEST(GiftScripts, StopAction) {
    EXPECT_EQ(listing("stop();"), "0000 Stop\n0001 End\n");
}

// The button script with an empty condition: two spaces before the block.
TEST(GiftScripts, ButtonWithoutComparison) {
    EXPECT_EQ(listing("_root.score += 5; _root.trace+=\"Start[-]Next[N]\";  {gotoAndStop(3);}"),
              R"(0000 ConstantPool "_root" "score" "trace" "Start[-]Next[N]"
0027 Push c0:"_root"
002C GetVariable
002D PushDuplicate
002E Push c1:"score"
0033 GetMember
0034 Push 5
003C Add2
003D Push c1:"score"
0042 StackSwap
0043 SetMember
0044 Push c0:"_root"
0049 GetVariable
004A PushDuplicate
004B Push c2:"trace"
0050 GetMember
0051 Push c3:"Start[-]Next[N]"
0056 Add2
0057 Push c2:"trace"
005C StackSwap
005D SetMember
005E GotoFrame 2
0063 Stop
0064 End
)");
}

TEST(GiftScripts, ButtonWithComparison) {
    EXPECT_EQ(listing("_root.score += 5; _root.trace+=\"Start[-]Next[N]\"; "
                      "if(_root.score>=10){gotoAndStop(1);}else {gotoAndStop(3);}"),
              R"(0000 ConstantPool "_root" "score" "trace" "Start[-]Next[N]"
0027 Push c0:"_root"
002C GetVariable
002D PushDuplicate
002E Push c1:"score"
0033 GetMember
0034 Push 5
003C Add2
003D Push c1:"score"
0042 StackSwap
0043 SetMember
0044 Push c0:"_root"
0049 GetVariable
004A PushDuplicate
004B Push c2:"trace"
0050 GetMember
0051 Push c3:"Start[-]Next[N]"
0056 Add2
0057 Push c2:"trace"
005C StackSwap
005D SetMember
005E Push c0:"_root"
0063 GetVariable
0064 Push c1:"score"
0069 GetMember
006A Push 10
0072 Less2
0073 If +11 -> 0083
0078 GotoFrame 0
007D Stop
007E Jump +6 -> 0089
0083 GotoFrame 2
0088 Stop
0089 End
)");
}

// The tail of the button script for each comparison the link editor offers ("=" is written "==").
TEST(GiftScripts, ButtonComparisonOperators) {
    struct Case {
        const char* op;
        const char* code; // the actions between the pushed 3 and the If
    };
    const Case cases[] = {
        {">", "Greater\n006C Not\n006D If +11 -> 007D"},  {">=", "Less2\n006C If +11 -> 007C"},
        {"<", "Less2\n006C Not\n006D If +11 -> 007D"},    {"<=", "Greater\n006C If +11 -> 007C"},
        {"==", "Equals2\n006C Not\n006D If +11 -> 007D"},
    };
    for (const Case& c : cases) {
        const std::string script =
            std::string("_root.score += -2; _root.trace+=\"Q[-]A[N]\"; if(_root.score") + c.op +
            "3){gotoAndStop(4);}else {gotoAndStop(2);}";
        const std::string text = listing(script);
        EXPECT_NE(text.find("0063 Push 3\n006B " + std::string(c.code) + "\n"), std::string::npos)
            << c.op << "\n"
            << text;
        EXPECT_NE(text.find("GotoFrame 3\n"), std::string::npos) << text;
        EXPECT_NE(text.find("GotoFrame 1\n"), std::string::npos) << text;
        EXPECT_NE(text.find("002D Push -2\n"), std::string::npos) << text;
    }
}

TEST(GiftScripts, EmailAlert) {
    EXPECT_EQ(
        listing("getUrl(\"http://gifts.cardwright.example/member/emailalert.php?title=Start&target="
                "ann@example.com&trace=\"+_root.trace, \"_blank\");"),
        R"(0000 ConstantPool "http://gifts.cardwright.example/member/emailalert.php?title=Start&target=ann@example.com&trace=" "_root" "trace" "_blank"
0078 Push c0:"http://gifts.cardwright.example/member/emailalert.php?title=Start&target=ann@example.com&trace=" c1:"_root"
007F GetVariable
0080 Push c2:"trace"
0085 GetMember
0086 Add2
0087 Push c3:"_blank"
008C GetURL2 0
0090 End
)");
}

// The author action: the bare word _self is read as a variable.
TEST(GiftScripts, AuthorAction) {
    EXPECT_EQ(listing("getUrl(\"mailto:ann@example.com\",_self);"),
              R"(0000 ConstantPool "mailto:ann@example.com" "_self"
0022 Push c0:"mailto:ann@example.com" c1:"_self"
0029 GetVariable
002A GetURL2 0
002E End
)");
}

TEST(GiftScripts, CreditAction) {
    EXPECT_EQ(listing("getUrl(\"http://www.cardwright.example/ordernow.php?from=ann@example.com\", _blank);"),
              R"(0000 ConstantPool "http://www.cardwright.example/ordernow.php?from=ann@example.com" "_blank"
004C Push c0:"http://www.cardwright.example/ordernow.php?from=ann@example.com" c1:"_blank"
0053 GetVariable
0054 GetURL2 0
0058 End
)");
}

TEST(GiftScripts, AlbumPauseScript) {
    EXPECT_EQ(listing(album_pause_script()),
              R"(0000 ConstantPool "init" "stopped" "controls" "onMouseDown" "Mouse" "addListener"
0039 Push c0:"init"
003E GetVariable
003F If +99 -> 00A7
0044 Push c0:"init" true
004B SetVariable
004C Push c1:"stopped" false
0053 SetVariable
0054 Push c2:"controls" c3:"onMouseDown"
005B DefineFunction "" () 34 bytes
  0063 Push c1:"stopped"
  0068 GetVariable
  0069 If +14 -> 007C
  006E Stop
  006F Push c1:"stopped" true
  0076 SetVariable
  0077 Jump +9 -> 0085
  007C Play
  007D Push c1:"stopped" false
  0084 SetVariable
0085 Push 1
008D InitObject
008E SetVariable
008F Push c2:"controls"
0094 GetVariable
0095 Push 1 c4:"Mouse"
009F GetVariable
00A0 Push c5:"addListener"
00A5 CallMethod
00A6 Pop
00A7 End
)");
}

// A title with a double quote breaks the script: it yields no action and an error, not a crash.
TEST(GiftScripts, TitleWithQuoteDoesNotCompile) {
    swf::as::CompileError error;
    EXPECT_FALSE(swf::as::compile(
        "_root.score += 1; _root.trace+=\"Say \"hi\"[-]Next[N]\";  {gotoAndStop(2);}", &error));
    EXPECT_EQ(error.format("button"), "button:1:38: expected ';' near 'hi'");
}

} // namespace
