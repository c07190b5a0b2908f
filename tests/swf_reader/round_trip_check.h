// Checks a movie's character ids: every id used is defined earlier, none twice; counts sprite frames.
#pragma once

#include "swf/character_ids.h"
#include "swf/swf_file.h"

#include <map>
#include <set>
#include <string>

namespace swftest {

struct IdCheck {
    std::set<unsigned> defined;
    std::map<unsigned, int> sprite_frames; // sprite id -> ShowFrame tags inside it
    std::string problems;                  // empty when the ids are consistent
};

inline void check_tags(const std::vector<swf::TagView>& tags, IdCheck& check) {
    for (const swf::TagView& tag : tags) {
        for (const swf::IdSlot& slot : swf::character_id_slots(tag.code, tag.body)) {
            const unsigned id = unsigned(tag.body[slot.offset] | tag.body[slot.offset + 1] << 8);
            if (slot.defines && !check.defined.insert(id).second) {
                check.problems += "id " + std::to_string(id) + " defined twice; ";
            }
            if (!slot.defines && !check.defined.contains(id)) {
                check.problems += "id " + std::to_string(id) + " used undefined; ";
            }
        }
        if (tag.code == swf::TagCode::DefineSprite) {
            swf::ByteReader r(tag.body, tag.body_offset);
            const unsigned id = r.u16();
            const unsigned frames = r.u16();
            const auto inner = swf::read_tags(r);
            int shown = 0;
            for (const swf::TagView& t : inner) {
                shown += t.code == swf::TagCode::ShowFrame;
            }
            if (unsigned(shown) != frames) {
                check.problems += "sprite " + std::to_string(id) + " frame count differs; ";
            }
            check.sprite_frames[id] = shown;
            check_tags(inner, check);
        }
    }
}

inline IdCheck check_ids(const swf::SwfFile& file) {
    IdCheck check;
    check_tags(file.tags, check);
    return check;
}

} // namespace swftest
