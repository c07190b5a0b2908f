// Where character ids sit inside tag bodies, so an importer can move a file's characters into another
// movie's id space by rewriting those two-byte fields in place, leaving every other byte as it was.
#pragma once

#include "swf/tag_code.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace swf {

// What a tag is to a clip import.
enum class TagRole {
    Definition, // defines a character or describes one; goes to the host's definitions
    Timeline,   // belongs to a frame (place, remove, actions, labels, sounds); goes inside the sprite
    Dropped,    // means something for a whole file only (background, file attributes, exports, AS3)
    Unknown,    // not a tag this reader knows; skipped
};

TagRole tag_role(TagCode code);

// A character id at byte `offset` of a tag body: one the tag defines, or one it uses.
struct IdSlot {
    size_t offset = 0;
    bool defines = false;
};

// The id fields of one tag body, definition first. A DefineSprite reports only its own id (its inner
// tags are tags of their own). Ids that mean "none" (a button sound of 0, a bitmap fill naming 65535)
// are not reported. Throws swf::Error when the body is malformed.
std::vector<IdSlot> character_id_slots(TagCode code, std::span<const uint8_t> body);

} // namespace swf
