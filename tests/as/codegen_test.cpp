// Code generation: the listings of control flow whose stack discipline matters, built-ins, push forms
// and the constant pool.
#include "listing.h"

#include <string>

namespace {

using as_test::listing;
using as_test::without_offsets;

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// a && b leaves a when a is false, else b; a || b leaves a when a is true, else b.
TEST(Codegen, ShortCircuitLeavesTheDecidingValue) {
    EXPECT_EQ(listing("x = a && b; y = a || b;"), R"(0000 ConstantPool "x" "a" "b" "y"
000D Push c0:"x" c1:"a"
0014 GetVariable
0015 PushDuplicate
0016 Not
0017 If +7 -> 0023
001C Pop
001D Push c2:"b"
0022 GetVariable
0023 SetVariable
0024 Push c3:"y" c1:"a"
002B GetVariable
002C PushDuplicate
002D If +7 -> 0039
0032 Pop
0033 Push c2:"b"
0038 GetVariable
0039 SetVariable
003A End
)");
}

// As a statement, the right side runs only when needed and nothing stays on the stack.
TEST(Codegen, ShortCircuitStatementLeavesNothing) {
    EXPECT_EQ(listing("a && f();"), R"(0000 ConstantPool "a" "f"
0009 Push c0:"a"
000E GetVariable
000F Not
0010 If +12 -> 0021
0015 Push 0 c1:"f"
001F CallFunction
0020 Pop
0021 End
)");
}

TEST(Codegen, SwitchWithSeveralBreaksAndFallThrough) {
    EXPECT_EQ(listing("switch (n) { case 1: r = \"one\"; break; case 2: case 3: r = \"few\"; break; "
                      "default: r = \"many\"; break; }"),
              R"(0000 ConstantPool "n" "r" "one" "few" "many"
0016 Push c0:"n"
001B GetVariable
001C PushDuplicate
001D Push 1
0025 StrictEquals
0026 Not
0027 If +6 -> 0032
002C Pop
002D Jump +50 -> 0064
0032 PushDuplicate
0033 Push 2
003B StrictEquals
003C Not
003D If +6 -> 0048
0042 Pop
0043 Jump +41 -> 0071
0048 PushDuplicate
0049 Push 3
0051 StrictEquals
0052 Not
0053 If +6 -> 005E
0058 Pop
0059 Jump +19 -> 0071
005E Pop
005F Jump +26 -> 007E
0064 Push c1:"r" c2:"one"
006B SetVariable
006C Jump +26 -> 008B
0071 Push c1:"r" c3:"few"
0078 SetVariable
0079 Jump +13 -> 008B
007E Push c1:"r" c4:"many"
0085 SetVariable
0086 Jump +0 -> 008B
008B End
)");
}

TEST(Codegen, SwitchWithoutDefaultSkipsToTheEnd) {
    EXPECT_EQ(listing("switch (n) { case \"a\": x = 1; }"), R"(0000 ConstantPool "n" "a" "x"
000B Push c0:"n"
0010 GetVariable
0011 PushDuplicate
0012 Push c1:"a"
0017 StrictEquals
0018 Not
0019 If +6 -> 0024
001E Pop
001F Jump +6 -> 002A
0024 Pop
0025 Jump +11 -> 0035
002A Push c2:"x" 1
0034 SetVariable
0035 End
)");
}

// continue in a for loop runs the update before the test.
TEST(Codegen, ContinueInForRunsTheUpdate) {
    EXPECT_EQ(listing("for (i = 0; i < 5; i++) { if (i == 2) continue; t += i; }"),
              R"(0000 ConstantPool "i" "t"
0009 Push c0:"i" 0
0013 SetVariable
0014 Push c0:"i"
0019 GetVariable
001A Push 5
0022 Less2
0023 Not
0024 If +57 -> 0062
0029 Push c0:"i"
002E GetVariable
002F Push 2
0037 Equals2
0038 Not
0039 If +5 -> 0043
003E Jump +16 -> 0053
0043 Push c1:"t" c1:"t"
004A GetVariable
004B Push c0:"i"
0050 GetVariable
0051 Add2
0052 SetVariable
0053 Push c0:"i" c0:"i"
005A GetVariable
005B Increment
005C SetVariable
005D Jump -78 -> 0014
0062 End
)");
}

TEST(Codegen, WhileAndDoWhile) {
    EXPECT_EQ(listing("while (i < 3) i++; do { i--; } while (i > 0);"), R"(0000 ConstantPool "i"
0007 Push c0:"i"
000C GetVariable
000D Push 3
0015 Less2
0016 Not
0017 If +15 -> 002B
001C Push c0:"i" c0:"i"
0023 GetVariable
0024 Increment
0025 SetVariable
0026 Jump -36 -> 0007
002B Push c0:"i" c0:"i"
0032 GetVariable
0033 Decrement
0034 SetVariable
0035 Push c0:"i"
003A GetVariable
003B Push 0
0043 Greater
0044 If -30 -> 002B
0049 End
)");
}

// Leaving a for-in early pops the names Enumerate2 left, down to its null.
TEST(Codegen, ForInBreakCleansTheStack) {
    EXPECT_EQ(listing("for (var k in o) { if (k == \"b\") break; trace(k); }"),
              R"(0000 ConstantPool "o" "k" "b"
000B Push c0:"o"
0010 GetVariable
0011 Enumerate2
0012 StoreRegister 0
0016 Push null
001A Equals2
001B If +54 -> 0056
0020 Push c1:"k" r0
0027 DefineLocal
0028 Push c1:"k"
002D GetVariable
002E Push c2:"b"
0033 Equals2
0034 Not
0035 If +5 -> 003F
003A Jump +12 -> 004B
003F Push c1:"k"
0044 GetVariable
0045 Trace
0046 Jump -57 -> 0012
004B Push null
004F Equals2
0050 Not
0051 If -11 -> 004B
0056 End
)");
}

TEST(Codegen, ReturnFromForInCleansTheStack) {
    EXPECT_EQ(listing("function f(o) { for (k in o) { return k; } }"), R"(0000 ConstantPool "o" "k"
0009 DefineFunction "f" ("o") 62 bytes
  0014 Push c0:"o"
  0019 GetVariable
  001A Enumerate2
  001B StoreRegister 0
  001F Push null
  0023 Equals2
  0024 If +41 -> 0052
  0029 Push c1:"k" r0
  0030 SetVariable
  0031 Push c1:"k"
  0036 GetVariable
  0037 StoreRegister 0
  003B Pop
  003C Push null
  0040 Equals2
  0041 Not
  0042 If -11 -> 003C
  0047 Push r0
  004C Return
  004D Jump -55 -> 001B
0052 End
)");
}

// A for-in without break has no clean-up loop.
TEST(Codegen, ForInWithoutBreakHasNoCleanup) {
    const std::string text = without_offsets(listing("for (k in o) trace(k);"));
    EXPECT_FALSE(contains(text, "Not\n")) << text;
    EXPECT_TRUE(contains(text, "SetVariable\n")) << text;
}

TEST(Codegen, FunctionsAreHoistedAndTakeParameters) {
    EXPECT_EQ(listing("trace(add(1, 2)); function add(a, b) { return a + b; }"),
              R"(0000 ConstantPool "a" "b" "add"
000D DefineFunction "add" ("a", "b") 14 bytes
  001C Push c0:"a"
  0021 GetVariable
  0022 Push c1:"b"
  0027 GetVariable
  0028 Add2
  0029 Return
002A Push 2 1 2 c2:"add"
003E CallFunction
003F Trace
0040 End
)");
}

TEST(Codegen, GotoForms) {
    EXPECT_EQ(listing("gotoAndPlay(2); GotoAndStop(\"intro\"); gotoAndStop(n + 1); gotoAndPlay(0);"),
              R"(0000 ConstantPool "n"
0007 GotoFrame 1
000C Play
000D GoToLabel "intro"
0016 Stop
0017 Push c0:"n"
001C GetVariable
001D Push 1
0025 Add2
0026 GotoFrame2 stop
002A Push 0
0032 GotoFrame2 play
0036 End
)");
}

TEST(Codegen, GetUrlForms) {
    const std::string text = without_offsets(
        listing("getURL(\"a.html\"); getURL(u, \"_top\", \"POST\"); getUrl(\"b\", _blank, 'get');"));
    EXPECT_TRUE(contains(text, "Push c0:\"a.html\" c1:\"\"\nGetURL2 0\n")) << text;
    EXPECT_TRUE(contains(text, "Push c3:\"_top\"\nGetURL2 2\n")) << text;
    EXPECT_TRUE(contains(text, "Push c4:\"b\" c5:\"_blank\"\nGetVariable\nGetURL2 1\n")) << text;
}

// trace() is the Trace action, but a variable named trace stays a variable.
TEST(Codegen, TraceCallAndTraceVariable) {
    EXPECT_EQ(listing("trace = \"\"; trace(trace); TRACE(\"x\");"), R"(0000 ConstantPool "trace" "" "x"
000E Push c0:"trace" c1:""
0015 SetVariable
0016 Push c0:"trace"
001B GetVariable
001C Trace
001D Push c2:"x"
0022 Trace
0023 End
)");
}

TEST(Codegen, BuiltinsByAnyCase) {
    struct Case {
        const char* script;
        const char* code;
    };
    const Case cases[] = {
        {"play();", "Play\n"},
        {"STOP();", "Stop\n"},
        {"nextframe();", "NextFrame\n"},
        {"prevFrame();", "PrevFrame\n"},
        {"stopAllSounds();", "StopSounds\n"},
        {"r = random(10);", "RandomNumber\n"},
        {"i = INT(2.5);", "ToInteger\n"},
        {"s = String(1);", "ToString\n"},
        {"n = number(\"2\");", "ToNumber\n"},
        {"t = getTimer();", "GetTime\n"},
        {"p = targetPath(this);", "TargetPath\n"},
        {"v = eval(\"x\");", "Push c0:\"v\" c1:\"x\"\nGetVariable\nSetVariable\n"},
        {"getTimer();", "GetTime\nPop\n"},
        {"x = stop();", "Stop\nPush undefined\n"},
    };
    for (const Case& c : cases) {
        const std::string text = without_offsets(listing(c.script));
        EXPECT_TRUE(contains(text, c.code)) << c.script << "\n" << text;
    }
    // A method of that name is an ordinary call.
    EXPECT_TRUE(contains(listing("clip.stop();"), "CallMethod\n"));
}

TEST(Codegen, PushUsesTheSmallestForms) {
    EXPECT_EQ(listing("a = [1, 0.5, -0, 1e10, -2147483648, 2147483648, 0x10, true, null, undefined];"),
              R"(0000 ConstantPool "a"
0007 Push c0:"a" undefined null true 16 2147483648.0 -2147483648 10000000000.0 -0.0 0.5 1 10
0048 InitArray
0049 SetVariable
004A End
)");
}

TEST(Codegen, ConstantPoolSwitchesTo16BitIndices) {
    std::string script;
    for (int i = 0; i < 300; ++i) {
        script += "v" + std::to_string(i) + "=1;";
    }
    const std::string text = without_offsets(listing(script));
    EXPECT_TRUE(contains(text, " c255:\"v255\" 1\n")) << text.substr(0, 200);
    EXPECT_TRUE(contains(text, " c256:\"v256\" 1\n"));
    // The 16-bit form takes one byte more: Push of c255 is 10 bytes long, of c256 11.
    const auto bytes = swf::as::compile(script);
    ASSERT_TRUE(bytes);
    EXPECT_NE(std::string(bytes->begin(), bytes->end()).find(std::string("\x96\x08\x00\x09\x00\x01\x07", 7)),
              std::string::npos);
}

// Strings that no longer fit the pool's 64 KB are pushed inline.
TEST(Codegen, FullPoolFallsBackToInlineStrings) {
    const std::string big(40000, 'a');
    const std::string text =
        without_offsets(listing("x = \"" + big + "\"; y = \"" + std::string(40000, 'b') + "\";"));
    EXPECT_TRUE(contains(text, "c1:\"" + big + "\"")) << text.substr(0, 100);
    EXPECT_TRUE(contains(text, "Push c2:\"y\" \"bbbb")) << text.substr(0, 100);
}

TEST(Codegen, ObjectLiteralWithMethodAndThis) {
    EXPECT_EQ(listing("o = {n: 1, \"s\": 2, 3: 3, m: function () { return this.n; }};"),
              R"(0000 ConstantPool "o" "n" "s" "3" "m" "this"
0014 Push c0:"o" c1:"n" 1 c2:"s" 2 c3:"3" 3 c4:"m"
0030 DefineFunction "" () 13 bytes
  0038 Push c5:"this"
  003D GetVariable
  003E Push c1:"n"
  0043 GetMember
  0044 Return
0045 Push 4
004D InitObject
004E SetVariable
004F End
)");
}

// Updates evaluate the object and key once; a used result comes back through register 0.
TEST(Codegen, UpdatesOfVariablesAndMembers) {
    EXPECT_EQ(listing("y = x++; z = --o.p; o[k] *= 2; w = (o.q = 3);"),
              R"(0000 ConstantPool "y" "x" "z" "o" "p" "k" "w" "q"
0015 Push c0:"y" c1:"x" c1:"x"
001E GetVariable
001F ToNumber
0020 StoreRegister 0
0024 Increment
0025 SetVariable
0026 Push r0
002B SetVariable
002C Push c2:"z" c3:"o"
0033 GetVariable
0034 PushDuplicate
0035 Push c4:"p"
003A GetMember
003B Decrement
003C StoreRegister 0
0040 Push c4:"p"
0045 StackSwap
0046 SetMember
0047 Push r0
004C SetVariable
004D Push c3:"o"
0052 GetVariable
0053 PushDuplicate
0054 Push c5:"k"
0059 GetVariable
005A StoreRegister 0
005E StackSwap
005F Push r0
0064 GetMember
0065 Push 2
006D Multiply
006E SetMember
006F Push c6:"w" c3:"o"
0076 GetVariable
0077 Push c7:"q" 3
0081 StoreRegister 0
0085 SetMember
0086 Push r0
008B SetVariable
008C End
)");
}

TEST(Codegen, EveryCompoundAssignment) {
    const struct {
        const char* op;
        const char* code;
    } cases[] = {{"+=", "Add2"},   {"-=", "Subtract"},   {"*=", "Multiply"},   {"/=", "Divide"},
                 {"%=", "Modulo"}, {"<<=", "BitLShift"}, {">>=", "BitRShift"}, {">>>=", "BitURShift"},
                 {"&=", "BitAnd"}, {"|=", "BitOr"},      {"^=", "BitXor"}};
    for (const auto& c : cases) {
        const std::string text = without_offsets(listing(std::string("_root.n ") + c.op + " 3;"));
        EXPECT_TRUE(contains(text, std::string("Push 3\n") + c.code +
                                       "\nPush c1:\"n\"\nStackSwap\n"
                                       "SetMember\n"))
            << c.op << "\n"
            << text;
    }
}

TEST(Codegen, UnaryOperators) {
    const struct {
        const char* script;
        const char* code;
    } cases[] = {
        {"t = typeof x;", "GetVariable\nTypeOf\n"},
        {"v = void f();", "CallFunction\nPop\nPush undefined\n"},
        {"b = o instanceof C;", "GetVariable\nInstanceOf\n"},
        {"c = ~x;", "Push -1\nBitXor\n"},
        {"d = -x;", "Push c0:\"d\" 0 c1:\"x\"\nGetVariable\nSubtract\n"},
        {"d = -5;", "Push c0:\"d\" -5\n"},
        {"e = +x;", "GetVariable\nToNumber\n"},
        {"f = !x;", "GetVariable\nNot\n"},
        {"delete o.p;", "Push c1:\"p\"\nDelete\nPop\n"},
        {"delete x;", "Push c0:\"x\"\nDelete2\nPop\n"},
    };
    for (const auto& c : cases) {
        const std::string text = without_offsets(listing(c.script));
        EXPECT_TRUE(contains(text, c.code)) << c.script << "\n" << text;
    }
}

TEST(Codegen, BinaryOperators) {
    const struct {
        const char* op;
        const char* code;
    } cases[] = {{"+", "Add2\n"},           {"-", "Subtract\n"},
                 {"*", "Multiply\n"},       {"/", "Divide\n"},
                 {"%", "Modulo\n"},         {"<<", "BitLShift\n"},
                 {">>", "BitRShift\n"},     {">>>", "BitURShift\n"},
                 {"<", "Less2\n"},          {">", "Greater\n"},
                 {"<=", "Greater\nNot\n"},  {">=", "Less2\nNot\n"},
                 {"==", "Equals2\n"},       {"!=", "Equals2\nNot\n"},
                 {"===", "StrictEquals\n"}, {"!==", "StrictEquals\nNot\n"},
                 {"&", "BitAnd\n"},         {"|", "BitOr\n"},
                 {"^", "BitXor\n"}};
    for (const auto& c : cases) {
        const std::string text = without_offsets(listing(std::string("r = a ") + c.op + " b;"));
        EXPECT_TRUE(contains(text, "GetVariable\n" + std::string(c.code))) << c.op << "\n" << text;
    }
}

// Precedence and associativity: a - b - c is (a - b) - c; * binds tighter than +; = is right-assoc.
TEST(Codegen, PrecedenceAndAssociativity) {
    EXPECT_EQ(listing("r = 1 - 2 - 3 * 4;"), R"(0000 ConstantPool "r"
0007 Push c0:"r" 1 2
0016 Subtract
0017 Push 3 4
0024 Multiply
0025 Subtract
0026 SetVariable
0027 End
)");
    const std::string chained = without_offsets(listing("a = b = 2;"));
    EXPECT_TRUE(contains(chained, "Push c0:\"a\" c1:\"b\" 2\nStoreRegister 0\nSetVariable\n"
                                  "Push r0\nSetVariable\n"))
        << chained;
}

TEST(Codegen, CallsNewAndMethods) {
    EXPECT_EQ(listing("o = new Obj(1); d = new a.B(); s = o.m(2, 3); f(); (g)(4); o[\"k\"]();"),
              R"(0000 ConstantPool "o" "Obj" "d" "a" "B" "s" "m" "f" "g" "k"
001B Push c0:"o" 1 1 c1:"Obj"
002C NewObject
002D SetVariable
002E Push c2:"d" 0 c3:"a"
003A GetVariable
003B Push c4:"B"
0040 NewMethod
0041 SetVariable
0042 Push c5:"s" 3 2 2 c0:"o"
0058 GetVariable
0059 Push c6:"m"
005E CallMethod
005F SetVariable
0060 Push 0 c7:"f"
006A CallFunction
006B Pop
006C Push 4 1 c8:"g"
007B CallFunction
007C Pop
007D Push 0 c0:"o"
0087 GetVariable
0088 Push c9:"k"
008D CallMethod
008E Pop
008F End
)");
}

TEST(Codegen, VarDeclarations) {
    EXPECT_EQ(listing("var a = 1, b;"), R"(0000 ConstantPool "a" "b"
0009 Push c0:"a" 1
0013 DefineLocal
0014 Push c1:"b"
0019 DefineLocal2
001A End
)");
}

// Semicolons may be left out before a line break, a '}' and the end; 'return' ends at a line break.
TEST(Codegen, AutomaticSemicolons) {
    EXPECT_EQ(listing("a = 1\nb = 2"), listing("a = 1; b = 2;"));
    EXPECT_EQ(listing("function f() { return\n1 }"), listing("function f() { return; 1; }"));
    EXPECT_EQ(listing("if (a) { b() }"), listing("if (a) { b(); }"));
    EXPECT_EQ(listing("a\n++b"), listing("a; ++b;"));
}

TEST(Codegen, EmptyScriptIsJustEnd) {
    EXPECT_EQ(listing(""), "0000 End\n");
    EXPECT_EQ(listing(" ; // nothing\n/* at all */"), "0000 End\n");
}

TEST(Codegen, CompilingTwiceGivesTheSameBytes) {
    const char* script = "function f(n) { return n < 2 ? n : f(n - 1) + f(n - 2); } trace(f(10));";
    EXPECT_EQ(swf::as::compile(script), swf::as::compile(script));
    // A failed compilation leaves nothing behind for the next one.
    EXPECT_FALSE(swf::as::compile("x = ("));
    EXPECT_EQ(swf::as::compile(script), swf::as::compile(script));
}

} // namespace
