// Conversions between the UTF-8 text held in memory and the archive's two string forms: Windows-1252
// bytes (the five bytes it leaves undefined map to the control characters of the same value, so every
// byte survives) and UTF-16LE.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace model {

// Windows-1252 bytes to UTF-8; never fails.
std::string Cp1252ToUtf8(std::string_view bytes);

// UTF-8 to Windows-1252, or nullopt when a character does not fit.
std::optional<std::string> Utf8ToCp1252(std::string_view utf8);

// UTF-16 code units to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string Utf16ToUtf8(const std::vector<uint16_t>& units);

// UTF-8 to UTF-16 code units; a malformed byte becomes U+FFFD.
std::vector<uint16_t> Utf8ToUtf16(std::string_view utf8);

} // namespace model
