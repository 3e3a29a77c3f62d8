#pragma once

// The game's mixed output as SDL's disk driver records it: 16-bit
// little-endian stereo at 32000 Hz, left and right interleaved. Shared by
// the mix tests and the sound benchmark.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace recorded {

constexpr int kRate = 32000;
constexpr int kFullScale = 32767;

using Pcm = std::vector<std::int16_t>;

// Every whole frame of the recording in the file; empty when it cannot be read.
inline Pcm readPcm(const std::string& file)
{
    std::ifstream in(file, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    Pcm pcm(bytes.size() / 4 * 2);
    for (std::size_t i = 0; i < pcm.size(); ++i)
        pcm[i] = static_cast<std::int16_t>(static_cast<unsigned char>(bytes[2 * i])
                                           | static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
    return pcm;
}

// The frame index of the first sound: the frames before it are silence.
inline std::size_t firstSoundingFrame(const Pcm& pcm)
{
    const auto first = std::find_if(pcm.begin(), pcm.end(), [](std::int16_t v) { return v != 0; });
    return static_cast<std::size_t>(first - pcm.begin()) / 2;
}

// RMS of both channels over the frames from `from` to `to` seconds.
inline double rms(const Pcm& pcm, double from, double to)
{
    const std::size_t begin = static_cast<std::size_t>(std::max(0.0, from) * kRate) * 2;
    const std::size_t end = std::min(pcm.size(), static_cast<std::size_t>(to * kRate) * 2);
    double sum = 0;
    for (std::size_t i = begin; i < end; ++i)
        sum += static_cast<double>(pcm[i]) * pcm[i];
    return end > begin ? std::sqrt(sum / static_cast<double>(end - begin)) : 0.0;
}

} // namespace recorded
