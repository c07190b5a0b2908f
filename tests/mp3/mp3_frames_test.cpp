#include "mp3_fixtures.h"
#include "swf/mp3_frames.h"

#include <gtest/gtest.h>

namespace swf {
namespace {

using test::Find;
using test::FreshFolder;
using test::ReadBytes;
using test::SynthMp3;

TEST(Mp3FrameHeader, ReadsEachVersion) {
    const struct {
        std::vector<uint8_t> bytes;
        MpegVersion version;
        int kbps, rate, channels, samples;
        size_t size;
    } cases[] = {
        {{0xFF, 0xFB, 0x90, 0x64}, MpegVersion::Mpeg1, 128, 44100, 2, 1152, 417},
        {{0xFF, 0xFB, 0x92, 0x64}, MpegVersion::Mpeg1, 128, 44100, 2, 1152, 418}, // padded
        {{0xFF, 0xFA, 0x94, 0xC4}, MpegVersion::Mpeg1, 128, 48000, 1, 1152, 384}, // with CRC, mono
        {{0xFF, 0xFB, 0xE8, 0x00}, MpegVersion::Mpeg1, 320, 32000, 2, 1152, 1440},
        {{0xFF, 0xF3, 0x90, 0xC4}, MpegVersion::Mpeg2, 80, 22050, 1, 576, 261},
        {{0xFF, 0xF3, 0x14, 0x00}, MpegVersion::Mpeg2, 8, 24000, 2, 576, 24},
        {{0xFF, 0xE3, 0x18, 0x00}, MpegVersion::Mpeg25, 8, 8000, 2, 576, 72},
        {{0xFF, 0xE3, 0x50, 0x00}, MpegVersion::Mpeg25, 40, 11025, 2, 576, 261},
    };
    for (const auto& c : cases) {
        const auto h = ParseMp3FrameHeader(c.bytes);
        ASSERT_TRUE(h.has_value()) << int(c.bytes[1]) << " " << int(c.bytes[2]);
        EXPECT_EQ(h->version, c.version);
        EXPECT_EQ(h->bitrate_kbps, c.kbps);
        EXPECT_EQ(h->sample_rate, c.rate);
        EXPECT_EQ(h->channels, c.channels);
        EXPECT_EQ(h->samples_per_frame, c.samples);
        EXPECT_EQ(h->frame_size, c.size);
    }
}

TEST(Mp3FrameHeader, RefusesWhatIsNotALayer3Header) {
    const std::vector<std::vector<uint8_t>> refused = {
        {0xFF, 0xFB, 0x90},       // too short
        {0xFE, 0xFB, 0x90, 0x64}, // no sync
        {0xFF, 0xFD, 0x90, 0x64}, // Layer II
        {0xFF, 0xFF, 0x90, 0x64}, // Layer I
        {0xFF, 0xF9, 0x90, 0x64}, // layer bits 00: reserved
        {0xFF, 0xEB, 0x90, 0x64}, // version bits 01: reserved
        {0xFF, 0xFB, 0x00, 0x64}, // free format
        {0xFF, 0xFB, 0xF0, 0x64}, // bitrate index 15
        {0xFF, 0xFB, 0x9C, 0x64}, // sample rate index 3
        {0xFF, 0xFB, 0x90, 0x66}, // emphasis 2: reserved
    };
    for (const auto& bytes : refused) {
        EXPECT_FALSE(ParseMp3FrameHeader(bytes).has_value()) << int(bytes[1]) << " " << int(bytes[2]);
    }
}

TEST(Mp3Frames, CarriesTheFramesOfALameFileAndItsGaplessLength) {
    const auto folder = FreshFolder("lame");
    const auto path = SynthMp3(folder, "tone.mp3", 44100, 2, 1.0);
    const std::vector<uint8_t> file = ReadBytes(path);
    const auto stream = ReadMp3Frames(file);
    ASSERT_TRUE(stream.has_value());
    EXPECT_EQ(stream->version, MpegVersion::Mpeg1);
    EXPECT_EQ(stream->sample_rate, 44100);
    EXPECT_EQ(stream->channels, 2);
    // One second exactly: lame's Info frame tells its delay and padding.
    EXPECT_EQ(stream->sample_count(), 44100u);
    EXPECT_EQ(stream->leading_samples, 576 + 529);
    EXPECT_NEAR(stream->average_bitrate_kbps, 128, 1);
    // The frames are the file's own bytes, the Info frame (the first, 417 bytes at 128 kbps) left out.
    ASSERT_EQ(Find(file, {'I', 'n', 'f', 'o'}) < 417, true);
    EXPECT_EQ(stream->frames.size(), file.size() - 417);
    EXPECT_EQ(Find(file, stream->frames), 417u);
    EXPECT_EQ(stream->frame_count * stream->samples_per_frame,
              44100u + stream->leading_samples + stream->trailing_samples);
}

TEST(Mp3Frames, SkipsTagsAtBothEnds) {
    const auto folder = FreshFolder("tags");
    const std::vector<uint8_t> plain_file = ReadBytes(SynthMp3(folder, "plain.mp3", 22050, 1, 0.5, "-b 64"));
    const auto plain = ReadMp3Frames(plain_file);
    ASSERT_TRUE(plain.has_value());
    EXPECT_EQ(plain->sample_count(), 11025u);

    // lame's own tags: ID3v2 before the frames, ID3v1 (128 bytes) after them.
    const std::vector<uint8_t> lame_tagged = ReadBytes(SynthMp3(
        folder, "tagged.mp3", 22050, 1, 0.5, "-b 64 --add-id3v2 --tt Title --ta Artist --tc Comment"));
    ASSERT_EQ(Find(lame_tagged, {'I', 'D', '3'}), 0u);
    ASSERT_EQ(Find(lame_tagged, {'T', 'A', 'G'}), lame_tagged.size() - 128);
    const size_t id3v2 = 10 + (size_t(lame_tagged[6]) << 21 | size_t(lame_tagged[7]) << 14 |
                               size_t(lame_tagged[8]) << 7 | lame_tagged[9]);
    const auto from_lame = ReadMp3Frames(lame_tagged);
    ASSERT_TRUE(from_lame.has_value());
    // Its frames: all bytes between the tags but the Info frame.
    const size_t info = ParseMp3FrameHeader(std::span(lame_tagged).subspan(id3v2))->frame_size;
    EXPECT_EQ(from_lame->frames,
              std::vector<uint8_t>(lame_tagged.begin() + long(id3v2 + info), lame_tagged.end() - 128));
    EXPECT_EQ(from_lame->sample_count(), 11025u);

    // The same tags around the plain file's frames, and an APE tag between the frames and the ID3v1 tag:
    // items (here bytes that look like frame headers), then a 32-byte footer with the size of both.
    std::vector<uint8_t> file(lame_tagged.begin(), lame_tagged.begin() + long(id3v2));
    file.insert(file.end(), plain_file.begin(), plain_file.end());
    const std::vector<uint8_t> ape = {0xFF, 0xF3, 0x40, 0xC4, 0xFF, 0xF3, 0x40, 0xC4, // items
                                      'A',  'P',  'E',  'T',  'A',  'G',  'E',  'X',  0xD0, 0x07, 0,
                                      0,    40,   0,    0,    0,    1,    0,    0,    0,    0,    0,
                                      0,    0,    0,    0,    0,    0,    0,    0,    0,    0};
    file.insert(file.end(), ape.begin(), ape.end());
    file.insert(file.end(), lame_tagged.end() - 128, lame_tagged.end());

    const auto stream = ReadMp3Frames(file);
    ASSERT_TRUE(stream.has_value());
    EXPECT_EQ(stream->frames, plain->frames);
    EXPECT_EQ(stream->sample_count(), 11025u);
    EXPECT_EQ(stream->version, MpegVersion::Mpeg2);
    EXPECT_EQ(stream->channels, 1);
}

TEST(Mp3Frames, ResynchronisesOverJunk) {
    const auto folder = FreshFolder("junk");
    const auto clean = ReadMp3Frames(ReadBytes(SynthMp3(folder, "tone.mp3", 44100, 2, 0.5)));
    ASSERT_TRUE(clean.has_value());
    const std::vector<uint8_t>& frames = clean->frames;
    const size_t first = ParseMp3FrameHeader(frames)->frame_size;
    const size_t second = ParseMp3FrameHeader(std::span(frames).subspan(first))->frame_size;
    // Junk that holds a frame header which no second frame follows.
    const std::vector<uint8_t> junk = {'j',  'u',  'n',  'k',  0xFF, 0xFB, 0x90,
                                       0x64, 0xFF, 0x00, 0x12, 0xFF, 0xFB};

    std::vector<uint8_t> file = junk; // before the first frame
    file.insert(file.end(), frames.begin(), frames.begin() + long(first + second));
    file.insert(file.end(), junk.begin(), junk.end()); // between frames
    file.insert(file.end(), frames.begin() + long(first + second), frames.end());
    file.insert(file.end(), junk.begin(), junk.end()); // after the last frame
    // A broken APE footer (its size cannot even hold the footer) is junk too, not a tag.
    const std::vector<uint8_t> broken_ape = {'A', 'P', 'E', 'T', 'A', 'G', 'E', 'X', 0xD0, 0x07, 0,
                                             0,   0,   0,   0,   0,   0,   0,   0,   0,    0,    0,
                                             0,   0,   0,   0,   0,   0,   0,   0,   0,    0};
    file.insert(file.end(), broken_ape.begin(), broken_ape.end());
    const auto stream = ReadMp3Frames(file);
    ASSERT_TRUE(stream.has_value());
    EXPECT_EQ(stream->frames, frames);
    EXPECT_EQ(stream->frame_count, clean->frame_count);
}

TEST(Mp3Frames, DropsFramesOfAnotherStreamAndTruncatedFrames) {
    const auto folder = FreshFolder("mixed");
    const auto a = ReadMp3Frames(ReadBytes(SynthMp3(folder, "a.mp3", 44100, 2, 0.3)));
    const auto b = ReadMp3Frames(ReadBytes(SynthMp3(folder, "b.mp3", 22050, 2, 0.3)));
    ASSERT_TRUE(a && b);
    std::vector<uint8_t> file = a->frames;
    file.insert(file.end(), b->frames.begin(), b->frames.end());
    file.insert(file.end(), a->frames.begin(), a->frames.begin() + 100); // a frame cut short
    const auto stream = ReadMp3Frames(file);
    ASSERT_TRUE(stream.has_value());
    EXPECT_EQ(stream->sample_rate, 44100);
    EXPECT_EQ(stream->frames, a->frames);
}

TEST(Mp3Frames, FindsNothingInOtherFiles) {
    const auto folder = FreshFolder("other");
    ASSERT_EQ(std::system(("sox -q -n -r 44100 -c 2 -b 16 '" + (folder / "tone.wav").string() +
                           "' synth 0.5 sine 440")
                              .c_str()),
              0);
    std::vector<uint8_t> noise(20000);
    uint32_t x = 12345;
    for (uint8_t& byte : noise) {
        x = x * 1103515245 + 12345;
        byte = uint8_t(x >> 23);
    }
    const std::vector<std::vector<uint8_t>> files = {ReadBytes(folder / "tone.wav"),
                                                     noise,
                                                     {},
                                                     {'I', 'D', '3', 4, 0, 0, 0x7F, 0x7F, 0x7F, 0x7F},
                                                     {0xFF, 0xFB}};
    for (const auto& file : files) {
        EXPECT_FALSE(ReadMp3Frames(file).has_value()) << file.size();
    }
}

} // namespace
} // namespace swf
