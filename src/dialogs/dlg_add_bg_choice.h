// How the callers of CDlgAddBg turn a stored background or button value into the dialog's members and
// back: the sample folder prefix, and the placement code (0..8 a grid position, 9 tile, 10 stretch,
// 11 stretch keeping width:height) split into placement, position and keep-aspect. Plain C++, no Qt.
#pragma once

#include <string>
#include <string_view>

namespace add_bg {

// Modes of the dialog.
inline constexpr int kSampleMode = 0; // "Default": a file of the sample folder
inline constexpr int kColourMode = 1; // "Background Color Only"
inline constexpr int kFileMode = 2;   // "Picture or Flash Only": any file on the disk

// Placements.
inline constexpr int kPositioned = 0;
inline constexpr int kTile = 1;
inline constexpr int kStretch = 2;

inline constexpr int kNoPosition = -1;
inline constexpr int kCentre = 4;

struct Alignment {
    int placement = kPositioned;
    int position = kNoPosition; // 0..8 row-major, or kNoPosition (tile and stretch set none)
    bool keepAspect = false;
    friend bool operator==(const Alignment&, const Alignment&) = default;
};

// The placement code split up. A code outside 0..11 counts as centred (how the movie places it).
Alignment SplitAlignCode(int code);
// The placement code of a choice: 9 for tile, 10 or 11 for stretch, else the position (centre when none
// was chosen).
int ComposeAlignCode(const Alignment& alignment);

// "Background\" for "background", "Button\" for "button" (the stored form keeps the backslash).
std::string SampleFolderPrefix(std::string_view kind);
// The stored value of a choice: colours and own files as they are, a sample file name behind its
// folder prefix.
std::string ComposeStoredValue(std::string_view kind, int mode, std::string_view value);

} // namespace add_bg
