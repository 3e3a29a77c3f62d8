#include "game/Menu.hpp"
#include "framework/Buttons.hpp"
#include "framework/Graphics.hpp"
#include "framework/tests/HeadlessScreen.hpp"
#include "game/TrollRun.hpp"
#include "ttf/Text.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Rgb = HeadlessScreen::Rgb;
using Keys = std::vector<int>;

constexpr const char* kTestFont = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
const Rgb kHighlight{200, 200, 255};
const Rgb kGrey{120, 120, 120};

// Runs the menu in a folder of its own, with a font and a 100 by 50 red logo
// unless a test takes them away.
class Menu : public ::testing::Test {
protected:
    void SetUp() override
    {
        text_system_startup();
        folder_ = fs::temp_directory_path() / ("menu-test-" + std::to_string(::getpid()));
        fs::create_directories(folder_);
        fs::copy_file(kTestFont, folder_ / "carbon.ttf", fs::copy_options::overwrite_existing);
        BITMAP* logo = create_bitmap(100, 50);
        clear_to_color(logo, makecol(255, 0, 0));
        save_bitmap((folder_ / "logo.bmp").c_str(), logo, nullptr);
        destroy_bitmap(logo);
        previous_ = fs::current_path();
        fs::current_path(folder_);
    }
    void TearDown() override
    {
        fs::current_path(previous_);
        fs::remove_all(folder_);
        text_system_shutdown();
    }

    // Each entry is the set of keys down at one frame end, then one frame
    // with every key up, so each entry is one press.
    int run(bool first, bool second, const std::vector<Keys>& presses)
    {
        HeadlessScreen::releaseAll();
        std::vector<FrameInput> frames;
        for (const Keys& keys : presses) {
            frames.push_back({keys});
            frames.push_back({});
        }
        screen_.script(frames, 200);
        return runMenu(first, second);
    }

    // The selection the presses lead to, read by confirming it.
    int selectionAfter(bool first, bool second, std::vector<Keys> presses)
    {
        presses.push_back({KEY_ENTER});
        return run(first, second, presses);
    }

    HeadlessScreen screen_;
    fs::path folder_;
    fs::path previous_;
};

const Keys kDown{KEY_DOWN};
const Keys kUp{KEY_UP};

// Whether some pixel of the label row at y (one 36-pixel line) has the colour.
bool rowHas(BITMAP* picture, int y, Rgb colour)
{
    for (int row = y; row < y + 36; ++row)
        for (int x = 160; x < 480; ++x)
            if (HeadlessScreen::pixel(picture, x, row) == colour)
                return true;
    return false;
}

} // namespace

TEST_F(Menu, DownAndUpSkipLockedEntries)
{
    // Both modes locked: NEW GAME and QUIT only.
    EXPECT_EQ(selectionAfter(false, false, {kDown}), 3);
    EXPECT_EQ(selectionAfter(false, false, {kDown, kUp}), 0);
    // Only the first mode open.
    EXPECT_EQ(selectionAfter(true, false, {kDown}), 1);
    EXPECT_EQ(selectionAfter(true, false, {kDown, kDown}), 3);
    EXPECT_EQ(selectionAfter(true, false, {kDown, kDown, kUp}), 1);
    // Only the second mode open.
    EXPECT_EQ(selectionAfter(false, true, {kDown}), 2);
    EXPECT_EQ(selectionAfter(false, true, {kDown, kUp}), 0);
    // Both open: every entry in turn.
    EXPECT_EQ(selectionAfter(true, true, {kDown}), 1);
    EXPECT_EQ(selectionAfter(true, true, {kDown, kDown}), 2);
    EXPECT_EQ(selectionAfter(true, true, {kDown, kDown, kDown, kUp}), 2);
}

TEST_F(Menu, MovesStopAtTheEnds)
{
    EXPECT_EQ(selectionAfter(true, true, {kUp}), 0);
    EXPECT_EQ(selectionAfter(true, true, {kDown, kDown, kDown, kDown}), 3);
    EXPECT_EQ(selectionAfter(false, false, {kDown, kDown}), 3);
}

