// Quoting text as an ActionScript string literal, so any text can be put into a generated script (or a
// listing) without breaking or changing it.
#pragma once

#include <string>
#include <string_view>

namespace swf::as {

// `text` inside double quotes with ", \, line breaks, tabs and other control characters escaped; UTF-8
// bytes pass unchanged. A NUL is dropped: a movie's strings end at one, so it cannot be carried.
std::string string_literal(std::string_view text);

} // namespace swf::as
