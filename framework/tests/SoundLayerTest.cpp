#include "FakeSoundLibrary.hpp"

#include "framework/Sound.hpp"
#include "framework/SoundLayer.hpp"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <type_traits>
#include <vector>

static_assert(!std::is_copy_constructible_v<Sound> && !std::is_copy_assignable_v<Sound>);

namespace {

using Calls = std::vector<std::string>;

class SoundLayerTest : public ::testing::Test {
protected:
    SoundLayerTest() { fakesound::reset(); }
    ~SoundLayerTest() override { freeMusic(); }

    // Before the graphics library starts, its message box prints to stdout.
    std::string startSoundShowing(int expectedResult)
    {
        ::testing::internal::CaptureStdout();
        EXPECT_EQ(initSound(), expectedResult);
        return ::testing::internal::GetCapturedStdout();
    }
};

} // namespace

TEST_F(SoundLayerTest, AnOlderLibraryIsRefusedBeforeItStarts)
{
    fakesound::script().version = 3.73f;
    EXPECT_EQ(startSoundShowing(1), "Wrong FMOD library detected. You should be using FMOD 3.74\n");
    EXPECT_EQ(fakesound::calls(), Calls{"FSOUND_GetVersion"});
}

TEST_F(SoundLayerTest, TheRequiredVersionStarts)
{
    EXPECT_EQ(startSoundShowing(0), "");
    EXPECT_EQ(fakesound::calls(), (Calls{"FSOUND_GetVersion", "FSOUND_Init 32000 64 0"}));
}

TEST_F(SoundLayerTest, AFailedStartShowsTheLibrarysErrorText)
{
    fakesound::script().initSucceeds = false;
    fakesound::script().error = 3;
    EXPECT_EQ(startSoundShowing(1), "Error initializing output device.\n");
}

TEST_F(SoundLayerTest, ErrorCodesHaveTheirTextsAndUnknownCodesOneForAll)
{
    EXPECT_STREQ(fmodErrorString(0), "No errors");
    EXPECT_STREQ(fmodErrorString(1),
                 "Cannot call this command after FSOUND_Init.  Call FSOUND_Close first.");
    EXPECT_STREQ(fmodErrorString(12), "Not enough memory ");
    EXPECT_STREQ(fmodErrorString(18), "Required Mediaplayer codec is not installed");
    for (int code : {19, -1, INT_MIN})
        EXPECT_STREQ(fmodErrorString(code), "Unknown error") << code;
}

TEST_F(SoundLayerTest, WithoutAModuleTheMusicCallsDoNothingButShutdownStillCloses)
{
    fakesound::script().loadsSucceed = false;
    loadMusic("motivati.xm");
    playMusic();
    stopMusic();
    freeMusic();
    shutdownSound();
    EXPECT_EQ(fakesound::calls(), (Calls{"FMUSIC_LoadSong motivati.xm", "FSOUND_Close"}));
}

TEST_F(SoundLayerTest, TheModuleIsPlayedAndFreedOnceAtShutdown)
{
    loadMusic("motivati.xm");
    playMusic();
    stopMusic();
    shutdownSound();
    freeMusic();
    EXPECT_EQ(fakesound::calls(),
              (Calls{"FMUSIC_LoadSong motivati.xm", "FMUSIC_PlaySong module1",
                     "FMUSIC_StopSong module1", "FMUSIC_FreeSong module1", "FSOUND_Close"}));
}

TEST_F(SoundLayerTest, ASoundLoadsItsFileAsAPlainSampleThatPlaysOnce)
{
    Sound sound;
    sound.load("smush.mp3");
    sound.setLoop(true);
    sound.setLoop(false);
    EXPECT_EQ(fakesound::calls(),
              (Calls{"FSOUND_Sample_Load -2 smush.mp3 0x2131 0 0",
                     "FSOUND_Sample_SetMode sample1 2", "FSOUND_Sample_SetMode sample1 1"}));
}

TEST_F(SoundLayerTest, WithoutOverlapAPlayStopsThePreviousPlaybackIfItStillRuns)
{
    Sound sound;
    sound.load("smush.mp3");
    sound.play();
    sound.play();
    fakesound::script().playing = false;
    sound.play();
    sound.unload();
    EXPECT_EQ(fakesound::calls(),
              (Calls{"FSOUND_Sample_Load -2 smush.mp3 0x2131 0 0", "FSOUND_PlaySound -1 sample1",
                     "FSOUND_IsPlaying 100", "FSOUND_StopSound 100", "FSOUND_PlaySound -1 sample1",
                     "FSOUND_IsPlaying 101", "FSOUND_PlaySound -1 sample1",
                     "FSOUND_Sample_Free sample1"}));
}

TEST_F(SoundLayerTest, WithOverlapPlaysRunSideBySide)
{
    Sound sound;
    sound.setOverlap(true);
    sound.load("click.mp3");
    sound.play();
    sound.play();
    sound.setOverlap(false);
    sound.play();
    EXPECT_EQ(fakesound::calls(),
              (Calls{"FSOUND_Sample_Load -2 click.mp3 0x2131 0 0", "FSOUND_PlaySound -1 sample1",
                     "FSOUND_PlaySound -1 sample1", "FSOUND_IsPlaying 101", "FSOUND_StopSound 101",
                     "FSOUND_PlaySound -1 sample1"}));
}

TEST_F(SoundLayerTest, StopTouchesOnlyAPlaybackThatStillRuns)
{
    Sound sound;
    sound.load("breath.mp3");
    sound.stop();
    sound.play();
    fakesound::script().playing = false;
    sound.stop();
    EXPECT_EQ(fakesound::calls(), (Calls{"FSOUND_Sample_Load -2 breath.mp3 0x2131 0 0",
                                         "FSOUND_PlaySound -1 sample1", "FSOUND_IsPlaying 100"}));
}

TEST_F(SoundLayerTest, AnEmptySoundMakesNoCall)
{
    fakesound::script().loadsSucceed = false;
    {
        Sound sound;
        sound.play();
        sound.load("missing.mp3");
        sound.play();
        sound.stop();
        sound.setLoop(true);
        sound.unload();
    }
    EXPECT_EQ(fakesound::calls(), Calls{"FSOUND_Sample_Load -2 missing.mp3 0x2131 0 0"});
}

TEST_F(SoundLayerTest, EachSampleIsFreedExactlyOnce)
{
    {
        Sound sound;
        sound.load("smush.mp3");
        sound.load("smush.mp3");
        sound.unload();
        sound.unload();
        sound.load("sizzle.mp3");
    }
    EXPECT_EQ(fakesound::calls(),
              (Calls{"FSOUND_Sample_Load -2 smush.mp3 0x2131 0 0", "FSOUND_Sample_Free sample1",
                     "FSOUND_Sample_Load -2 smush.mp3 0x2131 0 0", "FSOUND_Sample_Free sample2",
                     "FSOUND_Sample_Load -2 sizzle.mp3 0x2131 0 0", "FSOUND_Sample_Free sample3"}));
}