TEST_F(Menu, DownIsTakenBeforeUpInOneFrame)
{
    // From QUIT, down stays and up skips both locked entries.
    EXPECT_EQ(selectionAfter(false, false, {kDown, {KEY_DOWN, KEY_UP}}), 0);
    EXPECT_EQ(selectionAfter(false, false, {{KEY_DOWN, KEY_UP}}), 0);
    EXPECT_EQ(selectionAfter(true, true, {{KEY_DOWN, KEY_UP}}), 0);
    EXPECT_EQ(selectionAfter(true, true, {kDown, kDown, {KEY_DOWN, KEY_UP}}), 2);
}

TEST_F(Menu, EveryKeyOfTheMoveButtonsWorks)
{
    EXPECT_EQ(selectionAfter(true, true, {{KEY_S}, {KEY_2_PAD}, {KEY_W}}), 1);
    EXPECT_EQ(selectionAfter(true, true, {{KEY_2_PAD}, {KEY_DOWN}, {KEY_8_PAD}}), 1);
}

TEST_F(Menu, ActionConfirmsTheEntryTheSameFrameMoveReached)
{
    EXPECT_EQ(run(true, false, {{KEY_DOWN, KEY_SPACE}}), 1);
    EXPECT_EQ(run(false, false, {{KEY_DOWN, KEY_LCONTROL}}), 3);
    EXPECT_EQ(run(false, false, {{KEY_ENTER}}), 0);
}

TEST_F(Menu, BackReturnsQuitWhateverIsLit)
{
    EXPECT_EQ(run(true, true, {kDown, {KEY_ESC}}), 3);
    EXPECT_EQ(run(true, true, {{KEY_ESC, KEY_ENTER}}), 3);
    EXPECT_EQ(run(false, false, {{KEY_ESC}}), 3);
}

TEST_F(Menu, HoldingAButtonMovesOnce)
{
    std::vector<FrameInput> frames(30, FrameInput{kDown});
    frames.push_back({});
    frames.push_back({{KEY_ENTER}});
    screen_.script(frames, 100);
    EXPECT_EQ(runMenu(true, true), 1);
}

TEST_F(Menu, ClosingPressIsNotAPressForTheNextScreen)
{
    // Enter is still down when the menu ends.
    screen_.script(std::vector<FrameInput>{{{KEY_ENTER}}, {{KEY_ENTER}}}, 10);
    EXPECT_EQ(runMenu(false, false), 0);
    EXPECT_TRUE(actionHeld());
    EXPECT_FALSE(actionPressed());
}

TEST_F(Menu, PressPendingFromTheScreenBeforeActsOnTheFirstFrame)
{
    HeadlessScreen::startWithKeys({KEY_DOWN});
    screen_.script(std::vector<FrameInput>{{}, {{KEY_ENTER}}}, 10);
    EXPECT_EQ(runMenu(true, true), 1);
}

TEST_F(Menu, OpensOnNewGameEveryTime)
{
    EXPECT_EQ(selectionAfter(true, true, {kDown, kDown}), 2);
    EXPECT_EQ(selectionAfter(true, true, {}), 0);
}

TEST_F(Menu, DrawsTheLogoAndLightsTheSelectedLabel)
{
    std::vector<BITMAP*> shown;
    screen_.script(
        [&](int frame, BITMAP* picture) {
            BITMAP* copy = create_bitmap(640, 480);
            blit(picture, copy, 0, 0, 0, 0, 640, 480);
            shown.push_back(copy);
            return frame == 0 ? FrameInput{kDown} : FrameInput{{KEY_ESC}};
        },
        10);
    runMenu(true, false);
    ASSERT_EQ(shown.size(), 2u);

    BITMAP* first = shown[0];
    EXPECT_EQ(HeadlessScreen::pixel(first, 270, 120), (Rgb{255, 0, 0}));
    EXPECT_EQ(HeadlessScreen::pixel(first, 369, 169), (Rgb{255, 0, 0}));
    EXPECT_EQ(HeadlessScreen::pixel(first, 269, 120), (Rgb{0, 0, 0}));
    EXPECT_EQ(HeadlessScreen::pixel(first, 370, 170), (Rgb{0, 0, 0}));

    const int rows[4] = {260, 300, 340, 380};
    for (int entry = 0; entry < 4; ++entry) {
        SCOPED_TRACE(entry);
        EXPECT_EQ(rowHas(first, rows[entry], kHighlight), entry == 0);
        EXPECT_EQ(rowHas(first, rows[entry], kGrey), entry != 0);
        EXPECT_EQ(rowHas(shown[1], rows[entry], kHighlight), entry == 1);
    }
    for (BITMAP* b : shown)
        destroy_bitmap(b);
}

