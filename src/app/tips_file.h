// The tips file: one short hint per line of a plain-text file beside the program. The reader remembers
// where it stopped (a byte offset kept by the caller between runs) and starts over when the file changes.
//
//     app::TipsProfile profile = LoadFromSettings();
//     app::TipsReader tips(dataRoot / "Tips.txt", profile);  // reads the first tip
//     show(tips.Text());
//     tips.Next();                                           // the next one
//     profile.filePos = tips.Position();                     // saved when the window goes away
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace app {

// Messages of the tips window.
inline constexpr const char* kTipsHeading = "Did you know...";
inline constexpr const char* kTipsMissing = "Tips file does not exist in the prescribed directory";
inline constexpr const char* kTipsTrouble = "Trouble reading the tips file";
inline constexpr const char* kTipsNone = "The tips file holds no tips.";

// Longest piece of a line read at once; a longer line is read as several pieces, each a line of its own.
inline constexpr size_t kTipPieceLength = 999;

// What the tips window keeps between runs.
struct TipsProfile {
    int startUp = 0;       // 1: do not show tips at start-up
    int64_t filePos = 0;   // byte offset of the next tip
    std::string timeStamp; // modification time of the file when filePos was stored
};

// A line is skipped when it is empty or begins with a blank, a tab or ';' (a comment).
bool IsTipLine(std::string_view piece);

// The file's modification time in the C library's ctime form, trailing white space removed; empty when
// the file cannot be examined.
std::string TipsTimeStamp(const std::filesystem::path& file);

class TipsReader {
public:
    enum class Status {
        Ok,         // Text() is a tip
        Missing,    // the file cannot be opened; Text() is kTipsMissing
        SeekFailed, // the stored position cannot be reached; Text() is empty
        NoTip,      // the file holds no tip line at all; Text() is kTipsNone
    };

    // Opens the file, starts from the first tip when its time stamp differs from the profile's (and
    // updates profile.timeStamp), seeks to the stored position and reads the first tip.
    TipsReader(const std::filesystem::path& file, TipsProfile& profile);

    bool IsOpen() const { return m_file != nullptr; }
    Status GetStatus() const { return m_status; }
    const std::string& Text() const { return m_text; }
    // Where the next tip is read: the value to store as the profile's filePos.
    int64_t Position() const;

    // Reads the next tip; after the last one the file is read again from its start.
    void Next();
    // Shows again the tip shown before the current one in this session; false when there is none.
    bool Previous();
    bool HasPrevious() const { return m_shown.size() > 1; }

private:
    // Reads one piece of at most kTipPieceLength characters, through its line end; nullopt at the end.
    std::optional<std::string> ReadPiece();
    bool ReadTipAt(std::optional<int64_t> start);

    struct Closer {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    std::unique_ptr<std::FILE, Closer> m_file;
    Status m_status = Status::Missing;
    std::string m_text;
    std::vector<int64_t> m_shown; // start offsets of the tips shown in this session, in order
};

} // namespace app
