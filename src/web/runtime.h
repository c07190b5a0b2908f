// The page's runtime, runtime.js and runtime.css, embedded at build time (embed.cmake).
#pragma once

#include <string_view>

namespace web {

extern const std::string_view kRuntimeScript;
extern const std::string_view kRuntimeStyle;
extern const std::string_view kRuntimeScriptSha256Hex; // for the page's Content-Security-Policy

} // namespace web