TEST_F(Menu, LockedLabelsAreDrawnGrey)
{
    // Locked labels are drawn, grey and never lit, even with the cursor next to them.
    std::vector<bool> lockedRowsLit;
    screen_.script(
        [&](int, BITMAP* picture) {
            lockedRowsLit.push_back(rowHas(picture, 300, kGrey) && rowHas(picture, 340, kGrey));
            return FrameInput{{KEY_ESC}};
        },
        10);
    runMenu(false, false);
    EXPECT_EQ(lockedRowsLit, std::vector<bool>{true});
}

TEST_F(Menu, WorksWithoutLogo)
{
    fs::remove(folder_ / "logo.bmp");
    std::vector<bool> logoRowsBlack;
    screen_.script(
        [&](int frame, BITMAP* picture) {
            bool allBlack = true;
            for (int y = 120; y < 170; ++y)
                for (int x = 0; x < 640; ++x)
                    allBlack = allBlack && HeadlessScreen::pixel(picture, x, y) == Rgb{0, 0, 0};
            logoRowsBlack.push_back(allBlack);
            return frame == 0 ? FrameInput{kDown} : FrameInput{{KEY_ENTER}};
        },
        10);
    EXPECT_EQ(runMenu(true, true), 1);
    EXPECT_EQ(logoRowsBlack, (std::vector<bool>{true, true, true}));
}

// Started from a folder without the data files, the player is told where
// the font was looked for; in the right folder with a damaged font, that the
// font must be replaced. Either way the program leaves as after QUIT, with 1.
TEST_F(Menu, WithoutAGoodFontSaysWhatIsWrongAndLeavesWithExitCode1)
{
    const std::string folder = fs::current_path().string();
    const std::vector<std::string> missing = {
        "Cannot load the font carbon.ttf", "from the folder " + folder + ".",
        "Start GRIMBLEDOM from the folder that holds its data files."};
    const std::vector<std::string> damaged = {
        "The font carbon.ttf is damaged: the game cannot read it.",
        "It is in the folder " + folder + ".",
        "Put back a good copy of the file from the game's data files."};
    for (const char* damage : {"missing", "not a font", "empty", "a folder"}) {
        SCOPED_TRACE(damage);
        fs::remove_all(folder_ / "carbon.ttf");
        if (std::string(damage) == "not a font")
            std::ofstream("carbon.ttf") << "not a font";
        if (std::string(damage) == "empty")
            std::ofstream("carbon.ttf");
        if (std::string(damage) == "a folder")
            fs::create_directory("carbon.ttf");
        const std::vector<std::string>& says = std::string(damage) == "missing" ? missing : damaged;
        HeadlessScreen::startWithKeys({KEY_ENTER});
        screen_.script(std::vector<FrameInput>{}, 0); // no frame may be drawn
        testing::internal::CaptureStderr();
        testing::internal::CaptureStdout(); // the message box, without a display
        TrollRun unused;
        EXPECT_EQ(runMenuLoop(unused), 1);
        const std::string box = testing::internal::GetCapturedStdout();
        const std::string line = testing::internal::GetCapturedStderr();
        EXPECT_EQ(line, says[0] + " " + says[1] + " " + says[2] + "\n");
        EXPECT_EQ(box, says[0] + "\n" + says[1] + "\n" + says[2] + "\n");
        EXPECT_FALSE(actionPressed()); // the closing poll ran
    }
}

TEST_F(Menu, QuitEndsTheMenuLoopWithExitCode0)
{
    screen_.script(std::vector<FrameInput>{{kUp}, {}, {{KEY_ESC}}});
    TrollRun unused;
    EXPECT_EQ(runMenuLoop(unused), 0);
    EXPECT_EQ(screen_.framesShown(), 3);
}
