#include "publish/self_running_html.h"

#include "app/markup_escape.h"
#include "publish/base64.h"
#include "swf/error.h"
#include "swf/swf_file.h"

#include <zlib.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <system_error>

namespace publish {

namespace fs = std::filesystem;

namespace {

std::string ReadText(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        throw PublishError("cannot read " + file.string());
    }
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<uint8_t> ReadBytes(const fs::path& file) {
    const std::string text = ReadText(file);
    return std::vector<uint8_t>(text.begin(), text.end());
}

// gzip (RFC 1952) at the default level (the best level takes half as long again for 0.4% less): the
// browser unpacks it with DecompressionStream("gzip").
std::vector<uint8_t> Gzip(std::span<const uint8_t> data) {
    z_stream z{};
    if (deflateInit2(&z, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 15 + 16, 9, Z_DEFAULT_STRATEGY) != Z_OK) {
        throw PublishError("zlib cannot start");
    }
    std::vector<uint8_t> out(deflateBound(&z, uLong(data.size())));
    z.next_in = const_cast<Bytef*>(data.data());
    z.avail_in = uInt(data.size());
    z.next_out = out.data();
    z.avail_out = uInt(out.size());
    const int rc = deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    if (rc != Z_STREAM_END) {
        throw PublishError("zlib cannot compress the player");
    }
    return out;
}

// The player's script names its two modules (with and without the WebAssembly extensions) in one
// expression, "n?new URL(a(797),a.b):new URL(a(124),a.b)", the first for browsers with the extensions,
// which every current browser has; module 797 is "797(e,n,a){e.exports=a.p+"<hash>.wasm"}".
std::string ModernWasmName(const std::string& script) {
    const std::string marker = "?new URL(";
    const size_t at = script.find(marker);
    if (at == std::string::npos) {
        return {};
    }
    size_t p = script.find('(', at + marker.size());
    if (p == std::string::npos) {
        return {};
    }
    std::string id;
    for (++p; p < script.size() && std::isdigit(static_cast<unsigned char>(script[p])); ++p) {
        id += script[p];
    }
    if (id.empty()) {
        return {};
    }
    for (size_t m = script.find(id + "("); m != std::string::npos; m = script.find(id + "(", m + 1)) {
        const bool starts = m > 0 && (script[m - 1] == ',' || script[m - 1] == '{');
        const size_t end = script.find(".wasm\"", m);
        if (!starts || end == std::string::npos || end - m > 80) {
            continue;
        }
        const size_t quote = script.rfind('"', end);
        return script.substr(quote + 1, end + 5 - quote - 1);
    }
    return {};
}

std::string WithoutSourceMap(std::string script) {
    const size_t at = script.rfind("\n//# sourceMappingURL=");
    if (at != std::string::npos) {
        script.erase(at + 1);
    }
    return script;
}

// Inline scripts must not close their own element early or open an HTML comment.
std::string SafeInScript(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '<' && i + 1 < text.size() && (text[i + 1] == '/' || text[i + 1] == '!')) {
            out += "<\\";
            continue;
        }
        out += text[i];
    }
    return out;
}

constexpr std::string_view kConfig = R"JS(window.RufflePlayer = window.RufflePlayer || {};
window.RufflePlayer.config = {
  polyfills: false,
  autoplay: "on",
  unmuteOverlay: "hidden",
  splashScreen: false,
  letterbox: "on",
  preferredRenderer: "webgl",
  logLevel: "error"
};
)JS";

// Answers the player's request for its module from the inlined copy; every other request goes on.
constexpr std::string_view kFetchWrapper = R"JS((function () {
  var realFetch = window.fetch.bind(window);
  function unpack(id) {
    var text = document.getElementById(id).textContent.trim();
    return realFetch("data:application/octet-stream;base64," + text)
      .then(function (r) { return r.arrayBuffer(); }, function () {
        var s = atob(text), bytes = new Uint8Array(s.length);
        for (var i = 0; i < s.length; ++i) bytes[i] = s.charCodeAt(i);
        return bytes.buffer;
      })
      .then(function (packed) {
        var stream = new Blob([packed]).stream().pipeThrough(new DecompressionStream("gzip"));
        return new Response(stream).arrayBuffer();
      });
  }
  window.cwUnpack = unpack;
  window.fetch = function (input, init) {
    var url = String(input && input.url ? input.url : input);
    if (url === WASM_NAME || url.slice(-WASM_NAME.length - 1) === "/" + WASM_NAME) {
      return unpack("cw-wasm").then(function (bytes) {
        return new Response(bytes, { headers: { "Content-Type": "application/wasm",
                                                 "Content-Length": String(bytes.byteLength) } });
      });
    }
    return realFetch(input, init);
  };
})();
)JS";

constexpr std::string_view kStart = R"JS((function () {
  var player = window.RufflePlayer.newest().createPlayer();
  player.id = "player";
  document.body.appendChild(player);
  window.cwUnpack("cw-movie").then(function (movie) {
    return player.ruffle().load({ data: new Uint8Array(movie) });
  }).catch(function (e) {
    document.body.insertAdjacentText("beforeend", "This gift cannot be played here: " + e);
  });
})();
)JS";

