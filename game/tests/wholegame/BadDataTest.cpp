#include "BitmapCensus.hpp"
#include "GameWatch.hpp"
#include "ScriptedPlayer.hpp"
#include "WholeGame.hpp"
#include "framework/SaveFile.hpp"
#include "framework/tests/HeadlessScreen.hpp"
#include "game/TrollRun.hpp"
#include "ttf/Text.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <ostream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Every file the game reads.
const char* const kDataFiles[] = {
    "troll1.bmp",   "troll2.bmp",    "troll3.bmp",  "troll4.bmp", "peasant1.bmp", "peasant2.bmp",
    "peasant3.bmp", "hillbg.bmp",    "cloud.bmp",   "mgflag.bmp", "bar.bmp",      "barred.bmp",
    "bargreen.bmp", "fumboplat.bmp", "fumbo1.bmp",  "fumbo2.bmp", "grumoka.bmp",  "grumokb.bmp",
    "bridge.bmp",   "fireball.bmp",  "lava.bmp",    "fire.bmp",   "disk.bmp",     "arrow.bmp",
    "logo.bmp",     "carbon.ttf",    "motivati.xm", "smush.mp3",  "breath.mp3",   "sizzle.mp3",
    "click.mp3",    "save.dat",
};

enum class Damage { Missing, Empty, CutInHalf, RandomBytes, Folder };
const Damage kDamages[] = {Damage::Missing, Damage::Empty, Damage::CutInHalf, Damage::RandomBytes,
                           Damage::Folder};

const char* damageName(Damage damage)
{
    switch (damage) {
    case Damage::Missing:
        return "Missing";
    case Damage::Empty:
        return "Empty";
    case Damage::CutInHalf:
        return "CutInHalf";
    case Damage::RandomBytes:
        return "RandomBytes";
    case Damage::Folder:
        return "Folder";
    }
    return "?";
}

struct BadFile {
    std::string name;
    Damage damage;
};

// Names the case in test listings.
void PrintTo(const BadFile& bad, std::ostream* out)
{
    *out << bad.name << " " << damageName(bad.damage);
}

std::vector<BadFile> everyBadFile()
{
    std::vector<BadFile> cases;
    for (const char* name : kDataFiles)
        for (Damage damage : kDamages)
            cases.push_back({name, damage});
    return cases;
}

std::string caseName(const ::testing::TestParamInfo<BadFile>& info)
{
    std::string name = info.param.name;
    std::replace(name.begin(), name.end(), '.', '_');
    return name + "_" + damageName(info.param.damage);
}

std::optional<std::string> readFile(const char* name)
{
    std::ifstream in(name, std::ios::binary);
    if (!in || fs::is_directory(name))
        return std::nullopt;
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void writeFile(const std::string& name, const std::string& bytes)
{
    std::ofstream(name, std::ios::binary | std::ios::trunc) << bytes;
}

// The same bytes for the same file on every run.
std::string randomBytes(const std::string& seedText, std::size_t size)
{
    std::seed_seq seed(seedText.begin(), seedText.end());
    std::mt19937 generator(seed);
    std::string bytes(size, '\0');
    for (char& byte : bytes)
        byte = static_cast<char>(generator() & 0xFF);
    return bytes;
}

void damage(const BadFile& bad)
{
    const std::string bytes = readFile(bad.name.c_str()).value_or("");
    switch (bad.damage) {
    case Damage::Missing:
        fs::remove(bad.name);
        break;
    case Damage::Empty:
        writeFile(bad.name, "");
        break;
    case Damage::CutInHalf:
        writeFile(bad.name, bytes.substr(0, bytes.size() / 2));
        break;
    case Damage::RandomBytes:
        writeFile(bad.name, randomBytes(bad.name, bytes.size()));
        break;
    case Damage::Folder:
        fs::remove(bad.name);
        fs::create_directory(bad.name);
        break;
    }
}

bool fontLoads()
{
    text_system_startup();
    TextFont* font = text_font_load("carbon.ttf");
    const bool loads = font != nullptr;
    text_font_destroy(font);
    text_system_shutdown();
    return loads;
}

std::string describe(const std::vector<Screen>& screens)
{
    std::string text;
    for (Screen screen : screens)
        text += std::string(text.empty() ? "" : ", ") + screenName(screen);
    return text;
}

bool saw(const std::vector<Screen>& screens, Screen screen)
{
    return std::find(screens.begin(), screens.end(), screen) != screens.end();
}

class BadData : public ::testing::TestWithParam<BadFile> {
protected:
    void SetUp() override { setUnlocks(false, false); }
    void TearDown() override { setUnlocks(false, false); }
};

} // namespace

