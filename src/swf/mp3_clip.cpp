#include "swf/mp3_clip.h"

#include "swf/error.h"
#include "swf/mp3_reencode.h"

#include <fstream>
#include <iterator>
#include <limits>

namespace swf {

namespace {

constexpr uint8_t kSoundFormatMp3 = 2;

void Put16(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(uint8_t(value & 0xFF));
    out.push_back(uint8_t((value >> 8) & 0xFF));
}

void Put32(std::vector<uint8_t>& out, uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

} // namespace

std::optional<int> SwfMp3RateCode(int sample_rate) {
    switch (sample_rate) {
    case 11025:
        return 1;
    case 22050:
        return 2;
    case 44100:
        return 3;
    default:
        return std::nullopt;
    }
}

RawTag DefineSoundTag(CharacterId id, const Mp3Stream& stream) {
    const std::optional<int> rate = SwfMp3RateCode(stream.sample_rate);
    if (!rate) {
        throw Error("a movie cannot carry MP3 sound at " + std::to_string(stream.sample_rate) + " Hz");
    }
    if (stream.leading_samples > std::numeric_limits<int16_t>::max()) {
        throw Error("the MP3's encoder delay is too long");
    }
    RawTag tag{TagCode::DefineSound, {}};
    std::vector<uint8_t>& body = tag.body;
    body.reserve(2 + 1 + 4 + 2 + stream.frames.size());
    Put16(body, id);
    const uint8_t sixteen_bit = 1;
    const uint8_t stereo = stream.channels == 2 ? 1 : 0;
    body.push_back(uint8_t(kSoundFormatMp3 << 4 | *rate << 2 | sixteen_bit << 1 | stereo));
    Put32(body, stream.sample_count());
    Put16(body, uint16_t(stream.leading_samples));
    body.insert(body.end(), stream.frames.begin(), stream.frames.end());
    return tag;
}

RawTag StartSoundTag(CharacterId id) {
    RawTag tag{TagCode::StartSound, {}};
    Put16(tag.body, id);
    // SOUNDINFO flags: SyncNoMultiple (bit 4) only: no envelope, loops, in or out point.
    tag.body.push_back(0x10);
    return tag;
}

Mp3Stream LoadMp3ForMovie(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw Error("cannot open " + path.string());
    }
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::optional<Mp3Stream> stream = ReadMp3Frames(bytes);
    if (!stream) {
        throw Error(path.string() + " is not a readable MP3 file");
    }
    if (SwfMp3RateCode(stream->sample_rate)) {
        return *stream;
    }
    return ReencodeMp3File(path, ReencodeRate(stream->sample_rate), stream->average_bitrate_kbps);
}

} // namespace swf
