// A Twine story as the readers find it, before it becomes a project: the story's own data and its
// passages in story order, each with its raw text.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace interop {

struct Passage {
    std::string name;
    std::vector<std::string> tags;
    std::string text; // as the story holds it, LF line ends
};

struct Story {
    std::string title;              // StoryTitle / name attribute; may be empty
    std::string start;              // name of the start passage; empty when the story names none
    std::string format;             // story format, e.g. "SugarCube", "Harlowe"; may be empty
    std::vector<Passage> passages;  // every passage, special ones included, in story order
    std::vector<std::string> notes; // what the reader could not use (bad metadata, a second story)
};

// A file that is not a story, or one too damaged to read; what() is the message for the user.
class StoryError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace interop
