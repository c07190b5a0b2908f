// Small text helpers of the page writer: HTML escaping, base64 and data: URLs.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace web {

// `text` safe as HTML text and as a double-quoted attribute value: & < > " ' become references.
std::string EscapeHtml(std::string_view text);

std::string Base64(std::span<const uint8_t> bytes);

std::string DataUrl(std::string_view mime, std::span<const uint8_t> bytes);

// A colour as "#rrggbb".
std::string CssColour(uint8_t red, uint8_t green, uint8_t blue);

// A number of pixels as CSS wants it, without trailing zeros: 12 -> "12px", 12.5 -> "12.5px".
std::string Px(double value);

} // namespace web
