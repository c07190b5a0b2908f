// Prebuilt clips: a whole SWF file (FWS or CWS) brought into a movie as one sprite, every character it
// holds moved into the host movie's id space (clip_import.h).
#pragma once

#include "swf/character.h"

#include <filesystem>
#include <memory>
#include <span>
#include <vector>

namespace swf {

class PrebuiltClip final : public Character {
public:
    // Reads and checks the file. Throws swf::Error when it cannot be read or is not a valid movie.
    static std::shared_ptr<PrebuiltClip> from_file(const std::filesystem::path& path);
    static std::shared_ptr<PrebuiltClip> from_bytes(std::vector<uint8_t> file);

    explicit PrebuiltClip(std::vector<uint8_t> file);

private:
    CharacterId define(detail::DefineContext& context) const override;
    void encode(CharacterId id, const detail::EncodeContext& context,
                std::vector<uint8_t>& out) const override;

    std::vector<uint8_t> file_;
};

} // namespace swf
