// The real-player cases, grouped by what they prove.
#include "player_cases.h"

namespace as_test {

namespace {

// The album pause script exactly as the album writes it (17 lines, CR LF, six tabs and a space).
std::string album_script() {
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
        script += (script.empty() ? "" : "\r\n") + std::string(6, '\t') + " " + line;
    }
    return script;
}

} // namespace

std::vector<PlayerCase> player_cases() {
    std::vector<PlayerCase> cases;
    cases.push_back({"arithmetic",
                     {R"(trace(1 + 2 * 3); trace(10 / 4); trace(7 % 3); trace(2 - 5); trace(-(3));
trace(1 << 4 | 1); trace(-16 >> 2); trace(-1 >>> 28); trace(6 & 3); trace(6 ^ 3); trace(~5);
trace(0x10 + .5); trace(1e3); trace(2.5e-1 * 4); trace((1 + 2) * 3); trace(10 - 4 - 3);
x = 5; x += 2; x *= 3; x -= 1; x /= 4; trace(x); y = 17; y %= 5; y <<= 3; y >>= 1; y |= 1; y &= 13; y ^= 4; trace(y);
trace(int(3.7)); trace(Number("4") + 1); trace(random(1)); trace(int(-2.5));)"},
                     {"7",    "2.5",  "1", "-3", "-3", "17", "-4", "15", "2", "5", "-6",
                      "16.5", "1000", "1", "9",  "3",  "5",  "13", "3",  "5", "0", "-2"}});
    cases.push_back(
        {"strings",
         {R"(trace("a" + 1 + 2); trace(1 + 2 + "a"); s = "ab"; s += 'cd'; trace(s);
trace("q\"x\\y" + '\''); trace("\x41\u00e9"); trace(String(5) + 1); trace("n=" + (2 + 3));
trace(("abc").length); trace("abc".toUpperCase()); trace("a,b,c".split(",").length);
trace = ""; trace(trace + "|"); trace(typeof trace);)"},
         {"a12", "3a", "abcd", "q\"x\\y'", "A\xC3\xA9", "51", "n=5", "3", "ABC", "3", "|", "string"}});
    cases.push_back(
        {"comparisons",
         {R"(function cmp(a, b) {
    return (a < b) + "," + (a <= b) + "," + (a > b) + "," + (a >= b) + "," + (a == b) + "," + (a != b) + "," +
           (a === b) + "," + (a !== b);
}
function cond(a, b) {
    var r = "";
    if (a < b) r += "<"; if (a <= b) r += "<="; if (a > b) r += ">"; if (a >= b) r += ">=";
    if (a == b) r += "=="; if (a != b) r += "!="; if (a === b) r += "==="; if (a !== b) r += "!==";
    if (!(a < b)) r += "!<";
    return r;
}
trace(cmp(1, 2)); trace(cmp(2, 2)); trace(cmp(3, 2)); trace(cmp("2", 2)); trace(cmp(-1, -0.5));
trace(cond(1, 2)); trace(cond(2, 2)); trace(cond(3, 2)); trace(cond("b", "a"));)"},
         {"true,true,false,false,false,true,false,true", "false,true,false,true,true,false,true,false",
          "false,false,true,true,false,true,false,true", "false,true,false,true,true,false,false,true",
          "true,true,false,false,false,true,false,true", "<<=!=!==", "<=>======!<", ">>=!=!==!<",
          ">>=!=!==!<"}});
    cases.push_back({"short_circuit",
                     {R"(function t(v) { log += v; return v; }
log = ""; r = t(0) && t(1); trace(r + "|" + log);
log = ""; r = t(2) && t(3); trace(r + "|" + log);
log = ""; r = t(0) || t(4); trace(r + "|" + log);
log = ""; r = t(5) || t(6); trace(r + "|" + log);
log = ""; t(0) && t(7); t(8) || t(9); trace(log);
log = ""; r = t(1) ? t("y") : t("n"); trace(r + "|" + log);
log = ""; r = t(0) && t(1) || t(2); trace(r + "|" + log);)"},
                     {"0|0", "3|23", "4|04", "5|5", "08", "y|1y", "2|02"}});
    cases.push_back(
        {"loops",
         {R"(s = ""; for (i = 0; i < 10; i++) { if (i == 2) continue; if (i == 5) break; s += i; } trace(s);
s = ""; i = 0; while (true) { i++; if (i % 2) continue; if (i > 6) break; s += i; } trace(s);
s = ""; i = 0; do { s += i; i++; } while (i < 3); trace(s);
s = ""; i = 0; do { i++; if (i == 2) continue; s += i; } while (i < 4); trace(s);
s = ""; for (i = 0; i < 3; i++) { for (j = 0; j < 3; j++) { if (j == i) break; s += "," + i + j; } } trace(s);
s = ""; for (var a = 0, b = 10; a < b; a += 3, b -= 3) s += a + ":" + b + " "; trace(s);
n = 0; for (;;) { if (++n >= 4) break; } trace(n);)"},
         {"0134", "246", "012", "134", ",10,20,21", "0:10 3:7 ", "4"}});
    cases.push_back(
        {"switch",
         {R"(function sw(n) {
    var r = "";
    switch (n) {
    case 1: r += "one"; break;
    case 2: r += "two";
    case 3: r += "three"; break;
    case "4": r += "str4"; break;
    default: r += "other";
    case 5: r += "five";
    }
    return r;
}
trace(sw(1)); trace(sw(2)); trace(sw(3)); trace(sw(4)); trace(sw("4")); trace(sw(5)); trace(sw(9));
s = ""; for (i = 0; i < 4; i++) { switch (i) { case 1: continue; case 2: s += "b"; break; } s += i; } trace(s);
switch (1 + 1) { case 2: trace("computed"); })"},
         {"one", "twothree", "three", "otherfive", "str4", "five", "otherfive", "0b23", "computed"}});
    cases.push_back(
        {"functions",
         {R"(trace(hoisted(2));
function hoisted(x) { return x * 2; }
function fact(n) { if (n <= 1) return 1; return n * fact(n - 1); }
function fib(n) { return n < 2 ? n : fib(n - 1) + fib(n - 2); }
function add3(a, b, c) { return a + b + c; }
function noReturn() { x = 1; }
function outer(a) { function inner(b) { return b * 2; } return inner(a) + 1; }
function firstOver(arr, lim) { for (var i = 0; i < arr.length; i++) { if (arr[i] > lim) return arr[i]; } return -1; }
function findKey(o, v) { for (var k in o) { if (o[k] == v) return k; } return "none"; }
function missing(a, b) { return typeof b; }
var sq = function (x) { return x * x; };
trace(fact(6)); trace(fib(10)); trace(add3(1, 2, 3)); trace(typeof noReturn()); trace(outer(5));
trace(firstOver([1, 5, 9], 4)); trace(firstOver([1], 4)); trace("k=" + findKey({a: 1, b: 2}, 2) + ";");
trace(findKey({a: 1}, 3)); trace(sq(7)); trace(missing(1)); trace(add3(1, 2, 3) * sq(2));)"},
         {"4", "720", "55", "6", "undefined", "11", "5", "-1", "k=b;", "none", "49", "undefined", "24"}});
    cases.push_back(
        {"objects",
         {R"(var o = {n: 3, get: function () { return this.n; }, inc: function (d) { this.n += d; return this; }};
trace(o.get()); o.inc(2).inc(5); trace(o.n); trace(o["n"]); trace(o["get"]());
function P(x) { this.x = x; }
P.prototype.twice = function () { return this.x * 2; };
var inst = new P(21); trace(inst.twice()); trace(inst instanceof P); trace(o instanceof P);
var q = new Object(); q.a = 1; delete q.a; trace(typeof q.a); trace({}.x == undefined);
var d = new Date(2000, 0, 1); trace(d.getFullYear());
Foo = 7; trace(foo); // names are case-insensitive in Flash 6, so a variable p would replace P)"},
         {"3", "10", "10", "10", "42", "true", "false", "undefined", "true", "2000", "7"}});
    cases.push_back(
        {"arrays",
         {R"(var a = [3, 1, 2]; trace(a.length); a.push(4); trace(a.join("-")); a[0] = 9; trace(a[0] + a[3]);
a.sort(); trace(a.join(",")); trace([].length); var n = [[1, 2], [3]]; trace(n[1][0]); trace([1, , 3].length);
var m = new Array(); m[2] = "z"; trace(m.length); trace(["x", "y"][1]);)"},
         {"3", "3-1-2-4", "13", "1,2,4,9", "0", "3", "3", "3", "y"}});
    cases.push_back({"for_in",
                     {R"(o = {a: 1, b: 2, c: 3}; sum = 0; for (var k in o) sum += o[k]; trace(sum);
ks = []; for (k in o) ks.push(k); ks.sort(); trace(ks.join());
count = 0; for (k in o) { count++; if (count == 2) break; } trace("after " + count);
pairs = 0; for (x in o) { for (y in o) { pairs++; if (y == x) break; } } trace(pairs);
n = 0; for (k in o) { if (k == "b") continue; n++; } trace(n); trace("stack " + (1 + 1));)"},
                     {"6", "a,b,c", "after 2", "6", "2", "stack 2"}});
    cases.push_back(
        {"typeof",
         {R"(trace(typeof 1); trace(typeof "s"); trace(typeof true); trace(typeof {}); trace(typeof []);
trace(typeof function () {}); trace(typeof undefined); trace(typeof null); trace(typeof noSuchVar);
trace(typeof _root); trace(typeof void 0);)"},
         {"number", "string", "boolean", "object", "object", "function", "undefined", "null", "undefined",
          "movieclip", "undefined"}});
    cases.push_back(
        {"member_updates",
         {R"(_root.score = 0; _root.score += 5; _root.score -= 1; _root.score *= 3; trace(_root.score);
obj = {v: 1}; obj.v += 10; obj["v"] *= 2; trace(obj.v); k = "v"; obj[k] -= 2; trace(obj.v);
obj.v++; ++obj.v; trace(obj.v); trace(obj.v++); trace(obj.v); trace(--obj.v); trace(obj[k]--); trace(obj.v);
x = 5; y = x++; trace(y + "," + x); z = (w = 4) + 1; trace(z + "," + w); a = b = 7; trace(a + b);
obj.w = obj.v += 100; trace(obj.w); i = 0; arr = [10, 20]; arr[i++] += 5; trace(arr + "|" + i);)"},
         {"12", "22", "20", "22", "22", "23", "22", "22", "21", "5,6", "5,4", "14", "121", "15,20|1"}});
    cases.push_back(
        {"gift_button",
         {"score=0; trace=\"\";", "_root.score += 5; _root.trace+=\"Start[-]Next[N]\";  {gotoAndStop(6);}",
          "trace(\"not here\");", "trace(\"nor here\");",
          "trace(_root.score + \"|\" + _root.trace); _root.score += 7; "
          "_root.trace+=\"Quiz[-]Done[N]\"; if(_root.score>=10){gotoAndStop(8);}else {gotoAndStop(7);}",
          "trace(\"else\");", "trace(\"then \" + score + \" \" + trace);"},
         {"5|Start[-]Next[N]", "then 12 Start[-]Next[N]Quiz[-]Done[N]"}});
    cases.push_back({"goto_literal",
                     {"trace(\"f2\"); gotoAndStop(4);", "trace(\"f3\");", "trace(\"f4\");", "trace(\"f5\");"},
                     {"f2", "f4"}});
    cases.push_back({"goto_expression",
                     {"trace(\"g2\"); n = 2; gotoAndStop(n * 2 + 1);", "trace(\"g3\");", "trace(\"g4\");",
                      "trace(\"g5\");", "trace(\"g6\");"},
                     {"g2", "g5"}});
    cases.push_back({"goto_play",
                     {"trace(\"p2\"); if (!started) { started = true; gotoAndPlay(4); } else { stop(); }",
                      "trace(\"p3\");", "trace(\"p4\");", "trace(\"p5\"); gotoAndPlay(2);"},
                     {"p2", "p4", "p5", "p2"}});
    cases.push_back(
        {"album_pause_script",
         {album_script() + "\ntrace(init + \" \" + stopped + \" \" + typeof controls.onMouseDown);"},
         {"true false function"}});
    return cases;
}

} // namespace as_test
