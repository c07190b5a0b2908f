// The base of everything a movie defines once and then refers to by a character id: shapes, bitmaps,
// fonts, texts, buttons and prebuilt clips. Characters are shared (std::shared_ptr): one button face can
// serve every button of a movie, one font every text.
#pragma once

#include "swf/raw_tag.h"

#include <vector>

namespace swf {

namespace detail {
class DefineContext;
class EncodeContext;
} // namespace detail

class Character {
public:
    Character(const Character&) = delete;
    Character& operator=(const Character&) = delete;
    virtual ~Character() = default;

protected:
    Character() = default;

private:
    friend class detail::DefineContext;
    friend class detail::EncodeContext;

    // Defines what this character depends on, then the character itself, and returns its id. The
    // default takes a fresh id and defers the encoding to the time the movie is written.
    virtual CharacterId define(detail::DefineContext& context) const;
    virtual void define_dependencies(detail::DefineContext&) const {}
    // Appends the character's definition tag (header included) to `out`.
    virtual void encode(CharacterId id, const detail::EncodeContext& context,
                        std::vector<uint8_t>& out) const = 0;
};

} // namespace swf
