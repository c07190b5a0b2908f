// UTF-8 decoding for text strings. Malformed sequences become U+FFFD, so nothing is silently lost.
#pragma once

#include <string>
#include <string_view>

namespace swf::detail {

std::u32string decode_utf8(std::string_view text);

} // namespace swf::detail
