#include "mp3_fixtures.h"
#include "swf/error.h"
#include "swf/mp3_clip.h"
#include "swf/mp3_reencode.h"

#include <gtest/gtest.h>

namespace swf {
namespace {

using test::FreshFolder;
using test::ReadBytes;
using test::SynthMp3;

uint32_t Le32(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (uint32_t(b[at + 3]) << 24);
}

TEST(DefineSound, BodyLayout) {
    Mp3Stream stream;
    stream.sample_rate = 44100;
    stream.channels = 2;
    stream.samples_per_frame = 1152;
    stream.frame_count = 3;
    stream.leading_samples = 1105;
    stream.trailing_samples = 300;
    stream.frames = {0xFF, 0xFB, 0x90, 0x64, 1, 2, 3};
    const RawTag tag = DefineSoundTag(0x1234, stream);
    EXPECT_EQ(tag.code, TagCode::DefineSound);
    const std::vector<uint8_t> expected = {0x34, 0x12,             // id
                                           0x2F,                   // MP3, 44 kHz, 16-bit, stereo
                                           0x03, 0x08, 0x00, 0x00, // 3 * 1152 - 1105 - 300 = 2051 samples
                                           0x51, 0x04,             // SeekSamples 1105
                                           0xFF, 0xFB, 0x90, 0x64, 1, 2, 3};
    EXPECT_EQ(tag.body, expected);

    stream.sample_rate = 22050;
    stream.channels = 1;
    EXPECT_EQ(DefineSoundTag(1, stream).body[2], 0x2A); // 22 kHz, mono
    stream.sample_rate = 11025;
    EXPECT_EQ(DefineSoundTag(1, stream).body[2], 0x26); // 11 kHz, mono
    for (int rate : {48000, 32000, 24000, 16000, 12000, 8000}) {
        stream.sample_rate = rate;
        EXPECT_THROW(DefineSoundTag(1, stream), Error) << rate;
    }
}

TEST(StartSound, PlaysTheSoundOnceWithoutOverlapping) {
    EXPECT_EQ(StartSoundTag(0x0102).code, TagCode::StartSound);
    EXPECT_EQ(StartSoundTag(0x0102).body, (std::vector<uint8_t>{0x02, 0x01, 0x10}));
}

TEST(ReencodeRate, NeverCutsTheFrequencyRange) {
    const std::pair<int, int> cases[] = {{48000, 44100}, {32000, 44100}, {24000, 44100},
                                         {16000, 22050}, {12000, 22050}, {8000, 11025}};
    for (const auto& [from, to] : cases) {
        EXPECT_EQ(ReencodeRate(from), to) << from;
        EXPECT_TRUE(SwfMp3RateCode(ReencodeRate(from)).has_value());
    }
}

TEST(LoadMp3ForMovie, CarriesCarriableRatesUnchanged) {
    const auto folder = FreshFolder("carry");
    for (int rate : {44100, 22050, 11025}) {
        SCOPED_TRACE(rate);
        const auto path = SynthMp3(folder, std::to_string(rate) + ".MP3", rate, 2, 1.0, "-b 64");
        const std::vector<uint8_t> file = ReadBytes(path);
        const Mp3Stream stream = LoadMp3ForMovie(path);
        EXPECT_EQ(stream.sample_rate, rate);
        EXPECT_EQ(stream.sample_count(), uint32_t(rate));
        // Byte for byte from the file, nothing re-encoded.
        EXPECT_NE(test::Find(file, stream.frames), std::string::npos);
        const RawTag tag = DefineSoundTag(7, stream);
        EXPECT_EQ(Le32(tag.body, 3), uint32_t(rate));
        EXPECT_TRUE(std::equal(stream.frames.begin(), stream.frames.end(), tag.body.begin() + 9));
        EXPECT_EQ(tag.body.size(), 9 + stream.frames.size());
    }
}

TEST(LoadMp3ForMovie, ReencodesRatesAMovieCannotCarry) {
    const auto folder = FreshFolder("reencode");
    const struct {
        int rate;
        int channels;
        int expected_rate;
    } cases[] = {{48000, 2, 44100}, {32000, 1, 44100}, {16000, 2, 22050}, {8000, 1, 11025}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rate);
        const auto path = SynthMp3(folder, std::to_string(c.rate) + ".mp3", c.rate, c.channels, 1.0, "-b 64");
        ASSERT_EQ(ReadMp3Frames(ReadBytes(path))->sample_rate, c.rate);
        const Mp3Stream stream = LoadMp3ForMovie(path);
        EXPECT_EQ(stream.sample_rate, c.expected_rate);
        EXPECT_EQ(stream.channels, c.channels);
        // Still one second of sound, give or take the resampler's rounding.
        EXPECT_NEAR(double(stream.sample_count()), c.expected_rate, 2.0);
        // The new frames are a stream of their own at the new rate.
        const auto again = ReadMp3Frames(stream.frames);
        ASSERT_TRUE(again.has_value());
        EXPECT_EQ(again->sample_rate, c.expected_rate);
        EXPECT_EQ(again->frame_count, stream.frame_count);
        EXPECT_NO_THROW(DefineSoundTag(1, stream));
    }
}

TEST(LoadMp3ForMovie, RefusesWhatIsNotAnMp3) {
    const auto folder = FreshFolder("refuse");
    ASSERT_EQ(std::system(("sox -q -n -r 44100 -c 2 -b 16 '" + (folder / "tone.wav").string() +
                           "' synth 0.3 sine 440")
                              .c_str()),
              0);
    test::WriteBytes(folder / "text.mp3", {'n', 'o', 't', ' ', 'a', 'n', ' ', 'm', 'p', '3'});
    test::WriteBytes(folder / "empty.mp3", {});
    for (const char* name : {"tone.wav", "text.mp3", "empty.mp3", "missing.mp3"}) {
        EXPECT_THROW(LoadMp3ForMovie(folder / name), Error) << name;
    }
}

} // namespace
} // namespace swf
