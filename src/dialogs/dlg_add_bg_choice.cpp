#include "dialogs/dlg_add_bg_choice.h"

namespace add_bg {

Alignment SplitAlignCode(int code) {
    switch (code) {
    case 9:
        return {kTile, kNoPosition, false};
    case 10:
        return {kStretch, kNoPosition, false};
    case 11:
        return {kStretch, kNoPosition, true};
    default:
        return {kPositioned, code >= 0 && code <= 8 ? code : kCentre, false};
    }
}

int ComposeAlignCode(const Alignment& a) {
    if (a.placement == kTile) {
        return 9;
    }
    if (a.placement == kStretch) {
        return a.keepAspect ? 11 : 10;
    }
    return a.position >= 0 && a.position <= 8 ? a.position : kCentre;
}

std::string SampleFolderPrefix(std::string_view kind) {
    return kind == "button" ? "Button\\" : "Background\\";
}

std::string ComposeStoredValue(std::string_view kind, int mode, std::string_view value) {
    if (mode == kColourMode || mode == kFileMode) {
        return std::string(value);
    }
    return SampleFolderPrefix(kind) + std::string(value);
}

} // namespace add_bg
