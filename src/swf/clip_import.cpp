#include "swf/clip_import.h"

#include "swf/character_ids.h"
#include "swf/error.h"
#include "swf/swf_file.h"
#include "swf/tag_writer.h"

#include <limits>
#include <string>

namespace swf {

namespace {

class ClipImporter {
public:
    explicit ClipImporter(const std::function<CharacterId()>& next_id)
        : next_id_(next_id), host_ids_(size_t(std::numeric_limits<CharacterId>::max()) + 1, 0) {}

    ImportedClip run(const SwfFile& file);

private:
    std::vector<uint8_t> remapped(const TagView& tag);
    CharacterId fresh_id();
    void definition(const TagView& tag);
    RawTag nested_sprite(const TagView& tag);
    RawTag jpeg_with_tables(const TagView& tag);

    const std::function<CharacterId()>& next_id_;
    std::vector<CharacterId> host_ids_; // file id -> host id, 0 while undefined
    std::span<const uint8_t> jpeg_tables_;
    ImportedClip clip_;
};

// Rethrows any failure inside one tag with the tag's name and offset in front.
template <typename F> void within_tag(const TagView& tag, F&& f) {
    try {
        f();
    } catch (const Error& e) {
        throw Error(describe_tag(tag.code, tag.offset) + ": " + e.what());
    }
}

CharacterId ClipImporter::fresh_id() {
    const CharacterId id = next_id_();
    if (id == 0) {
        throw Error("the host movie gave character id 0");
    }
    return id;
}

std::vector<uint8_t> ClipImporter::remapped(const TagView& tag) {
    std::vector<uint8_t> body(tag.body.begin(), tag.body.end());
    for (const IdSlot& slot : character_id_slots(tag.code, tag.body)) {
        const CharacterId id = CharacterId(body[slot.offset] | (body[slot.offset + 1] << 8));
        CharacterId& host = host_ids_[id];
        if (slot.defines) {
            if (id == 0) {
                throw Error("defines character id 0");
            }
            if (host != 0) {
                throw Error("defines character " + std::to_string(id) + " a second time");
            }
            host = fresh_id();
        } else if (host == 0) {
            throw Error("uses character " + std::to_string(id) + ", which is not defined before it");
        }
        body[slot.offset] = uint8_t(host);
        body[slot.offset + 1] = uint8_t(host >> 8);
    }
    return body;
}

// DefineBits keeps its decoding tables in the file's one JPEGTables tag; a host movie has its own (or
// none), so the tables and the image are joined into one stream carried by a DefineBitsJPEG2.
RawTag ClipImporter::jpeg_with_tables(const TagView& tag) {
    std::vector<uint8_t> body = remapped(tag);
    std::span<const uint8_t> tables = jpeg_tables_;
    std::span<const uint8_t> image = std::span<const uint8_t>(body).subspan(2);
    std::vector<uint8_t> out(body.begin(), body.begin() + 2);
    if (!tables.empty()) {
        if (tables.size() >= 2 && tables[tables.size() - 2] == 0xFF && tables.back() == 0xD9) {
            tables = tables.first(tables.size() - 2); // end-of-image marker
        }
        if (image.size() >= 2 && image[0] == 0xFF && image[1] == 0xD8) {
            image = image.subspan(2); // start-of-image marker
        }
        out.insert(out.end(), tables.begin(), tables.end());
    }
    out.insert(out.end(), image.begin(), image.end());
    return {TagCode::DefineBitsJpeg2, std::move(out)};
}

// A sprite inside the file: its own id and its timeline tags remapped; tags that have no place inside a
// sprite are left out.
RawTag ClipImporter::nested_sprite(const TagView& tag) {
    std::vector<uint8_t> head = remapped(tag);
    ByteReader r(tag.body, tag.body_offset);
    r.u16();
    const uint16_t frames = r.u16();
    std::vector<uint8_t> body(head.begin(), head.begin() + 2);
    body.push_back(uint8_t(frames));
    body.push_back(uint8_t(frames >> 8));
    for (const TagView& inner : read_tags(r)) {
        within_tag(inner, [&] {
            if (tag_role(inner.code) == TagRole::Timeline) {
                append_tag(body, inner.code, remapped(inner));
            }
        });
    }
    append_tag(body, TagCode::End, {});
    return {TagCode::DefineSprite, std::move(body)};
}

void ClipImporter::definition(const TagView& tag) {
    switch (tag.code) {
    case TagCode::JpegTables:
        jpeg_tables_ = tag.body;
        break;
    case TagCode::DefineBits:
        clip_.definitions.push_back(jpeg_with_tables(tag));
        break;
    case TagCode::DefineSprite:
        clip_.definitions.push_back(nested_sprite(tag));
        break;
    default:
        clip_.definitions.push_back({tag.code, remapped(tag)});
        break;
    }
}

ImportedClip ClipImporter::run(const SwfFile& file) {
    std::vector<uint8_t> timeline;
    size_t frames = 0;
    bool open_frame = false; // timeline tags after the last ShowFrame
    for (const TagView& tag : file.tags) {
        within_tag(tag, [&] {
            switch (tag_role(tag.code)) {
            case TagRole::Definition:
                definition(tag);
                break;
            case TagRole::Timeline:
                append_tag(timeline, tag.code, remapped(tag));
                if (tag.code == TagCode::ShowFrame) {
                    ++frames;
                    open_frame = false;
                } else {
                    open_frame = true;
                }
                break;
            case TagRole::Dropped:
            case TagRole::Unknown:
                break;
            }
        });
    }
    // Whatever was placed after the last frame, and an empty file, still make a frame.
    if (open_frame || frames == 0) {
        append_tag(timeline, TagCode::ShowFrame, {});
        ++frames;
    }
    if (frames > std::numeric_limits<uint16_t>::max()) {
        throw Error("the clip has " + std::to_string(frames) + " frames, more than a sprite can hold");
    }
    clip_.sprite_id = fresh_id();
    std::vector<uint8_t> body;
    body.reserve(timeline.size() + 6);
    body.push_back(uint8_t(clip_.sprite_id));
    body.push_back(uint8_t(clip_.sprite_id >> 8));
    body.push_back(uint8_t(frames));
    body.push_back(uint8_t(frames >> 8));
    body.insert(body.end(), timeline.begin(), timeline.end());
    append_tag(body, TagCode::End, {});
    clip_.definitions.push_back({TagCode::DefineSprite, std::move(body)});
    return std::move(clip_);
}

} // namespace

ImportedClip import_clip(std::span<const uint8_t> file, const std::function<CharacterId()>& next_id) {
    const SwfFile swf = read_swf(file);
    return ClipImporter(next_id).run(swf);
}

} // namespace swf
