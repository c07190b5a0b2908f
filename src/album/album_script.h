// The frame-1 script of the photo album: a click anywhere stops the show on its frame, the next click
// lets it play on. The init flag keeps a looping player from adding the listener twice.
#pragma once

#include <string>

namespace album {

// The 17 lines joined by CR LF, each led by six tabs and a space.
std::string AlbumPauseScript();

} // namespace album
