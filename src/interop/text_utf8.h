// Small UTF-8 helpers of the story readers and writer.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace interop {

// The text of a story file as UTF-8 with LF line ends and no byte-order mark. Throws StoryError for
// bytes that are not UTF-8 text (invalid sequences, NUL bytes).
std::string CheckedText(std::string_view bytes);

// Number of characters (code points) of valid UTF-8 text.
size_t CharCount(std::string_view text);

// The first `count` characters of valid UTF-8 text.
std::string FirstChars(std::string_view text, size_t count);

} // namespace interop
