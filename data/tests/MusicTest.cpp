#include <gtest/gtest.h>
#include <libmodplug/modplug.h>
#include <xmp.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

const std::string kModule = std::string(PLAY_DIR) + "/motivati.xm";

double rms(const std::vector<short>& s)
{
    double sum = 0;
    for (short v : s)
        sum += static_cast<double>(v) * v;
    return std::sqrt(sum / s.size());
}

class MusicWithXmp : public ::testing::Test {
protected:
    void SetUp() override
    {
        player_ = xmp_create_context();
        ASSERT_EQ(xmp_load_module(player_, kModule.c_str()), 0);
        ASSERT_EQ(xmp_start_player(player_, 44100, 0), 0);
    }
    void TearDown() override
    {
        xmp_end_player(player_);
        xmp_release_module(player_);
        xmp_free_context(player_);
    }
    // Renders seconds of stereo audio.
    std::vector<short> render(int seconds)
    {
        std::vector<short> out(44100 * 2 * seconds);
        xmp_play_buffer(player_, out.data(), static_cast<int>(out.size() * sizeof(short)), 0);
        return out;
    }
    xmp_context player_ = nullptr;
};

} // namespace

TEST_F(MusicWithXmp, LastsBetweenHalfAMinuteAndAMinuteAndAHalf)
{
    xmp_frame_info frame;
    xmp_get_frame_info(player_, &frame);
    EXPECT_GE(frame.total_time, 30000);
    EXPECT_LE(frame.total_time, 90000);
}

TEST_F(MusicWithXmp, HasBassLeadAndDrums)
{
    xmp_module_info info;
    xmp_get_module_info(player_, &info);
    std::vector<std::string> names;
    for (int i = 0; i < info.mod->ins; ++i)
        names.emplace_back(info.mod->xxi[i].name);
    for (const char* wanted : {"bass", "lead", "kick", "snare", "hat"})
        EXPECT_NE(std::find(names.begin(), names.end(), wanted), names.end()) << wanted;
}

TEST_F(MusicWithXmp, SpreadsTheInstrumentsAroundBassLeadAndKickInTheMiddle)
{
    xmp_module_info info;
    xmp_get_module_info(player_, &info);
    constexpr int kCentre = 128;
    int left = 0, right = 0;
    for (int i = 0; i < info.mod->ins; ++i) {
        const std::string name = info.mod->xxi[i].name;
        const int pan = info.mod->xxi[i].sub[0].pan;
        if (name == "bass" || name == "lead" || name == "kick") {
            EXPECT_NEAR(pan, kCentre, 8) << name;
            continue;
        }
        EXPECT_GE(std::abs(pan - kCentre), 24) << name;
        left += pan < kCentre;
        right += pan > kCentre;
    }
    EXPECT_GT(left, 0);
    EXPECT_GT(right, 0);

    // Left and right differ, yet neither side outweighs the other.
    const std::vector<short> audio = render(20);
    double leftSum = 0, rightSum = 0, sideSum = 0;
    for (std::size_t i = 0; i + 1 < audio.size(); i += 2) {
        leftSum += static_cast<double>(audio[i]) * audio[i];
        rightSum += static_cast<double>(audio[i + 1]) * audio[i + 1];
        const double side = static_cast<double>(audio[i]) - audio[i + 1];
        sideSum += side * side;
    }
    EXPECT_GT(sideSum, 0.01 * (leftSum + rightSum));
    EXPECT_NEAR(10 * std::log10(leftSum / rightSum), 0.0, 2.0);
}

TEST_F(MusicWithXmp, PlaysAudibleMusicThroughoutWithoutClipping)
{
    for (int stretch = 0; stretch < 5; ++stretch) {
        const std::vector<short> audio = render(10);
        EXPECT_GT(rms(audio), 2000.0) << "quiet at " << stretch * 10 << " s";
        int peak = 0;
        for (short v : audio)
            peak = std::max(peak, std::abs(static_cast<int>(v)));
        EXPECT_LT(peak, 32767) << "clips at " << stretch * 10 << " s";
    }
}

TEST_F(MusicWithXmp, LoopsBackToTheFirstVerseInsteadOfEnding)
{
    xmp_module_info info;
    xmp_get_module_info(player_, &info);
    ASSERT_EQ(info.mod->rst, 1); // the intro plays once
    xmp_frame_info frame;
    xmp_get_frame_info(player_, &frame);
    const int seconds = frame.total_time / 1000 + 3;
    render(seconds);
    xmp_get_frame_info(player_, &frame);
    EXPECT_EQ(frame.loop_count, 1);
    EXPECT_EQ(frame.pos, info.mod->rst);
    EXPECT_GT(rms(render(3)), 2000.0);
}

TEST(MusicWithModplug, LoadsAndPlays)
{
    std::ifstream in(kModule, std::ios::binary);
    std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    ASSERT_FALSE(bytes.empty());
    ModPlugFile* song = ModPlug_Load(bytes.data(), static_cast<int>(bytes.size()));
    ASSERT_NE(song, nullptr);
    EXPECT_GE(ModPlug_GetLength(song), 30000);
    EXPECT_LE(ModPlug_GetLength(song), 90000);
    std::vector<short> audio(44100 * 2 * 5);
    const int got =
        ModPlug_Read(song, audio.data(), static_cast<int>(audio.size() * sizeof(short)));
    EXPECT_EQ(got, static_cast<int>(audio.size() * sizeof(short)));
    EXPECT_GT(rms(audio), 1000.0);
    ModPlug_Unload(song);
}
