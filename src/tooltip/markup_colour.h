// Colours of the tooltip mark-up: "#rrggbb", numbers read as colour references (0x00BBGGRR), the named
// colours and the desktop's system colours, which the caller supplies.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace markup {

struct Colour {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;

    // A colour reference keeps red in the low byte: 0x00BBGGRR.
    static constexpr Colour FromRef(std::uint32_t ref) {
        return {static_cast<std::uint8_t>(ref & 0xFF), static_cast<std::uint8_t>((ref >> 8) & 0xFF),
                static_cast<std::uint8_t>((ref >> 16) & 0xFF)};
    }
    constexpr bool operator==(const Colour&) const = default;
};

// System colour names mapped to the desktop's current colours; filled by the GUI from its palette.
using SystemColours = std::map<std::string, Colour, std::less<>>;

// The names that take system colours; the GUI fills a SystemColours with each of them.
std::span<const std::string_view> SystemColourNames();

// Parses a colour value (already lower-cased). Nothing when the text is no colour (the caller then keeps
// the previous one): a malformed "#" form, a name in neither list, or an empty text.
std::optional<Colour> ParseColour(std::string_view text, const SystemColours* system = nullptr);

// The named colour, or nothing.
std::optional<Colour> NamedColour(std::string_view name);

} // namespace markup
