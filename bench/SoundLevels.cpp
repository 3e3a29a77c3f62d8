// Not a test: figures of a recording of the game's mixed output (16-bit
// stereo at 32000 Hz, as SDL's disk driver writes it): full-scale samples
// and the bursts they come in, peak and RMS level, how much left and right
// differ, and, given the seconds at which hits sounded, how much louder
// each hit's first 100 ms are than the 100 ms of music just before it
// (counting only hits with no other hit in the 0.7 s before them); given a
// recording of the music alone as well, how much louder they are than the
// same 100 ms of the music alone (the two recordings lined up where their
// music starts).
//
// Usage: sound_levels RECORDING [HITS_FILE [MUSIC_ALONE]]

#include "tests/RecordedSound.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

using recorded::kFullScale;
using recorded::kRate;
using recorded::rms;
constexpr double kWindow = 0.1;
constexpr double kQuietBefore = 0.7;

double decibels(double level)
{
    return 20 * std::log10(std::max(level, 1e-9) / kFullScale);
}

void printClipping(const std::vector<std::int16_t>& s)
{
    int fullScale = 0, bursts = 0, longest = 0, run = 0;
    for (std::size_t frame = 0; frame < s.size() / 2; ++frame) {
        const bool clipped =
            std::abs(s[2 * frame]) >= kFullScale || std::abs(s[2 * frame + 1]) >= kFullScale;
        fullScale +=
            (std::abs(s[2 * frame]) >= kFullScale) + (std::abs(s[2 * frame + 1]) >= kFullScale);
        run = clipped ? run + 1 : 0;
        bursts += run == 1;
        longest = std::max(longest, run);
    }
    std::printf("full-scale samples: %d in %d bursts (longest %d frames)\n", fullScale, bursts,
                longest);
}

void printLevels(const std::vector<std::int16_t>& s)
{
    int peak = 0;
    double difference = 0, sum = 0;
    for (std::size_t frame = 0; frame < s.size() / 2; ++frame) {
        peak = std::max({peak, std::abs(static_cast<int>(s[2 * frame])),
                         std::abs(static_cast<int>(s[2 * frame + 1]))});
        const double side = static_cast<double>(s[2 * frame]) - s[2 * frame + 1];
        difference += side * side;
        sum += static_cast<double>(s[2 * frame]) * s[2 * frame]
               + static_cast<double>(s[2 * frame + 1]) * s[2 * frame + 1];
    }
    const double frames = std::max<std::size_t>(1, s.size() / 2);
    std::printf("length %.1f s, peak %.2f dBFS, RMS %.2f dBFS, left minus right RMS %.2f dBFS\n",
                frames / kRate, decibels(peak), decibels(std::sqrt(sum / (2 * frames))),
                decibels(std::sqrt(difference / frames)));
}

std::vector<double> readHits(const char* hitsFile)
{
    std::ifstream in(hitsFile);
    return {std::istream_iterator<double>(in), std::istream_iterator<double>()};
}

// Seconds of silence before the first sound.
double leadingSilence(const std::vector<std::int16_t>& s)
{
    return static_cast<double>(recorded::firstSoundingFrame(s)) / kRate;
}

void printMedianAndLowest(const char* what, std::vector<double> gains)
{
    if (gains.empty())
        return;
    std::sort(gains.begin(), gains.end());
    std::printf("%s: median %+.1f dB, lowest %+.1f dB\n", what, gains[gains.size() / 2],
                gains.front());
}

void printHitWindows(const std::vector<std::int16_t>& s, const char* hitsFile)
{
    const std::vector<double> hits = readHits(hitsFile);
    std::vector<double> gains;
    for (std::size_t i = 0; i < hits.size(); ++i) {
        if (i > 0 && hits[i] - hits[i - 1] < kQuietBefore)
            continue;
        const double t = hits[i];
        gains.push_back(decibels(rms(s, t, t + kWindow)) - decibels(rms(s, t - kWindow, t)));
    }
    std::printf("hits: %zu, of them %zu with music alone before them\n", hits.size(), gains.size());
    printMedianAndLowest("hit window over the music before it", gains);
}

// Where, within the 100 ms from `t`, the recording first parts from the
// music alone: the moment the hit's sound reached the output. (A hit that
// cuts off the tail of the one before counts from `t`.)
double onset(const std::vector<std::int16_t>& s, double t, const std::vector<std::int16_t>& music,
             double shift)
{
    constexpr int kParted = 200;
    const long moved = std::lround(shift * kRate);
    for (long f = std::lround(t * kRate); f < std::lround((t + kWindow) * kRate); ++f) {
        const long m = f + moved;
        if (m < 0 || 2 * static_cast<std::size_t>(f) + 1 >= s.size()
            || 2 * static_cast<std::size_t>(m) + 1 >= music.size())
            break;
        if (std::abs(s[2 * f] - music[2 * m]) > kParted
            || std::abs(s[2 * f + 1] - music[2 * m + 1]) > kParted)
            return static_cast<double>(f) / kRate;
    }
    return t;
}

void printHitsOverMusicAlone(const std::vector<std::int16_t>& s, const char* hitsFile,
                             const std::vector<std::int16_t>& music)
{
    const double shift = leadingSilence(music) - leadingSilence(s);
    std::vector<double> gains;
    for (double t : readHits(hitsFile)) {
        if (t + shift < 0)
            continue;
        const double at = onset(s, t, music, shift);
        gains.push_back(decibels(rms(s, at, at + kWindow))
                        - decibels(rms(music, at + shift, at + shift + kWindow)));
    }
    printMedianAndLowest("hit window over the same moment of the music alone", gains);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 4) {
        std::fprintf(stderr, "usage: %s RECORDING [HITS_FILE [MUSIC_ALONE]]\n", argv[0]);
        return 2;
    }
    const std::vector<std::int16_t> samples = recorded::readPcm(argv[1]);
    // The recording starts with the silence before the music.
    printLevels({samples.begin() + recorded::firstSoundingFrame(samples) * 2, samples.end()});
    printClipping(samples);
    if (argc >= 3)
        printHitWindows(samples, argv[2]);
    if (argc == 4)
        printHitsOverMusicAlone(samples, argv[2], recorded::readPcm(argv[3]));
    return 0;
}
