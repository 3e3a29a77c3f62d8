#pragma once

// A folder of the game's data files for the main run's tests, entered for
// one test and removed after it, named after the process so that tests can
// run side by side. The run object is made afresh for every test.

#include "framework/Buttons.hpp"
#include "framework/Graphics.hpp"
#include "framework/SaveFile.hpp"
#include "framework/tests/HeadlessScreen.hpp"
#include "game/TrollRun.hpp"
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
        namespace fs = std::filesystem;
        std::srand(1234);
        text_system_startup();
        folder_ = fs::temp_directory_path() / ("trollrun-test-" + std::to_string(::getpid()));
        fs::create_directories(folder_);
        for (const fs::directory_entry& entry : fs::directory_iterator(GRIMBLEDOM_PLAY_DIR)) {
            const std::string ext = entry.path().extension().string();
            if (ext == ".bmp" || ext == ".mp3" || ext == ".ttf")
                fs::copy_file(entry.path(), folder_ / entry.path().filename(),
                              fs::copy_options::overwrite_existing);
        }
        previous_ = fs::current_path();
        fs::current_path(folder_);
        run_ = std::make_unique<TrollRun>();
        setUnlocks(false, false);
    }

    void TearDown() override
    {
        run_->unloadAssets(); // the fonts must go before the renderer stops
        run_.reset();
        std::filesystem::current_path(previous_);
        std::filesystem::remove_all(folder_);
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
        r.buildGround();
        r.popup.loadFont();
        r.troll.load();
        r.spawnPeasants();
        r.score = 0;
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
    std::filesystem::path folder_;
    std::filesystem::path previous_;
};
