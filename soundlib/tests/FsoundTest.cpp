#include "TestMedia.hpp"

#include <fsound.h>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kRate = 32000;
constexpr int kChannels = 64;
constexpr unsigned kOnce = FSOUND_2D | FSOUND_NORMAL | FSOUND_LOOP_OFF;

// Error codes as FSOUND_GetError reports them.
constexpr int kAlreadyStarted = 1;
constexpr int kNotStarted = 2;
constexpr int kFileNotFound = 9;
constexpr int kUnknownFormat = 10;
constexpr int kUnreadableFile = 11;
constexpr int kBadArgument = 14;
constexpr int kNoFreeChannel = 16;

// Polls until the condition holds or the time runs out; true if it held.
bool waitFor(const std::function<bool()>& condition, double seconds)
{
    const auto deadline = Clock::now() + std::chrono::duration<double>(seconds);
    while (!condition()) {
        if (Clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

class FsoundTest : public ::testing::Test {
protected:
    void SetUp() override { setenv("SDL_AUDIODRIVER", "dummy", 1); }

    ~FsoundTest() override
    {
        FSOUND_Close();
        for (const auto& f : files_)
            std::remove(f.c_str());
    }

    std::string path(const std::string& name)
    {
        // Named after the test and the process, since tests (and whole test
        // runs) may run side by side.
        const std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        files_.push_back(::testing::TempDir() + "fsound_" + std::to_string(getpid()) + "_" + test
                         + "_" + name);
        return files_.back();
    }

    FSoundSample* loadTone(double seconds)
    {
        const std::string file = path("tone" + std::to_string(seconds) + ".mp3");
        writeToneMp3(file, seconds);
        return FSOUND_Sample_Load(FSOUND_UNMANAGED, file.c_str(), kOnce, 0, 0);
    }

    std::vector<std::string> files_;
};

} // namespace

TEST_F(FsoundTest, StartsOnceAndStartsAgainAfterClosing)
{
    EXPECT_FLOAT_EQ(FSOUND_GetVersion(), 3.74f);
    ASSERT_TRUE(FSOUND_Init(kRate, kChannels, 0));
    EXPECT_FALSE(FSOUND_Init(kRate, kChannels, 0));
    EXPECT_EQ(FSOUND_GetError(), kAlreadyStarted);
    FSOUND_Close();
    FSOUND_Close();
    EXPECT_TRUE(FSOUND_Init(kRate, kChannels, 0));
}

TEST_F(FsoundTest, CallsBeforeStartingAndBadArgumentsAreRefused)
{
    EXPECT_EQ(FSOUND_Sample_Load(FSOUND_UNMANAGED, "x.mp3", kOnce, 0, 0), nullptr);
    EXPECT_EQ(FSOUND_GetError(), kNotStarted);
    EXPECT_EQ(FMUSIC_LoadSong("x.xm"), nullptr);
    EXPECT_FALSE(FSOUND_IsPlaying(0));
    EXPECT_EQ(FSOUND_GetError(), kNotStarted);

    EXPECT_FALSE(FSOUND_Init(kRate, 0, 0));
    EXPECT_EQ(FSOUND_GetError(), kBadArgument);
    ASSERT_TRUE(FSOUND_Init(kRate, kChannels, 0));
    EXPECT_EQ(FSOUND_PlaySound(FSOUND_FREE, nullptr), -1);
    EXPECT_EQ(FSOUND_GetError(), kBadArgument);
    EXPECT_FALSE(FSOUND_StopSound(-1));
}

TEST_F(FsoundTest, FallsBackToASilentOutputThatKeepsTime)
{
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    ASSERT_TRUE(FSOUND_Init(kRate, kChannels, 0));
    FSoundSample* tone = loadTone(0.3);
    ASSERT_NE(tone, nullptr);
    const int playback = FSOUND_PlaySound(FSOUND_FREE, tone);
    EXPECT_TRUE(FSOUND_IsPlaying(playback));
    FSOUND_Sample_Free(tone);
}

namespace {

// Everything written to the standard error stream while it lives.
class StderrCapture {
public:
    explicit StderrCapture(const std::string& file) : file_(file)
    {
        std::fflush(stderr);
        saved_ = dup(STDERR_FILENO);
        const int into = open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(into, STDERR_FILENO);
        close(into);
    }
    ~StderrCapture() { restore(); }

    std::string text()
    {
        restore();
        return readBytes(file_);
    }

private:
    void restore()
    {
        if (saved_ < 0)
            return;
        std::fflush(stderr);
        dup2(saved_, STDERR_FILENO);
        close(saved_);
        saved_ = -1;
    }

    std::string file_;
    int saved_ = -1;
};

} // namespace

TEST_F(FsoundTest, WithoutASoundCardStartsQuietlyOnTheSilentOutput)
{
    if (std::filesystem::exists("/dev/snd"))
        GTEST_SKIP() << "this machine has sound devices";
    unsetenv("SDL_AUDIODRIVER");
    FSoundSample* tone = nullptr;
    int playback = -1;
    StderrCapture capture(path("stderr"));
    ASSERT_TRUE(FSOUND_Init(kRate, kChannels, 0));
    tone = loadTone(0.3);
    playback = FSOUND_PlaySound(FSOUND_FREE, tone);
    EXPECT_TRUE(FSOUND_IsPlaying(playback));
    EXPECT_TRUE(waitFor([&] { return !FSOUND_IsPlaying(playback); }, 5.0));
    FSOUND_Sample_Free(tone);
    FSOUND_Close();
    EXPECT_EQ(capture.text(), "");
}

TEST_F(FsoundTest, ASamplePlaysForAboutItsLengthAndThenEnds)
{
    ASSERT_TRUE(FSOUND_Init(kRate, kChannels, 0));
    FSoundSample* tone = loadTone(0.3);
    ASSERT_NE(tone, nullptr);
    const auto start = Clock::now();
    const int playback = FSOUND_PlaySound(FSOUND_FREE, tone);
    ASSERT_GE(playback, 0);
    EXPECT_TRUE(FSOUND_IsPlaying(playback));
    EXPECT_TRUE(waitFor([&] { return !FSOUND_IsPlaying(playback); }, 5.0));
    EXPECT_GE(secondsSince(start), 0.25);
    EXPECT_FALSE(FSOUND_StopSound(playback));
    FSOUND_Sample_Free(tone);
}

TEST_F(FsoundTest, AHandleOutlivedByItsPlaybackNamesNothing)
{
    // One channel, so the second sample is sure to take the first one's.
    ASSERT_TRUE(FSOUND_Init(kRate, 1, 0));
    FSoundSample* shortTone = loadTone(0.05);
    FSoundSample* longTone = loadTone(2.0);
    ASSERT_TRUE(shortTone && longTone);

    const int first = FSOUND_PlaySound(FSOUND_FREE, shortTone);
    ASSERT_TRUE(waitFor([&] { return !FSOUND_IsPlaying(first); }, 5.0));
    const int second = FSOUND_PlaySound(FSOUND_FREE, longTone);
    ASSERT_GE(second, 0);
    EXPECT_NE(second, first);

    EXPECT_FALSE(FSOUND_IsPlaying(first));
    EXPECT_FALSE(FSOUND_StopSound(first));
    EXPECT_TRUE(FSOUND_IsPlaying(second));

    EXPECT_TRUE(FSOUND_StopSound(second));
    EXPECT_FALSE(FSOUND_IsPlaying(second));
    FSOUND_Sample_Free(shortTone);
    FSOUND_Sample_Free(longTone);
}

TEST_F(FsoundTest, SixtyFourPlaybacksRunAtOnceAndASixtyFifthFindsNoChannel)
{
    ASSERT_TRUE(FSOUND_Init(kRate, kChannels, 0));
    FSoundSample* tone = loadTone(2.0);
    ASSERT_NE(tone, nullptr);
    std::vector<int> playbacks;
    for (int i = 0; i < kChannels; ++i)
        playbacks.push_back(FSOUND_PlaySound(FSOUND_FREE, tone));
    for (int playback : playbacks) {
        ASSERT_GE(playback, 0);
        EXPECT_TRUE(FSOUND_IsPlaying(playback));
    }
    EXPECT_EQ(FSOUND_PlaySound(FSOUND_FREE, tone), -1);
    EXPECT_EQ(FSOUND_GetError(), kNoFreeChannel);

    // Freeing the sample ends all of them, and the channels serve again.
    FSOUND_Sample_Free(tone);
    for (int playback : playbacks)
        EXPECT_FALSE(FSOUND_IsPlaying(playback));
    FSoundSample* again = loadTone(0.1);
    EXPECT_GE(FSOUND_PlaySound(FSOUND_FREE, again), 0);
    FSOUND_Sample_Free(again);
}

TEST_F(FsoundTest, ALoopingSampleRunsPastItsLengthUntilStopped)
{
    ASSERT_TRUE(FSOUND_Init(kRate, kChannels, 0));
    FSoundSample* tone = loadTone(0.1);
    ASSERT_NE(tone, nullptr);
    ASSERT_TRUE(FSOUND_Sample_SetMode(tone, FSOUND_LOOP_NORMAL));
    const int playback = FSOUND_PlaySound(FSOUND_FREE, tone);
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_TRUE(FSOUND_IsPlaying(playback));
    EXPECT_TRUE(FSOUND_StopSound(playback));
    EXPECT_FALSE(FSOUND_IsPlaying(playback));
    FSOUND_Sample_Free(tone);
}

TEST_F(FsoundTest, FilesThatCannotBeReadGiveNullAndTheirErrorCode)
{
    ASSERT_TRUE(FSOUND_Init(kRate, kChannels, 0));
    const std::string missing = path("missing");
    const std::string empty = path("empty");
    writeBytes(empty, "");
    const std::string junk = path("junk");
    std::string bytes = "junk";
    for (unsigned i = 0, x = 12345; i < 4096; ++i, x = x * 1103515245u + 12345u)
        bytes += static_cast<char>(x >> 16);
    writeBytes(junk, bytes);
    const std::string xm = path("whole.xm");
    writeToneXm(xm);
    const std::string cutXm = path("cut.xm");
    writeBytes(cutXm, readBytes(xm).substr(0, 120));
    const std::string cutMp3 = path("cut.mp3");
    writeBytes(cutMp3, std::string("\xff\xfb\x00\x49\x49\x55\x6d", 7));

    const std::pair<std::string, int> cases[] = {
        {missing, kFileNotFound}, {empty, kUnknownFormat}, {junk, kUnknownFormat}};
    for (const auto& [file, code] : cases) {
        SCOPED_TRACE(file);
        EXPECT_EQ(FSOUND_Sample_Load(FSOUND_UNMANAGED, file.c_str(), kOnce, 0, 0), nullptr);
        EXPECT_EQ(FSOUND_GetError(), code);
        EXPECT_EQ(FMUSIC_LoadSong(file.c_str()), nullptr);
        EXPECT_EQ(FSOUND_GetError(), code);
    }
    // Right signature, too short to hold the module or sound it announces.
    // Under LeakSanitizer, these show that a refusal leaves nothing behind.
    EXPECT_EQ(FMUSIC_LoadSong(cutXm.c_str()), nullptr);
    EXPECT_EQ(FSOUND_GetError(), kUnreadableFile);
    EXPECT_EQ(FSOUND_Sample_Load(FSOUND_UNMANAGED, cutMp3.c_str(), kOnce, 0, 0), nullptr);
    EXPECT_EQ(FSOUND_GetError(), kUnreadableFile);
    // A module is no sample.
    EXPECT_EQ(FSOUND_Sample_Load(FSOUND_UNMANAGED, xm.c_str(), kOnce, 0, 0), nullptr);
    EXPECT_EQ(FSOUND_GetError(), kUnknownFormat);
}

TEST_F(FsoundTest, HandlesStillHeldAtCloseCanBeFreedAfterIt)
{
    ASSERT_TRUE(FSOUND_Init(kRate, kChannels, 0));
    FSoundSample* tone = loadTone(1.0);
    const std::string xm = path("held.xm");
    writeToneXm(xm);
    FMusicModule* song = FMUSIC_LoadSong(xm.c_str());
    ASSERT_TRUE(tone && song);
    FMUSIC_PlaySong(song);
    const int playback = FSOUND_PlaySound(FSOUND_FREE, tone);
    FSOUND_Close();

    EXPECT_FALSE(FSOUND_IsPlaying(playback));
    EXPECT_EQ(FSOUND_PlaySound(FSOUND_FREE, tone), -1);
    FSOUND_Sample_Free(tone);
    EXPECT_TRUE(FMUSIC_FreeSong(song));
    // A second free is refused, not handed on.
    FSOUND_Sample_Free(tone);
    EXPECT_EQ(FSOUND_GetError(), kBadArgument);
    EXPECT_FALSE(FMUSIC_FreeSong(song));
}

namespace {

// Plays into SDL's disk driver, which writes the mixed output to a file as
// 16-bit stereo at the mixing rate, in real time.
class FsoundDiskTest : public FsoundTest {
protected:
    static constexpr double kBytesPerSecond = kRate * 2 * 2;

    void SetUp() override
    {
        output_ = path("output.raw");
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", output_.c_str(), 1);
    }

    // Seconds of sound in the file so far. Sound started now reaches the file
    // after this point, however late the test got to start it.
    double outputSeconds()
    {
        std::error_code error;
        const auto size = std::filesystem::file_size(output_, error);
        return error ? 0.0 : size / kBytesPerSecond;
    }

    // Starts the library, plays the module from `file` for `seconds` and
    // closes the library again; returns where in the output the play began.
    double playModule(const std::string& file, double seconds)
    {
        if (!FSOUND_Init(kRate, kChannels, 0))
            return -1;
        FMusicModule* song = FMUSIC_LoadSong(file.c_str());
        const double start = outputSeconds();
        const bool played = song && FMUSIC_PlaySong(song) && waitForOutput(start + seconds);
        FMUSIC_FreeSong(song);
        FSOUND_Close();
        return played ? start : -1;
    }

    // Waits until the file holds at least this much sound.
    bool waitForOutput(double seconds)
    {
        return waitFor(
            [&] {
                std::error_code error;
                const auto size = std::filesystem::file_size(output_, error);
                return !error && size >= seconds * kBytesPerSecond;
            },
            10.0 + seconds);
    }

    // The loudest sample of the output between two times, on both channels
    // or on one.
    int peak(double from, double to, int channel = kBoth)
    {
        const std::string pcm = readBytes(output_);
        const std::size_t end = std::min(pcm.size() / 2, static_cast<std::size_t>(to * kRate) * 2);
        int loudest = 0;
        for (std::size_t i = static_cast<std::size_t>(from * kRate) * 2; i < end; ++i) {
            if (channel != kBoth && static_cast<int>(i % 2) != channel)
                continue;
            const auto value =
                static_cast<std::int16_t>(static_cast<unsigned char>(pcm[2 * i])
                                          | static_cast<unsigned char>(pcm[2 * i + 1]) << 8);
            loudest = std::max(loudest, std::abs(static_cast<int>(value)));
        }
        return loudest;
    }

    static constexpr int kLeft = 0;
    static constexpr int kRight = 1;
    static constexpr int kBoth = -1;

    std::string output_;
};

constexpr int kAudible = 1000;

} // namespace

TEST_F(FsoundDiskTest, APlayedSampleReachesTheOutput)
{
    ASSERT_TRUE(FSOUND_Init(kRate, kChannels, 0));
    FSoundSample* tone = loadTone(0.3);
    ASSERT_NE(tone, nullptr);
    const int playback = FSOUND_PlaySound(FSOUND_FREE, tone);
    ASSERT_TRUE(waitFor([&] { return !FSOUND_IsPlaying(playback); }, 5.0));
    FSOUND_Sample_Free(tone);
    FSOUND_Close();
    EXPECT_GT(peak(0.0, outputSeconds()), kAudible);
}

TEST_F(FsoundDiskTest, TheModuleKeepsPlayingPastItsEnd)
{
    const std::string xm = path("loop.xm");
    writeToneXm(xm);
    // The module is about half a second long: listen to its second pass.
    const double start = playModule(xm, 1.4);
    ASSERT_GE(start, 0);
    EXPECT_GT(peak(start + 0.1, start + 0.4), kAudible);
    EXPECT_GT(peak(start + 0.9, start + 1.3), kAudible);
}

TEST_F(FsoundDiskTest, AfterItsEndTheModuleGoesOnAtItsRestartPosition)
{
    const std::string xm = path("intro.xm");
    writeIntroXm(xm); // a silent pattern, then a sounding one, each about 0.48 s
    const double start = playModule(xm, 2.5);
    ASSERT_GE(start, 0);
    EXPECT_LT(peak(start + 0.05, start + 0.4), kAudible) << "the intro is silent";
    // From the sounding pattern on, the module never goes back to the silent one.
    for (double t = start + 0.6; t < start + 2.4; t += 0.1)
        EXPECT_GT(peak(t, t + 0.1), kAudible) << "silent at " << t - start << " s";
}

TEST_F(FsoundDiskTest, TheModulesPanningPlacesItsNotes)
{
    const std::string xm = path("left.xm");
    constexpr int kHardLeft = 0;
    writeToneXm(xm, kHardLeft);
    const double start = playModule(xm, 0.5);
    ASSERT_GE(start, 0);
    EXPECT_GT(peak(start, start + 0.4, kLeft), kAudible);
    EXPECT_LT(peak(start, start + 0.4, kRight), kAudible / 10);
}

TEST_F(FsoundDiskTest, NoPileOfPlaysReachesFullScale)
{
    ASSERT_TRUE(FSOUND_Init(kRate, kChannels, 0));
    FSoundSample* tone = loadTone(0.5);
    ASSERT_NE(tone, nullptr);
    const double start = outputSeconds();
    for (int i = 0; i < kChannels; ++i)
        FSOUND_PlaySound(FSOUND_FREE, tone);
    ASSERT_TRUE(waitForOutput(start + 0.6));
    FSOUND_Sample_Free(tone);
    FSOUND_Close();
    const int loudest = peak(start, start + 0.6);
    EXPECT_GT(loudest, 30000);
    EXPECT_LT(loudest, 32767);
}
