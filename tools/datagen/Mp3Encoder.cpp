#include "Mp3Encoder.hpp"

#include <lame/lame.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace datagen {

namespace {

struct LameHandle {
    lame_t handle = lame_init();
    ~LameHandle()
    {
        if (handle)
            lame_close(handle);
    }
};

} // namespace

std::vector<std::uint8_t> encodeMp3(const std::vector<float>& samples, int rate)
{
    LameHandle lame;
    if (!lame.handle)
        throw std::runtime_error("LAME did not start");
    lame_set_in_samplerate(lame.handle, rate);
    lame_set_out_samplerate(lame.handle, rate);
    lame_set_num_channels(lame.handle, 1);
    lame_set_mode(lame.handle, MONO);
    lame_set_brate(lame.handle, 96);
    lame_set_quality(lame.handle, 2);
    lame_set_bWriteVbrTag(lame.handle, 1);
    lame_set_write_id3tag_automatic(lame.handle, 0);
    if (lame_init_params(lame.handle) < 0)
        throw std::runtime_error("LAME refused the settings");

    std::vector<short> pcm(samples.size());
    std::transform(samples.begin(), samples.end(), pcm.begin(), [](float s) {
        return static_cast<short>(std::lround(std::clamp(s, -1.0f, 1.0f) * 32767.0f));
    });
    // Worst case from the LAME documentation: 1.25 times the samples plus 7200.
    std::vector<unsigned char> buffer(pcm.size() * 5 / 4 + 7200);
    const int size = static_cast<int>(buffer.size());
    const int encoded = lame_encode_buffer(lame.handle, pcm.data(), pcm.data(),
                                           static_cast<int>(pcm.size()), buffer.data(), size);
    if (encoded < 0)
        throw std::runtime_error("LAME could not encode");
    const int flushed = lame_encode_flush(lame.handle, buffer.data() + encoded, size - encoded);
    if (flushed < 0)
        throw std::runtime_error("LAME could not flush");
    std::vector<std::uint8_t> mp3(buffer.begin(), buffer.begin() + encoded + flushed);

    // The encoder left its first frame empty for this header.
    unsigned char tag[2880];
    const std::size_t tagSize = lame_get_lametag_frame(lame.handle, tag, sizeof tag);
    if (tagSize == 0 || tagSize > mp3.size())
        throw std::runtime_error("LAME gave no length header");
    std::copy(tag, tag + tagSize, mp3.begin());
    return mp3;
}

} // namespace datagen
