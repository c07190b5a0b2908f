// Feeds arbitrary bytes to the MP3 frame reader and builds the DefineSound of whatever it finds: the
// reader must neither read out of bounds nor return frames that are not whole.
#include "swf/error.h"
#include "swf/mp3_clip.h"
#include "swf/mp3_frames.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto stream = swf::ReadMp3Frames({data, size});
    if (!stream) {
        return 0;
    }
    // The frames are whole frames of one stream, back to back.
    size_t pos = 0;
    size_t count = 0;
    while (pos < stream->frames.size()) {
        const auto header = swf::ParseMp3FrameHeader(std::span(stream->frames).subspan(pos));
        if (!header || header->sample_rate != stream->sample_rate ||
            pos + header->frame_size > stream->frames.size()) {
            std::abort();
        }
        pos += header->frame_size;
        ++count;
    }
    if (count != stream->frame_count) {
        std::abort();
    }
    try {
        (void)swf::DefineSoundTag(1, *stream);
    } catch (const swf::Error&) {
    }
    return 0;
}
