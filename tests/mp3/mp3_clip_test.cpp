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

struct SwfTag {
    int code;
    std::vector<uint8_t> body;
};

// The tags of an uncompressed SWF file, read on their own here (header, then short and long tag headers).
std::vector<SwfTag> ReadTags(const std::vector<uint8_t>& file, int& version) {
    std::vector<SwfTag> tags;
    if (file.size() < 8 || file[0] != 'F' || file[1] != 'W' || file[2] != 'S' ||
        Le32(file, 4) != file.size()) {
        ADD_FAILURE() << "not an uncompressed SWF of the right length";
        return tags;
    }
    version = file[3];
    const int rect_bits = file[8] >> 3;
    size_t pos = 8 + (5 + 4 * size_t(rect_bits) + 7) / 8 + 4; // stage rectangle, rate, frame count
    while (pos + 2 <= file.size()) {
        const int header = file[pos] | (file[pos + 1] << 8);
        pos += 2;
        size_t length = header & 0x3F;
        if (length == 0x3F) {
            length = Le32(file, pos);
            pos += 4;
        }
        tags.push_back(
            {header >> 6, std::vector<uint8_t>(file.begin() + long(pos), file.begin() + long(pos + length))});
        pos += length;
        if (tags.back().code == 0) {
            break;
        }
    }
    EXPECT_EQ(pos, file.size());
    return tags;
}

TEST(Mp3Clip, OneFrameWithTheSoundAndItsStart) {
    const auto folder = FreshFolder("clip");
    const auto movies = std::filesystem::path(CW_TEST_BINARY_DIR) / "test-movies";
    std::filesystem::create_directories(movies);
    for (int rate : {44100, 48000}) {
        SCOPED_TRACE(rate);
        const auto mp3 = SynthMp3(folder, "tone.mp3", rate, 2, 0.5, "-b 96");
        const auto clip = movies / ("mp3-clip-" + std::to_string(rate) + ".swf");
        WriteMp3Clip(mp3, clip);
        int version = 0;
        const std::vector<SwfTag> tags = ReadTags(ReadBytes(clip), version);
        EXPECT_EQ(version, 6);
        std::vector<int> codes;
        for (const SwfTag& tag : tags) {
            codes.push_back(tag.code);
        }
        EXPECT_EQ(codes, (std::vector<int>{14, 15, 1, 0})); // DefineSound, StartSound, ShowFrame, End
        ASSERT_EQ(tags.size(), 4u);
        const Mp3Stream stream = LoadMp3ForMovie(mp3);
        const CharacterId id = CharacterId(tags[0].body[0] | tags[0].body[1] << 8);
        EXPECT_EQ(tags[0].body, DefineSoundTag(id, stream).body);
        EXPECT_EQ(tags[1].body, StartSoundTag(id).body);
        EXPECT_EQ(tags[0].body[2] >> 2 & 3, 3); // 44 kHz either way
    }
    EXPECT_THROW(WriteMp3Clip(folder / "missing.mp3", movies / "never.swf"), Error);
    EXPECT_FALSE(std::filesystem::exists(movies / "never.swf"));
}

} // namespace
} // namespace swf
