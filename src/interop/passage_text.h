// One passage's text taken apart: what a card can show (the text without links and without the story
// format's mark-up and macros), its links in order, and what had to be removed. The link forms are the
// four of Twine ([[text]], [[text|target]], [[text->target]], [[target<-text]]), SugarCube's
// <<link>>/<<button>> and Harlowe's (link-goto:); a <<link>> whose body is the score and condition
// macros the Twee writer makes is read back as the score and condition.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace interop {

// The story formats whose mark-up is known. Chapbook's line rules (variables section, modifiers) apply
// only to Chapbook stories and stories of unknown format; everything else to every story.
enum class StoryFormat { Unknown, Harlowe, SugarCube, Chapbook, Snowman };
StoryFormat FormatFromName(std::string_view name);

struct PassageLink {
    std::string caption;
    std::optional<std::string> target; // passage name; nullopt: the link leads nowhere
    int32_t score = 0;                 // added when the link is followed
    std::string compare;               // "", ">", ">=", "=", "<=", "<"
    int32_t compareValue = 0;
    std::optional<std::string> thenTarget; // where the link leads when the comparison holds
    std::string setter;                    // a link setter or macro body that was not understood
};

struct PassageContent {
    std::string text;                 // LF line ends
    std::vector<PassageLink> links;   // in the order they appear
    std::optional<std::string> title; // the card title line the Twee writer puts first
    bool resetsScore = false;         // begins with <<set $score to 0>>
    std::vector<std::string> removed; // what was removed, each thing named once, in order
};

PassageContent ParsePassage(std::string_view text, StoryFormat format);

// True when a card's text reads back as itself from a SugarCube passage: no mark-up, macro, link or
// passage header in it.
bool IsPlainText(std::string_view text);

// The first line of a passage whose card title differs from the passage name (see PassageContent::title).
std::string TitleLine(const std::string& title);

} // namespace interop
