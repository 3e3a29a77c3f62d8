// The game's music and samples as a player hears them: played through the
// sound layer and the real sound library into SDL's disk driver, which
// writes the mixed output (16-bit stereo at 32000 Hz) to a file, here
// about thirty times faster than real time.

#include "framework/Sound.hpp"
#include "framework/SoundLayer.hpp"
#include "tests/RecordedSound.hpp"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

using recorded::kFullScale;
using recorded::kRate;
using recorded::Pcm;
using recorded::rms;
constexpr double kBytesPerSecond = kRate * 2 * 2;
// The module's nine orders of 64 rows at 6 ticks and 150 beats a minute.
constexpr double kPatternSeconds = 6.4;
constexpr double kModuleSeconds = 9 * kPatternSeconds;

std::string playFile(const char* name)
{
    return std::string(PLAY_DIR) + "/" + name;
}

int fullScaleSamples(const Pcm& pcm)
{
    return static_cast<int>(std::count_if(pcm.begin(), pcm.end(), [](std::int16_t v) {
        return std::abs(static_cast<int>(v)) >= kFullScale;
    }));
}

double decibels(double ratio)
{
    return 20 * std::log10(ratio);
}

// One start of the sound library, as the game starts it, with the music
// playing and the output recorded from FSOUND_Init to FSOUND_Close.
class Recording {
public:
    explicit Recording(const std::string& file) : file_(file)
    {
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", file_.c_str(), 1);
        setenv("SDL_DISKAUDIODELAY", "1", 1); // ms per 1024 frames: about 30 times real time
        started_ = initSound() == 0;
        if (!started_)
            return;
        loadMusic(playFile("motivati.xm").c_str());
        playMusic();
    }
    ~Recording() { stop(); }
    Recording(const Recording&) = delete;
    Recording& operator=(const Recording&) = delete;

    bool started() const { return started_; }

    double seconds() const
    {
        std::error_code error;
        const auto size = std::filesystem::file_size(file_, error);
        return error ? 0.0 : static_cast<double>(size) / kBytesPerSecond;
    }

    // Calls `each` with the number of `step`s by which the output has grown,
    // as soon as it has grown by one more, until it has grown by `length`
    // seconds. Steps missed while the call was late are left out.
    void every(double step, double length, const std::function<void(int)>& each)
    {
        const double start = seconds();
        for (int next = 0;;) {
            if (!waitFor(start + next * step))
                return;
            const int now = static_cast<int>((seconds() - start) / step);
            if (now * step >= length)
                return;
            each(now);
            next = now + 1;
        }
    }

    // The output, from the first sound on; the library is closed first.
    Pcm take()
    {
        stop();
        Pcm pcm = recorded::readPcm(file_);
        std::remove(file_.c_str());
        pcm.erase(pcm.begin(), pcm.begin() + recorded::firstSoundingFrame(pcm) * 2);
        return pcm;
    }

private:
    bool waitFor(double outputSeconds) const
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (seconds() < outputSeconds) {
            if (std::chrono::steady_clock::now() > deadline)
                return false;
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        return true;
    }

    void stop()
    {
        if (!started_)
            return;
        shutdownSound();
        started_ = false;
    }

    std::string file_;
    bool started_ = false;
};

class Mix : public ::testing::Test {
protected:
    static std::string scratchFile(const std::string& name)
    {
        return ::testing::TempDir() + "mix_" + std::to_string(getpid()) + "_" + name + ".raw";
    }

    // The music alone, past its end into the second pass, recorded once.
    static const Pcm& music()
    {
        static const Pcm pcm = [] {
            Recording recording(scratchFile("music"));
            if (!recording.started())
                return Pcm();
            recording.every(1.0, kModuleSeconds + kPatternSeconds + 1.0, [](int) {});
            return recording.take();
        }();
        return pcm;
    }
};

} // namespace

TEST_F(Mix, TheMusicPlaysInStereoAtItsUsualLoudness)
{
    const Pcm& alone = music();
    ASSERT_GT(alone.size(), static_cast<std::size_t>(kModuleSeconds * kRate * 2));
    constexpr double kUsualLevel = -16.4; // dBFS RMS
    EXPECT_NEAR(decibels(rms(alone, 0, kModuleSeconds) / kFullScale), kUsualLevel, 3.0);
    double side = 0;
    for (std::size_t i = 0; i + 1 < alone.size(); i += 2)
        side += std::pow(static_cast<double>(alone[i]) - alone[i + 1], 2);
    EXPECT_GT(std::sqrt(side / (alone.size() / 2)), 0.1 * rms(alone, 0, kModuleSeconds));
}

