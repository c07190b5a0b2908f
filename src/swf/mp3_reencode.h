// Re-encoding an MP3 whose sample rate a movie cannot carry: decoded with libmpg123, encoded again with
// libmp3lame at a rate the movie format takes.
#pragma once

#include "swf/mp3_frames.h"

#include <filesystem>

namespace swf {

// The rate an MP3 of `sample_rate` is re-encoded at: the lowest of 11025, 22050 and 44100 Hz that is not
// below it (so no part of the sound's frequency range is cut off), or 44100 Hz for 48000 Hz.
int ReencodeRate(int sample_rate);

// Decodes the MP3 file `path` and encodes it again (constant bitrate near the source's average, stereo
// or mono as the source) at `target_rate`. Throws swf::Error when the file cannot be decoded or encoded.
Mp3Stream ReencodeMp3File(const std::filesystem::path& path, int target_rate, int bitrate_kbps);

} // namespace swf