std::string ReplaceAll(std::string text, std::string_view from, std::string_view to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

} // namespace

RufflePackage LoadRufflePackage(const fs::path& ruffleDir) {
    RufflePackage player;
    player.script = WithoutSourceMap(ReadText(ruffleDir / "ruffle.js"));
    std::error_code ec;
    std::vector<fs::path> chunks;
    for (const fs::directory_entry& entry : fs::directory_iterator(ruffleDir, ec)) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with("core.ruffle.") && name.ends_with(".js")) {
            chunks.push_back(entry.path());
        }
    }
    if (ec || chunks.empty()) {
        throw PublishError("the player's core chunks are missing in " + ruffleDir.string());
    }
    std::sort(chunks.begin(), chunks.end());
    for (const fs::path& chunk : chunks) {
        player.chunks.push_back(WithoutSourceMap(ReadText(chunk)));
    }
    player.wasmName = ModernWasmName(player.script);
    if (player.wasmName.empty()) {
        throw PublishError("ruffle.js does not name its WebAssembly module as expected");
    }
    player.wasm = ReadBytes(ruffleDir / player.wasmName);
    return player;
}

std::string BuildSelfRunningHtml(const RufflePackage& player, std::span<const uint8_t> movie,
                                 std::string_view title) {
    try {
        (void)swf::read_swf(movie);
    } catch (const swf::Error& e) {
        throw PublishError(std::string("not a Flash movie: ") + e.what());
    }
    std::string html;
    html.reserve(player.wasm.size() / 2 + player.script.size() + movie.size() * 2);
    html += "<!doctype html>\n<html><head><meta charset=\"utf-8\">\n<title>";
    html += app::EscapeMarkup(title);
    html += "</title>\n<!-- A Cardwright e-gift. Player: Ruffle (MIT OR Apache-2.0), https://ruffle.rs -->\n";
    html += "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n";
    html += "<style>html,body{margin:0;padding:0;height:100%;background:#000;overflow:hidden}"
            "#player{display:block;width:100vw;height:100vh}</style>\n</head><body>\n";
    html += "<script type=\"application/x-gzip-base64\" id=\"cw-wasm\">";
    html += Base64Encode(Gzip(player.wasm));
    html += "</script>\n<script type=\"application/x-gzip-base64\" id=\"cw-movie\">";
    html += Base64Encode(Gzip(movie));
    html += "</script>\n<script>\n";
    html += kConfig;
    html += ReplaceAll(std::string(kFetchWrapper), "WASM_NAME", "\"" + player.wasmName + "\"");
    html += "</script>\n";
    // The chunks go first: the player's loader finds them registered and asks for no file.
    for (const std::string& chunk : player.chunks) {
        html += "<script>\n" + SafeInScript(chunk) + "\n</script>\n";
    }
    html += "<script>\n" + SafeInScript(player.script) + "\n</script>\n";
    html += "<script>\n";
    html += kStart;
    html += "</script>\n</body></html>\n";
    return html;
}

void WriteSelfRunningHtml(const fs::path& movie, const fs::path& ruffleDir, const fs::path& target) {
    const std::vector<uint8_t> bytes = ReadBytes(movie);
    const std::string html =
        BuildSelfRunningHtml(LoadRufflePackage(ruffleDir), bytes, target.stem().string());
    fs::path partial = target;
    partial += ".partial";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        out.write(html.data(), std::streamsize(html.size()));
        out.close();
        if (!out) {
            std::error_code ignored;
            fs::remove(partial, ignored);
            throw PublishError("cannot write " + target.string());
        }
    }
    std::error_code ec;
    fs::rename(partial, target, ec);
    if (ec) {
        fs::remove(partial, ec);
        throw PublishError("cannot write " + target.string());
    }
}

SelfRunningOutcome BuildExeWithPlayer(const fs::path& moviePath, const fs::path& ruffleDir,
                                      const AskTargetFn& askTarget) {
    SelfRunningOutcome outcome;
    std::error_code ec;
    if (!fs::is_regular_file(moviePath, ec)) {
        outcome.reason = "no movie at " + moviePath.string();
        return outcome;
    }
    const std::optional<fs::path> target = askTarget ? askTarget(moviePath) : std::nullopt;
    if (!target) {
        outcome.ok = true; // the user chose not to save: not a failure
        return outcome;
    }
    try {
        WriteSelfRunningHtml(moviePath, ruffleDir, *target);
    } catch (const PublishError& e) {
        outcome.reason = e.what();
        return outcome;
    }
    outcome.ok = true;
    outcome.written = *target;
    return outcome;
}

fs::path DefaultSelfRunningPath(const fs::path& movie) {
    fs::path html = movie;
    html.replace_extension(".html");
    return html;
}

} // namespace publish