namespace {

// The energy of the difference between the stretch of `pcm` from `at` and
// the one from `other`, both `length` seconds long, relative to the energy
// of the first.
double difference(const Pcm& pcm, double at, double other, double length)
{
    const std::size_t a = static_cast<std::size_t>(at * kRate) * 2;
    const std::size_t b = static_cast<std::size_t>(other * kRate) * 2;
    const std::size_t n =
        std::min(static_cast<std::size_t>(length * kRate) * 2, pcm.size() - std::max(a, b));
    double diff = 0, level = 0;
    for (std::size_t i = 0; i < n; ++i) {
        diff += std::pow(static_cast<double>(pcm[a + i]) - pcm[b + i], 2);
        level += std::pow(static_cast<double>(pcm[a + i]), 2);
    }
    return diff / std::max(level, 1.0);
}

// Where, within 0.1 s either side of `near`, the stretch from `at` repeats.
double bestMatch(const Pcm& pcm, double at, double near)
{
    double best = near, bestDifference = 1e300;
    for (double t = near - 0.1; t <= near + 0.1; t += 1.0 / kRate) {
        const double d = difference(pcm, at, t, 0.05);
        if (d < bestDifference) {
            bestDifference = d;
            best = t;
        }
    }
    return best;
}

} // namespace

TEST_F(Mix, AfterItsEndTheMusicGoesOnWithTheVerseNotTheIntro)
{
    // The pass after the end starts at the second order, the first verse:
    // past the first notes, whose tails differ, it sounds as it did then.
    const Pcm& alone = music();
    ASSERT_GT(alone.size(), static_cast<std::size_t>((kModuleSeconds + 5.0) * kRate * 2));
    const double once = 1.0, again = kModuleSeconds + once;
    const double verse = bestMatch(alone, again, once + kPatternSeconds);
    EXPECT_LT(difference(alone, again, verse, 4.0), 0.001);
    EXPECT_GT(difference(alone, again, once, 4.0), 0.2) << "the intro again";
}

namespace {

// The game's samples, loaded and played as the game does.
struct GameSounds {
    GameSounds()
    {
        hit.load(playFile("smush.mp3").c_str());
        hit.setOverlap(false);
        breath.load(playFile("breath.mp3").c_str());
        sizzle.load(playFile("sizzle.mp3").c_str());
    }
    Sound hit, breath, sizzle;
};

} // namespace

TEST_F(Mix, AHitOnEverySwingOverTheWholeMusicNeverClips)
{
    Recording recording(scratchFile("swings"));
    ASSERT_TRUE(recording.started());
    GameSounds sounds;
    // A swing on every other frame at 60 frames a second, the fastest the
    // press and release of the button allow.
    recording.every(2.0 / 60, kModuleSeconds, [&](int) { sounds.hit.play(); });
    EXPECT_EQ(fullScaleSamples(recording.take()), 0);
}

TEST_F(Mix, BreathAndSizzleTogetherOverTheWholeMusicNeverClip)
{
    Recording recording(scratchFile("fire"));
    ASSERT_TRUE(recording.started());
    GameSounds sounds;
    // Each restarts over and over, meeting the other at every offset.
    recording.every(1.0 / 60, kModuleSeconds, [&](int frame) {
        if (frame % 3 == 0)
            sounds.breath.play();
        if (frame % 7 == 0)
            sounds.sizzle.play();
    });
    EXPECT_EQ(fullScaleSamples(recording.take()), 0);
}

TEST_F(Mix, EveryHitSoundsAboveTheMusicItFalls)
{
    Recording recording(scratchFile("hits"));
    ASSERT_TRUE(recording.started());
    GameSounds sounds;
    // About a second apart, drifting against the beat so that the hits
    // fall on every part of a bar.
    recording.every(1.033, kModuleSeconds, [&](int step) {
        if (step > 0)
            sounds.hit.play();
    });
    const Pcm mix = recording.take();
    const Pcm& alone = music();
    // The music starts both recordings alike, so where they part after a
    // stretch of agreement, a hit starts.
    constexpr int kParted = 200;
    constexpr std::size_t kAgreement = kRate / 10 * 2;
    std::vector<double> gains;
    std::size_t lastParted = 0;
    // The music stops just before the library closes, so the last moments
    // of the recording say nothing.
    ASSERT_GT(std::min(mix.size(), alone.size()), kAgreement);
    const std::size_t end = std::min(mix.size(), alone.size()) - kAgreement;
    for (std::size_t i = 0; i < end; ++i) {
        if (std::abs(mix[i] - alone[i]) < kParted)
            continue;
        if (i - lastParted > kAgreement) {
            const double at = static_cast<double>(i / 2) / kRate;
            gains.push_back(decibels(rms(mix, at, at + 0.1) / rms(alone, at, at + 0.1)));
        }
        lastParted = i;
    }
    EXPECT_GE(gains.size(), static_cast<std::size_t>(kModuleSeconds / 2));
    for (std::size_t hit = 0; hit < gains.size(); ++hit)
        EXPECT_GE(gains[hit], 2.0) << "hit " << hit;
}
