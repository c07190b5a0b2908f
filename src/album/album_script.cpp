#include "album/album_script.h"

#include <array>
#include <string_view>

namespace album {

std::string AlbumPauseScript() {
    static constexpr std::array<std::string_view, 17> kLines = {
        "if(!init){",
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
        "",
    };
    std::string script;
    for (size_t i = 0; i < kLines.size(); ++i) {
        if (i > 0) {
            script += "\r\n";
        }
        script += "\t\t\t\t\t\t ";
        script += kLines[i];
    }
    return script;
}

} // namespace album
