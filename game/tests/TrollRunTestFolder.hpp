#pragma once

// A folder of the game's data files for the main run's tests, entered for
// one test and removed after it, named after the process so that tests can
// run side by side. The run object is made afresh for every test.

#include "framework/Buttons.hpp"
#include "framework/Graphics.hpp"
#include "framework/SaveFile.hpp"
#include "framework/tests/HeadlessScreen.hpp"
#include "game/TrollRun.hpp"
#include "game/tests/GameDataFolder.hpp"
#include "ttf/Text.hpp"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

class TrollRunTestFolder : public ::testing::Test {
protected:
    using Rgb = HeadlessScreen::Rgb;

    void SetUp() override
    {
        std::srand(1234);
        text_system_startup();
        folder_ = std::make_unique<GameDataFolder>("trollrun-test");
        run_ = std::make_unique<TrollRun>();
        setUnlocks(false, false);
    }

    void TearDown() override
    {
        run_->unloadAssets(); // the fonts must go before the renderer stops
        run_.reset();
        folder_.reset();
        text_system_shutdown();
        setUnlocks(false, false);
    }

    // What a run's set-up does before its play loop, without the
    // instructions: assets, world, troll and peasants.
    void setUpWorld()
    {
        TrollRun& r = *run_;
        r.loadAssets();
        r.active = true;
        r.reset();
        r.buildSky(192, 229, 229, 180, 205, 222);
        r.composeBackdrop();
        r.buildGround();
        r.popup.loadFont();
        r.troll.load();
        r.spawnPeasants();
        r.score = 0;
    }

    static void paintSolid(const char* name, Rgb colour)
    {
        GameDataFolder::paintSolid(name, colour);
    }

    static Rgb at(BITMAP* picture, int x, int y) { return HeadlessScreen::pixel(picture, x, y); }

    // Whether any pixel of the rectangle has exactly that colour.
    static bool anyPixel(BITMAP* picture, int x1, int y1, int x2, int y2, Rgb colour)
    {
        for (int y = y1; y < y2; ++y)
            for (int x = x1; x < x2; ++x)
                if (at(picture, x, y) == colour)
                    return true;
        return false;
    }

    // One frame end after a frame of `ms` milliseconds with no key down:
    // every started Counter moves by that much.
    void advance(unsigned ms)
    {
        screen_.script(std::vector<FrameInput>{FrameInput{{}, ms}});
        flipScreen();
    }

    // Puts peasant i at world x, standing still and walking.
    void placePeasant(int i, int x) { run_->launchPeasant(i, x, 0.0); }
    // Sends every peasant far ahead, out of every rule's way.
    void clearPeasants()
    {
        for (int i = 0; i < TrollRun::kPeasantCount; ++i)
            placePeasant(i, 5000 + i);
    }

    HeadlessScreen screen_;
    std::unique_ptr<TrollRun> run_;

private:
    std::unique_ptr<GameDataFolder> folder_;
};
