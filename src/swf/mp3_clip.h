// The music clip of a gift: an MP3's frames carried in a one-frame SWF 6 movie as an event sound
// (DefineSound, format 2, started by StartSound in frame 1). Event sound rather than stream sound: a
// stream sound ties the timeline to the sound, and a player held by the browser's audio block stalls.
#pragma once

#include "swf/mp3_frames.h"
#include "swf/raw_tag.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>

namespace swf {

// The DefineSound rate code for an MP3 sampled at `sample_rate` (1 = 11025, 2 = 22050, 3 = 44100 Hz), or
// nullopt for a rate the format cannot carry as MP3.
std::optional<int> SwfMp3RateCode(int sample_rate);

// DefineSound of `stream` as character `id`: format 2 (MP3), its rate, 16-bit, mono or stereo, the
// sample count, then SeekSamples (the samples to skip before the sound starts) and the frames. Throws
// swf::Error for a rate the format cannot carry or a stream too long for its sample count.
RawTag DefineSoundTag(CharacterId id, const Mp3Stream& stream);

// StartSound of character `id`: plays it once, and not again while it is still playing.
RawTag StartSoundTag(CharacterId id);

// The frames of the MP3 file `path`, ready for DefineSound: carried unchanged when the movie format takes
// their rate, otherwise re-encoded at ReencodeRate. Throws swf::Error when it is not a readable MP3.
Mp3Stream LoadMp3ForMovie(const std::filesystem::path& path);

} // namespace swf
