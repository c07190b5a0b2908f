#include "swf/mp3_frames.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace swf {

namespace {

constexpr std::array<int, 16> kBitratesMpeg1{0,   32,  40,  48,  56,  64,  80,  96,
                                             112, 128, 160, 192, 224, 256, 320, 0};
constexpr std::array<int, 16> kBitratesMpeg2{0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0};
constexpr std::array<int, 3> kRatesMpeg1{44100, 48000, 32000};
constexpr std::array<int, 3> kRatesMpeg2{22050, 24000, 16000};
constexpr std::array<int, 3> kRatesMpeg25{11025, 12000, 8000};

// The decoder's own delay, which encoder tags leave out of their delay figure.
constexpr int kDecoderDelay = 529;

bool StartsWith(std::span<const uint8_t> bytes, size_t at, const char* text) {
    const size_t n = std::strlen(text);
    return at + n <= bytes.size() && std::memcmp(bytes.data() + at, text, n) == 0;
}

uint32_t Big32(std::span<const uint8_t> b, size_t at) {
    return (uint32_t(b[at]) << 24) | (uint32_t(b[at + 1]) << 16) | (uint32_t(b[at + 2]) << 8) | b[at + 3];
}

// Length of the ID3v2 tag at `at` (header, body and footer), or 0 when none starts there.
size_t Id3v2Length(std::span<const uint8_t> file, size_t at) {
    if (!StartsWith(file, at, "ID3") || at + 10 > file.size()) {
        return 0;
    }
    const uint8_t* h = file.data() + at;
    if (h[3] == 0xFF || h[4] == 0xFF || ((h[6] | h[7] | h[8] | h[9]) & 0x80) != 0) {
        return 0;
    }
    const size_t body = (size_t(h[6]) << 21) | (size_t(h[7]) << 14) | (size_t(h[8]) << 7) | h[9];
    const size_t footer = (h[5] & 0x10) != 0 ? 10 : 0;
    return std::min(10 + body + footer, file.size() - at);
}

// Where the audio data ends: before an ID3v1 tag ("TAG", the last 128 bytes) and an APE tag (its footer
// "APETAGEX" holds the size of items and footer, and a flag for a header before them), in either order.
size_t EndBeforeTrailers(std::span<const uint8_t> file) {
    size_t end = file.size();
    for (bool changed = true; changed;) {
        changed = false;
        if (end >= 128 && StartsWith(file, end - 128, "TAG")) {
            end -= 128;
            changed = true;
        }
        if (end >= 32 && StartsWith(file, end - 32, "APETAGEX")) {
            const uint8_t* f = file.data() + end - 32;
            const size_t size = f[12] | (size_t(f[13]) << 8) | (size_t(f[14]) << 16) | (size_t(f[15]) << 24);
            const bool has_header = (f[23] & 0x80) != 0;
            const size_t total = size + (has_header ? 32 : 0);
            if (size < 32 || total > end) {
                break; // not a tag: its size must hold at least its own footer
            }
            end -= total;
            changed = true;
        }
    }
    return end;
}

bool SameStream(const Mp3FrameHeader& a, const Mp3FrameHeader& b) {
    return a.version == b.version && a.sample_rate == b.sample_rate;
}

struct EncoderTag {
    bool present = false;
    int delay = -1;
    int padding = -1;
};

// A Xing/Info or VBRI frame holds stream information instead of audio; LAME-style encoders add their
// delay and padding after the Xing fields.
EncoderTag ReadEncoderTag(std::span<const uint8_t> frame, const Mp3FrameHeader& header) {
    EncoderTag tag;
    const bool mono = header.channels == 1;
    const size_t side_info = header.version == MpegVersion::Mpeg1 ? (mono ? 17 : 32) : (mono ? 9 : 17);
    const size_t crc = (frame[1] & 0x01) == 0 ? 2 : 0;
    if (StartsWith(frame, 4 + 32, "VBRI")) {
        tag.present = true;
        return tag;
    }
    const size_t at = 4 + crc + side_info;
    if (!StartsWith(frame, at, "Xing") && !StartsWith(frame, at, "Info")) {
        return tag;
    }
    tag.present = true;
    if (at + 8 > frame.size()) {
        return tag;
    }
    const uint32_t flags = Big32(frame, at + 4);
    size_t encoder = at + 8 + ((flags & 1) ? 4 : 0) + ((flags & 2) ? 4 : 0) + ((flags & 4) ? 100 : 0) +
                     ((flags & 8) ? 4 : 0);
    if ((StartsWith(frame, encoder, "LAME") || StartsWith(frame, encoder, "Lav")) &&
        encoder + 24 <= frame.size()) {
        const uint8_t* d = frame.data() + encoder + 21;
        tag.delay = (d[0] << 4) | (d[1] >> 4);
        tag.padding = ((d[1] & 0x0F) << 8) | d[2];
    }
    return tag;
}

} // namespace

