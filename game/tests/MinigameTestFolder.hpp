#pragma once

// A folder of the game's own data files for the minigame tests, entered for
// the length of one test and removed after it, named after the process so
// that tests can run side by side.

#include "framework/tests/HeadlessScreen.hpp"
#include "game/tests/GameDataFolder.hpp"
#include "ttf/Text.hpp"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

// Scripts a minigame play: its title card passes in three frames of 500 ms
// (the card's value goes 2, 1.5, 1, 0.5) with `titleKeys` held, then every
// frame of the play goes to `step`, counted from 0.
inline constexpr int kTitleFrames = 3;

inline HeadlessScreen::Step afterTitle(HeadlessScreen::Step step, std::vector<int> titleKeys = {})
{
    return [step, titleKeys](int frame, BITMAP* picture) {
        if (frame < kTitleFrames)
            return FrameInput{titleKeys, 500};
        return step(frame - kTitleFrames, picture);
    };
}

class MinigameTestFolder : public ::testing::Test {
protected:
    using Rgb = HeadlessScreen::Rgb;

    void SetUp() override
    {
        text_system_startup();
        folder_ = std::make_unique<GameDataFolder>("minigame-test");
    }

    void TearDown() override
    {
        folder_.reset();
        text_system_shutdown();
    }

    static void paintSolid(const char* name, Rgb colour)
    {
        GameDataFolder::paintSolid(name, colour);
    }

    static void remove(const char* name) { std::filesystem::remove(name); }

    static bool has(BITMAP* picture, int x, int y, Rgb colour)
    {
        return HeadlessScreen::pixel(picture, x, y) == colour;
    }

    // One play of a loaded-on-the-spot minigame, scripted as afterTitle
    // says; playFrames_ counts the frames of the play after the title.
    template <class Game>
    bool playScripted(Game& game, int level, HeadlessScreen::Step step,
                      std::vector<int> titleKeys = {})
    {
        playFrames_ = 0;
        screen_.script(afterTitle(
                           [this, step](int frame, BITMAP* picture) {
                               playFrames_ = frame + 1;
                               return step(frame, picture);
                           },
                           titleKeys),
                       3000);
        game.load();
        const bool won = game.play(level);
        game.unload();
        return won;
    }

    HeadlessScreen screen_;
    int playFrames_ = 0;

private:
    std::unique_ptr<GameDataFolder> folder_;
};
