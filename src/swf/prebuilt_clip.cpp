#include "swf/prebuilt_clip.h"

#include "swf/clip_import.h"
#include "swf/error.h"
#include "swf/file_bytes.h"
#include "swf/movie_state.h"

namespace swf {

PrebuiltClip::PrebuiltClip(std::vector<uint8_t> file) : file_(std::move(file)) {}

std::shared_ptr<PrebuiltClip> PrebuiltClip::from_bytes(std::vector<uint8_t> file) {
    // Importing once with throw-away ids checks the whole file now, so a bad clip is reported when
    // it is loaded rather than when it is added.
    uint32_t next = 1;
    import_clip(file, [&next]() -> CharacterId {
        if (next > 0xFFFF) {
            throw Error("the clip holds more than 65535 characters");
        }
        return static_cast<CharacterId>(next++);
    });
    return std::make_shared<PrebuiltClip>(std::move(file));
}

std::shared_ptr<PrebuiltClip> PrebuiltClip::from_file(const std::filesystem::path& path) {
    return from_bytes(detail::read_file_bytes(path, "Flash clip"));
}

CharacterId PrebuiltClip::define(detail::DefineContext& context) const {
    ImportedClip clip = import_clip(file_, [&context] { return context.allocate_id(); });
    for (const RawTag& tag : clip.definitions) {
        context.add_definition(tag);
    }
    return clip.sprite_id;
}

void PrebuiltClip::encode(CharacterId, const detail::EncodeContext&, std::vector<uint8_t>&) const {
    // Never deferred: define() writes the imported tags at once.
}

} // namespace swf