// The whole game, from its start-up to QUIT, with one data file damaged:
// every screen that reads the file is played, and the game comes back.
TEST_P(BadData, GamePlaysThroughEveryScreen)
{
    const BadFile& bad = GetParam();
    WholeGameFolder folder("bad-data-test");
    damage(bad);
    const std::optional<std::string> saveBefore = readFile("save.dat");
    const bool withFont = fontLoads();

    HeadlessScreen screen;
    TrollRun run;
    ScriptedPlayer player(run);
    std::srand(1);
    screen.script([&](int, BITMAP*) { return player.step(); }, 5000);
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    int exitCode = -1;
    try {
        exitCode = runProgram(run);
    } catch (const FrameLimitReached&) {
        ADD_FAILURE() << "the game did not come back to the menu";
    }
    const std::string out = testing::internal::GetCapturedStdout();
    const std::string err = testing::internal::GetCapturedStderr();

    if (!withFont) {
        // Without its font the menu says whether it is missing or damaged,
        // and the program ends at once.
        const std::string says = bad.damage == Damage::Missing
                                     ? "Cannot load the font carbon.ttf"
                                     : "The font carbon.ttf is damaged: the game cannot read it.";
        EXPECT_EQ(exitCode, 1);
        EXPECT_NE(err.find(says), std::string::npos) << err;
        EXPECT_NE(out.find(says), std::string::npos) << out;
        EXPECT_EQ(screen.framesShown(), 0);
    } else {
        SCOPED_TRACE("screens seen: " + describe(player.screensSeen()));
        EXPECT_EQ(exitCode, 0) << err;
        EXPECT_TRUE(player.surprises().empty()) << player.surprises().front();
        const std::vector<Screen>& seen = player.screensSeen();
        for (Screen expected :
             {Screen::Menu, Screen::Instructions, Screen::Play, Screen::IntroBanner,
              Screen::MinigameTitle, Screen::FirePlay, Screen::DiskPlay, Screen::OutcomeBanner,
              Screen::GameOver, Screen::Results, Screen::Card})
            EXPECT_TRUE(saw(seen, expected)) << screenName(expected);
        EXPECT_EQ(player.menuVisits(), 3);
        EXPECT_EQ(player.handOffs(), 2);
        EXPECT_GT(run.hits, 0);
        EXPECT_GE(run.whiffs, 1);
        EXPECT_GE(run.passed, 1);
        EXPECT_EQ(run.score, ScriptedPlayer::kLeavingScore);
        // The fire minigame is won when its target and shot can be seen to
        // meet; the disk minigame of the run is lost on purpose.
        const bool targetCanBeHit = bad.name != "fumbo1.bmp" && bad.name != "fireball.bmp";
        ASSERT_EQ(player.handOffPoints().size(), 2u);
        if (targetCanBeHit) {
            EXPECT_EQ(player.handOffPoints()[0], 500);
        }
        EXPECT_EQ(player.handOffPoints()[1], 0);
        EXPECT_EQ(player.seriesFirePlays(), 1);
        EXPECT_EQ(player.seriesDiskPlays(), 2);
    }

    // The run with 21000 wrote the save file where it could.
    const std::optional<std::string> saveAfter = readFile("save.dat");
    if (bad.name == "save.dat" && bad.damage == Damage::Folder)
        EXPECT_TRUE(fs::is_directory("save.dat"));
    else if (withFont)
        EXPECT_EQ(saveAfter, "1 1");
    else
        EXPECT_EQ(saveAfter, saveBefore);
    // No temporary file of a save is left beside it.
    for (const fs::directory_entry& entry : fs::directory_iterator("."))
        EXPECT_NE(entry.path().filename().string().rfind("save.dat.", 0), 0u) << entry.path();

    const GameWatch watch(run);
    const std::vector<std::string> leftovers = watch.leftoversAtRest();
    EXPECT_TRUE(leftovers.empty()) << leftovers.front();
    EXPECT_EQ(census::strayDestroys(), 0u);
}

INSTANTIATE_TEST_SUITE_P(EachFileEachDamage, BadData, ::testing::ValuesIn(everyBadFile()),
                         caseName);

// The list above is every data file the build puts beside the program.
TEST(BadDataFiles, CoverEveryFileOfThePlayFolder)
{
    std::vector<std::string> listed(std::begin(kDataFiles), std::end(kDataFiles));
    for (const fs::directory_entry& entry : fs::directory_iterator(GRIMBLEDOM_PLAY_DIR)) {
        const std::string ext = entry.path().extension().string();
        if (ext == ".bmp" || ext == ".mp3" || ext == ".ttf" || ext == ".xm") {
            EXPECT_NE(std::find(listed.begin(), listed.end(), entry.path().filename().string()),
                      listed.end())
                << entry.path().filename();
        }
    }
}
