#include "swf/mp3_reencode.h"

#include "swf/error.h"

#include <lame/lame.h>
#include <mpg123.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace swf {

namespace {

constexpr int kDecoderDelay = 529;

struct Mpg123Deleter {
    void operator()(mpg123_handle* h) const {
        mpg123_close(h);
        mpg123_delete(h);
    }
};
struct LameDeleter {
    void operator()(lame_global_flags* gf) const { lame_close(gf); }
};

std::unique_ptr<mpg123_handle, Mpg123Deleter> OpenDecoder(const std::filesystem::path& path) {
    int err = MPG123_OK;
    std::unique_ptr<mpg123_handle, Mpg123Deleter> decoder(mpg123_new(nullptr, &err));
    if (!decoder) {
        throw Error("the MP3 decoder could not start");
    }
    mpg123_param(decoder.get(), MPG123_ADD_FLAGS, MPG123_QUIET | MPG123_GAPLESS, 0);
    if (mpg123_open(decoder.get(), path.c_str()) != MPG123_OK) {
        throw Error("cannot open " + path.string() + " for decoding");
    }
    // 16-bit samples at the file's own rate and channel count.
    long rate = 0;
    int channels = 0;
    int encoding = 0;
    if (mpg123_getformat(decoder.get(), &rate, &channels, &encoding) != MPG123_OK) {
        throw Error("cannot decode " + path.string() + ": " + mpg123_strerror(decoder.get()));
    }
    mpg123_format_none(decoder.get());
    mpg123_format(decoder.get(), rate, channels, MPG123_ENC_SIGNED_16);
    return decoder;
}

} // namespace

int ReencodeRate(int sample_rate) {
    for (int rate : {11025, 22050, 44100}) {
        if (rate >= sample_rate) {
            return rate;
        }
    }
    return 44100;
}

Mp3Stream ReencodeMp3File(const std::filesystem::path& path, int target_rate, int bitrate_kbps) {
    auto decoder = OpenDecoder(path);
    long source_rate = 0;
    int channels = 0;
    int encoding = 0;
    mpg123_getformat(decoder.get(), &source_rate, &channels, &encoding);

    std::unique_ptr<lame_global_flags, LameDeleter> encoder(lame_init());
    if (!encoder) {
        throw Error("the MP3 encoder could not start");
    }
    // Layer III at 44100 Hz is MPEG-1 (32..320 kbps); at 22050 and 11025 Hz MPEG-2/2.5 (8..160 kbps).
    const int max_kbps = target_rate == 44100 ? 320 : 160;
    const int min_kbps = target_rate == 44100 ? 32 : 8;
    lame_set_in_samplerate(encoder.get(), int(source_rate));
    lame_set_out_samplerate(encoder.get(), target_rate);
    lame_set_num_channels(encoder.get(), channels);
    lame_set_mode(encoder.get(), channels == 1 ? MONO : JOINT_STEREO);
    lame_set_VBR(encoder.get(), vbr_off);
    lame_set_brate(encoder.get(), std::clamp(bitrate_kbps, min_kbps, max_kbps));
    lame_set_bWriteVbrTag(encoder.get(), 0);
    if (lame_init_params(encoder.get()) < 0) {
        throw Error("the MP3 encoder refused " + std::to_string(target_rate) + " Hz");
    }

    std::vector<uint8_t> mp3;
    std::vector<int16_t> pcm(16384 * size_t(channels));
    std::vector<uint8_t> out;
    uint64_t input_samples = 0;
    for (;;) {
        size_t done = 0;
        const int status = mpg123_read(decoder.get(), pcm.data(), pcm.size() * sizeof(int16_t), &done);
        const int samples = int(done / sizeof(int16_t) / size_t(channels));
        if (samples > 0) {
            input_samples += uint64_t(samples);
            out.resize(size_t(1.25 * samples) + 7200);
            const int written = channels == 2
                                    ? lame_encode_buffer_interleaved(encoder.get(), pcm.data(), samples,
                                                                     out.data(), int(out.size()))
                                    : lame_encode_buffer(encoder.get(), pcm.data(), pcm.data(), samples,
                                                         out.data(), int(out.size()));
            if (written < 0) {
                throw Error("the MP3 encoder failed on " + path.string());
            }
            mp3.insert(mp3.end(), out.begin(), out.begin() + written);
        }
        if (status == MPG123_DONE) {
            break;
        }
        if (status != MPG123_OK && status != MPG123_NEW_FORMAT) {
            throw Error("cannot decode " + path.string() + ": " + mpg123_strerror(decoder.get()));
        }
    }
    out.resize(7200);
    const int flushed = lame_encode_flush(encoder.get(), out.data(), int(out.size()));
    if (flushed < 0) {
        throw Error("the MP3 encoder failed on " + path.string());
    }
    mp3.insert(mp3.end(), out.begin(), out.begin() + flushed);

    std::optional<Mp3Stream> stream = ReadMp3Frames(mp3);
    if (!stream || input_samples == 0) {
        throw Error(path.string() + " holds no sound to re-encode");
    }
    // The encoder tells its delay; the rest of the last frame is padding.
    const int64_t total = int64_t(stream->frame_count) * stream->samples_per_frame;
    const int64_t audio = std::llround(double(input_samples) * target_rate / double(source_rate));
    stream->leading_samples = lame_get_encoder_delay(encoder.get()) + kDecoderDelay;
    stream->trailing_samples = int(std::max<int64_t>(0, total - stream->leading_samples - audio));
    return *stream;
}

} // namespace swf
