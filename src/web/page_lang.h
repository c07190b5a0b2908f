// The page's language: the author's (a locale name or a language tag), unless the gift's text is
// mostly written in a script that language does not use; then the language of that script.
#pragma once

#include <string>
#include <string_view>

namespace web {

// "de_DE.UTF-8" -> "de-DE"; "C", "POSIX" and "" -> "en".
std::string LanguageTag(std::string_view locale);

// The language of the page for text `text` (all the gift's text) and the author's tag.
std::string PageLanguage(std::string_view text, std::string_view author_tag);

} // namespace web
