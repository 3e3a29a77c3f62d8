#include "framework/LibraryStart.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <unistd.h>

namespace {

using Bytes = std::string;

Bytes randomBytes(std::size_t size, unsigned seed)
{
    std::mt19937 random(seed);
    Bytes bytes(size, '\0');
    for (char& byte : bytes)
        byte = static_cast<char>(random());
    return bytes;
}

// One character the library's reader decodes to a value it never finishes
// measuring.
const Bytes kEndlessCharacter = "\xfd\xbe\x86\x99\xb1\xb6";

class LibraryStart : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* folder : {"/program", "/allegro", "/home"})
            std::filesystem::create_directories(root_ + folder);
    }
    void TearDown() override { std::filesystem::remove_all(root_); }

    std::string write(const std::string& name, const Bytes& bytes)
    {
        const std::string path = root_ + "/" + name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    std::string find(const char* allegro, const char* home)
    {
        return libraryConfigFile(root_ + "/program/", allegro, home);
    }

    const std::string root_ = ::testing::TempDir() + "librarystart-" + std::to_string(getpid());
};

} // namespace

TEST_F(LibraryStart, RefusesSettingsTheLibraryWouldNeverFinishReading)
{
    // Plain text just before the character keeps it whole, whatever comes
    // before.
    const Bytes endlessLine = "\n# ab\n\n" + kEndlessCharacter;
    Bytes fourKiB = randomBytes(4096, 1);
    fourKiB.replace(2000, endlessLine.size(), endlessLine);
    EXPECT_FALSE(isReadableLibraryConfig(write("six", kEndlessCharacter).c_str()));
    EXPECT_FALSE(isReadableLibraryConfig(write("4k", fourKiB).c_str()));
    EXPECT_FALSE(isReadableLibraryConfig(write("10m", randomBytes(10 << 20, 2)).c_str()));
    // Past the first chunk read, and the last byte of the file.
    EXPECT_FALSE(isReadableLibraryConfig(write("late", Bytes(70000, 'a') + "\xff").c_str()));
}

TEST_F(LibraryStart, LetsTextSettingsThrough)
{
    const Bytes settings = "# Einstellungen f\xc3\xbcr das Spiel\r\n[system]\nlanguage = de\n"
                           "[sound]\ndigi_volume = 200\n";
    EXPECT_TRUE(isReadableLibraryConfig(write("utf8", settings).c_str()));
    // Latin-1 letters up to 0xfc the reader takes as broken characters, and
    // goes on.
    EXPECT_TRUE(isReadableLibraryConfig(write("latin1", "# Gr\xfc\xdf"
                                                        "e \xe9t\xe9\n")
                                            .c_str()));
    EXPECT_TRUE(isReadableLibraryConfig(write("empty", "").c_str()));
    EXPECT_TRUE(isReadableLibraryConfig((root_ + "/missing").c_str()));
}

TEST_F(LibraryStart, FindsTheSettingsFileWhereTheLibraryLooks)
{
    const std::string home = root_ + "/home";
    const std::string allegro = root_ + "/allegro";
    const std::string none = find(nullptr, nullptr);
    if (!none.empty())
        GTEST_SKIP() << "this machine has its own " << none;

    EXPECT_EQ(find(allegro.c_str(), home.c_str()), "");
    const std::string rc = write("home/.allegrorc", "");
    EXPECT_EQ(find(allegro.c_str(), home.c_str()), rc);
    const std::string homeFile = write("home/allegro.cfg", "");
    EXPECT_EQ(find(allegro.c_str(), home.c_str()), homeFile);
    EXPECT_EQ(find(allegro.c_str(), nullptr), "");
    const std::string allegroFile = write("allegro/allegro.cfg", "");
    EXPECT_EQ(find(allegro.c_str(), home.c_str()), allegroFile);
    std::filesystem::create_directory(root_ + "/program/allegro.cfg");
    EXPECT_EQ(find(allegro.c_str(), home.c_str()), allegroFile) << "a folder is passed over";
    std::filesystem::remove(root_ + "/program/allegro.cfg");
    const std::string beside = write("program/allegro.cfg", "");
    EXPECT_EQ(find(allegro.c_str(), home.c_str()), beside);
}

TEST(LibraryStartFailure, SaysNoDisplayOnlyWhenThereIsNone)
{
    EXPECT_EQ(libraryStartFailure("", false),
              "grimbledom: could not start the graphics library: no display to open a window on");
    EXPECT_EQ(libraryStartFailure("", true), "grimbledom: could not start the graphics library");
    EXPECT_EQ(libraryStartFailure("Not enough memory", true),
              "grimbledom: could not start the graphics library: Not enough memory");

    const char* display = std::getenv("DISPLAY");
    const std::string saved = display ? display : "";
    unsetenv("DISPLAY");
    EXPECT_FALSE(displayReachable());
    setenv("DISPLAY", "", 1);
    EXPECT_FALSE(displayReachable());
    if (display)
        setenv("DISPLAY", saved.c_str(), 1);
    else
        unsetenv("DISPLAY");
}
