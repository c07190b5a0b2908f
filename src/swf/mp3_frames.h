// Reading the frames of an MP3 file (MPEG-1, 2 and 2.5 Layer III): tags and junk are skipped, the frame
// bytes are kept exactly as they stand, so they can be carried into a movie without re-encoding.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace swf {

enum class MpegVersion : uint8_t { Mpeg1, Mpeg2, Mpeg25 };

struct Mp3FrameHeader {
    MpegVersion version = MpegVersion::Mpeg1;
    int bitrate_kbps = 0;
    int sample_rate = 0;
    int channels = 2;
    int samples_per_frame = 1152;
    size_t frame_size = 0; // bytes, header included
};

// The header at the start of `bytes` (at least 4 bytes), when it is a valid Layer III frame header with
// a listed bitrate (free-format frames are not supported) and sample rate.
std::optional<Mp3FrameHeader> ParseMp3FrameHeader(std::span<const uint8_t> bytes);

struct Mp3Stream {
    MpegVersion version = MpegVersion::Mpeg1;
    int sample_rate = 0;
    int channels = 0;
    int samples_per_frame = 0;
    size_t frame_count = 0;
    std::vector<uint8_t> frames; // the audio frames, back to back, byte for byte as in the file
    // Samples the decoder produces before the audio starts and after it ends (encoder delay plus the
    // decoder's 529, and padding), when an encoder tag tells them; otherwise 0.
    int leading_samples = 0;
    int trailing_samples = 0;
    // Average bitrate over the audio frames.
    int average_bitrate_kbps = 0;

    // Samples of audio (per channel), without the delay and padding.
    uint32_t sample_count() const;
};

// Collects the audio frames of an MP3 file. Skips an ID3v2 tag at the start, ID3v1 and APE tags at the
// end, and anything between frames that is not a frame (resynchronising on the next frame header that
// is followed by another frame of the same stream). Frames whose version or sample rate differ from the
// first frame's are dropped. A leading Xing/Info/VBRI tag frame is dropped too (it holds no audio), but
// its encoder delay and padding are kept. Returns nullopt when no audio frame is found.
std::optional<Mp3Stream> ReadMp3Frames(std::span<const uint8_t> file);

} // namespace swf
