// The music clip of a gift: an MP3 file as a small Flash movie that plays it once it is placed.
#pragma once

#include <filesystem>

namespace movie {

// Writes `clip`, a movie whose first frame starts the MP3's sound as an event sound. Throws when the
// MP3 cannot be read or the clip cannot be written.
void MakeMusicClip(const std::filesystem::path& mp3, const std::filesystem::path& clip);

} // namespace movie
