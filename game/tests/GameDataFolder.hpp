#pragma once

// A folder holding a copy of the game's data files, entered for the life of
// the object and removed after it. Named after the process, so that tests
// can run side by side, and changed at will by the test that owns it.

#include "framework/tests/HeadlessScreen.hpp"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>

class GameDataFolder {
public:
    explicit GameDataFolder(const std::string& name)
    {
        namespace fs = std::filesystem;
        folder_ = fs::temp_directory_path() / (name + "-" + std::to_string(::getpid()));
        fs::create_directories(folder_);
        for (const fs::directory_entry& entry : fs::directory_iterator(GRIMBLEDOM_PLAY_DIR)) {
            const std::string ext = entry.path().extension().string();
            if (ext == ".bmp" || ext == ".mp3" || ext == ".ttf")
                fs::copy_file(entry.path(), folder_ / entry.path().filename(),
                              fs::copy_options::overwrite_existing);
        }
        previous_ = fs::current_path();
        fs::current_path(folder_);
    }

    ~GameDataFolder()
    {
        std::filesystem::current_path(previous_);
        std::filesystem::remove_all(folder_);
    }

    GameDataFolder(const GameDataFolder&) = delete;
    GameDataFolder& operator=(const GameDataFolder&) = delete;

    // Replaces a picture with a solid one of the same size, so that a test
    // can find it on screen by its colour.
    static void paintSolid(const char* name, HeadlessScreen::Rgb colour)
    {
        BITMAP* original = load_bitmap(name, nullptr);
        ASSERT_NE(original, nullptr) << name;
        BITMAP* solid = create_bitmap(original->w, original->h);
        clear_to_color(solid, makecol(colour.r, colour.g, colour.b));
        save_bitmap(name, solid, nullptr);
        destroy_bitmap(solid);
        destroy_bitmap(original);
    }

private:
    std::filesystem::path folder_;
    std::filesystem::path previous_;
};
