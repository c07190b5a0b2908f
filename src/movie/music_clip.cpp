#include "movie/music_clip.h"

#include "swf/mp3_clip.h"

namespace movie {

void MakeMusicClip(const std::filesystem::path& mp3, const std::filesystem::path& clip) {
    swf::WriteMp3Clip(mp3, clip);
}

} // namespace movie
