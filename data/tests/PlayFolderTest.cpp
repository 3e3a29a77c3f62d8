#include "datagen/DataFiles.hpp"
#include "ttf/Text.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::vector<std::uint8_t> readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

TEST(PlayFolder, HoldsEveryFileTheGameReads)
{
    const char* names[] = {
        "troll1.bmp",   "troll2.bmp",   "troll3.bmp",    "troll4.bmp",
        "peasant1.bmp", "peasant2.bmp", "peasant3.bmp",  "hillbg.bmp",
        "cloud.bmp",    "mgflag.bmp",   "bar.bmp",       "barred.bmp",
        "bargreen.bmp", "logo.bmp",     "fumboplat.bmp", "fumbo1.bmp",
        "fumbo2.bmp",   "grumoka.bmp",  "grumokb.bmp",   "bridge.bmp",
        "fireball.bmp", "lava.bmp",     "fire.bmp",      "disk.bmp",
        "arrow.bmp",    "smush.mp3",    "breath.mp3",    "sizzle.mp3",
        "click.mp3",    "motivati.xm",  "carbon.ttf",    "carbon-font-LICENSE.txt"};
    for (const char* name : names) {
        const fs::path path = fs::path(PLAY_DIR) / name;
        EXPECT_TRUE(fs::is_regular_file(path)) << name;
        EXPECT_GT(fs::exists(path) ? fs::file_size(path) : 0, 0u) << name;
    }
}

TEST(PlayFolder, FontIsATrueTypeFile)
{
    const std::vector<std::uint8_t> font = readFile(fs::path(PLAY_DIR) / "carbon.ttf");
    ASSERT_GE(font.size(), 4u);
    EXPECT_EQ(std::vector<std::uint8_t>(font.begin(), font.begin() + 4),
              (std::vector<std::uint8_t>{0, 1, 0, 0}));
}

TEST(PlayFolder, LongestLinesFitAcrossTheScreen)
{
    text_system_startup();
    TextFont* font = text_font_load((fs::path(PLAY_DIR) / "carbon.ttf").c_str());
    ASSERT_NE(font, nullptr);
    ASSERT_EQ(text_font_set_height(font, 36), 0);
    for (const char* line : {"DON'T MISS AND DON'T LET ANY PEASANTS PASS YOU!",
                             "USE SPACEBAR, CTRL, SHIFT, OR ENTER."})
        EXPECT_LE(text_width(font, line), 640) << line;
    text_font_destroy(font);
    text_system_shutdown();
}

TEST(Generator, MakesTheSameBytesOnEveryRun)
{
    const fs::path again =
        fs::temp_directory_path() / ("datagen-again-" + std::to_string(::getpid()));
    fs::create_directories(again);
    const std::string command =
        std::string("\"") + DATAGEN_PROGRAM + "\" \"" + again.string() + "\"";
    ASSERT_EQ(std::system(command.c_str()), 0);
    for (const datagen::DataFile& f : datagen::allDataFiles()) {
        const std::vector<std::uint8_t> built = readFile(fs::path(PLAY_DIR) / f.name);
        EXPECT_EQ(readFile(again / f.name), built) << f.name << " differs from the build's copy";
        EXPECT_EQ(f.bytes, built) << f.name << " differs when made in this process";
    }
    fs::remove_all(again);
}
