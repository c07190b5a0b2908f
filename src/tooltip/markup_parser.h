// Turns tooltip mark-up into a Document: tags change the text state (pushed at an opening tag, restored
// at its closing tag), the style sheet's rules apply for the tags that name them, unknown tags are ignored.
#pragma once

#include "tooltip/markup_document.h"
#include "tooltip/markup_style.h"

#include <string_view>

namespace markup {

struct ParseOptions {
    const StyleSheet* styleSheet = nullptr; // nullptr: the default sheet
    StyleEnvironment environment;
};

// Nested tables deeper than this are flattened (their tags are ignored).
inline constexpr int kMaxTableDepth = 8;
// Upper limit of the repeat count of "br" and "t".
inline constexpr int kMaxRepeat = 64;

Document Parse(std::string_view markup, const ParseOptions& options = {});

} // namespace markup
