// Listings of the folders beside the program that the pickers offer: the sample projects in Themes,
// the font faces in Font and the music samples in Music. Names are sorted without regard to case so the
// lists read the same on every file system.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace app {

struct ThemeEntry {
    std::string title;          // the file name without ".cwp"
    std::filesystem::path file; // Themes/<title>.cwp
};

// Every "*.cwp" file (any case of the extension) directly in `dataRoot`/Themes; none when the folder is
// missing or empty.
std::vector<ThemeEntry> ListThemes(const std::filesystem::path& dataRoot);

// The file a theme title stands for: `dataRoot`/Themes/<title>.cwp, whether or not it exists.
std::filesystem::path ThemePath(const std::filesystem::path& dataRoot, const std::string& title);

// Font faces of `dataRoot`/Font: each <face>.fdb makes a face (its title font is _<face>.fdb when that
// exists); a lone _<face>.fdb is not a face.
std::vector<std::string> ListFontFaces(const std::filesystem::path& dataRoot);

struct MusicSample {
    std::string name; // file name
    std::string type; // "mp3" or "swf"
};

// Files of `dataRoot`/Music whose last three characters, lower-cased, are "mp3" or "swf"; names ending
// in "db" (thumbnail databases) and folders are skipped.
std::vector<MusicSample> ListMusicSamples(const std::filesystem::path& dataRoot);

// The last three characters of a name, lower-cased ("song.MP3" -> "mp3").
std::string LowerTail3(std::string_view name);

} // namespace app