std::optional<Mp3FrameHeader> ParseMp3FrameHeader(std::span<const uint8_t> bytes) {
    if (bytes.size() < 4 || bytes[0] != 0xFF || (bytes[1] & 0xE0) != 0xE0) {
        return std::nullopt;
    }
    const int version_bits = (bytes[1] >> 3) & 0x03;
    const int layer_bits = (bytes[1] >> 1) & 0x03;
    const int bitrate_index = bytes[2] >> 4;
    const int rate_index = (bytes[2] >> 2) & 0x03;
    const int emphasis = bytes[3] & 0x03;
    if (version_bits == 1 || layer_bits != 1 || rate_index == 3 || emphasis == 2) {
        return std::nullopt; // reserved version, not Layer III, reserved rate or emphasis
    }
    Mp3FrameHeader h;
    h.version = version_bits == 3   ? MpegVersion::Mpeg1
                : version_bits == 2 ? MpegVersion::Mpeg2
                                    : MpegVersion::Mpeg25;
    const bool v1 = h.version == MpegVersion::Mpeg1;
    h.bitrate_kbps = (v1 ? kBitratesMpeg1 : kBitratesMpeg2)[bitrate_index];
    if (h.bitrate_kbps == 0) {
        return std::nullopt; // free format or the invalid index 15
    }
    h.sample_rate = (v1                                ? kRatesMpeg1
                     : h.version == MpegVersion::Mpeg2 ? kRatesMpeg2
                                                       : kRatesMpeg25)[rate_index];
    h.channels = (bytes[3] >> 6) == 3 ? 1 : 2;
    h.samples_per_frame = v1 ? 1152 : 576;
    const int padding = (bytes[2] >> 1) & 0x01;
    h.frame_size = size_t((v1 ? 144 : 72) * h.bitrate_kbps * 1000 / h.sample_rate + padding);
    return h;
}

uint32_t Mp3Stream::sample_count() const {
    const int64_t total = int64_t(frame_count) * samples_per_frame - leading_samples - trailing_samples;
    return total > 0 ? uint32_t(total) : 0;
}

std::optional<Mp3Stream> ReadMp3Frames(std::span<const uint8_t> file) {
    size_t pos = 0;
    while (size_t tag = Id3v2Length(file, pos)) {
        pos += tag;
    }
    const size_t end = std::max(pos, EndBeforeTrailers(file));
    const std::span<const uint8_t> data = file.first(end);

    std::optional<Mp3FrameHeader> first;
    std::optional<size_t> expected; // where the next frame starts while the stream is in sync
    Mp3Stream stream;
    uint64_t bits = 0;
    while (pos + 4 <= end) {
        const auto header = ParseMp3FrameHeader(data.subspan(pos));
        bool take = header && pos + header->frame_size <= end && (!first || SameStream(*first, *header));
        if (take && expected != pos) {
            // Out of sync (start of data or after junk): a header counts only when another frame of the
            // same stream follows it, or it ends exactly where the data ends.
            const size_t next = pos + header->frame_size;
            if (next != end) {
                const auto following = ParseMp3FrameHeader(data.subspan(next));
                take = following && SameStream(*header, *following);
            }
        }
        if (!take) {
            ++pos;
            continue;
        }
        const std::span<const uint8_t> frame = data.subspan(pos, header->frame_size);
        if (!first) {
            first = header;
            stream.version = header->version;
            stream.sample_rate = header->sample_rate;
            stream.channels = header->channels;
            stream.samples_per_frame = header->samples_per_frame;
            const EncoderTag tag = ReadEncoderTag(frame, *header);
            if (tag.present) {
                if (tag.delay >= 0) {
                    stream.leading_samples = tag.delay + kDecoderDelay;
                    stream.trailing_samples = std::max(0, tag.padding - kDecoderDelay);
                }
                pos += header->frame_size;
                expected = pos;
                continue;
            }
        }
        stream.frames.insert(stream.frames.end(), frame.begin(), frame.end());
        ++stream.frame_count;
        bits += uint64_t(header->frame_size) * 8;
        pos += header->frame_size;
        expected = pos;
    }
    if (stream.frame_count == 0) {
        return std::nullopt;
    }
    const double seconds = double(stream.frame_count) * stream.samples_per_frame / stream.sample_rate;
    stream.average_bitrate_kbps = int(bits / seconds / 1000 + 0.5);
    return stream;
}

} // namespace swf
