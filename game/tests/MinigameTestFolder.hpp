#pragma once

// A folder of the game's own data files for the minigame tests, entered for
// the length of one test and removed after it, named after the process so
// that tests can run side by side.

#include "framework/tests/HeadlessScreen.hpp"
#include "ttf/Text.hpp"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
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
        namespace fs = std::filesystem;
        text_system_startup();
        folder_ = fs::temp_directory_path() / ("minigame-test-" + std::to_string(::getpid()));
        fs::create_directories(folder_);
        for (const char* name : kDataFiles)
            fs::copy_file(fs::path(GRIMBLEDOM_PLAY_DIR) / name, folder_ / name,
                          fs::copy_options::overwrite_existing);
        previous_ = fs::current_path();
        fs::current_path(folder_);
    }

    void TearDown() override
    {
        std::filesystem::current_path(previous_);
        std::filesystem::remove_all(folder_);
        text_system_shutdown();
    }

    // Replaces a picture with a solid one of the same size, so that a test
    // can find it on screen by its colour.
    static void paintSolid(const char* name, Rgb colour)
    {
        BITMAP* original = load_bitmap(name, nullptr);
        ASSERT_NE(original, nullptr) << name;
        BITMAP* solid = create_bitmap(original->w, original->h);
        clear_to_color(solid, makecol(colour.r, colour.g, colour.b));
        save_bitmap(name, solid, nullptr);
        destroy_bitmap(solid);
        destroy_bitmap(original);
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
    static constexpr const char* kDataFiles[] = {
        "carbon.ttf",   "fumbo1.bmp",   "fumbo2.bmp", "fumboplat.bmp", "grumoka.bmp",
        "grumokb.bmp",  "fireball.bmp", "lava.bmp",   "bridge.bmp",    "fire.bmp",
        "breath.mp3",   "sizzle.mp3",   "disk.bmp",   "arrow.bmp",     "click.mp3",
    };
    std::filesystem::path folder_;
    std::filesystem::path previous_;
};

