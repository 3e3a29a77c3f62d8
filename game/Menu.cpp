#include "Menu.hpp"

#include "AttackMode.hpp"
#include "TrollRun.hpp"
#include "framework/Buttons.hpp"
#include "framework/Graphics.hpp"
#include "framework/Image.hpp"
#include "framework/SaveFile.hpp"
#include "ttf/Text.hpp"

#include <allegro.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace {

constexpr int kNewGame = 0;
constexpr int kFirstMode = 1;
constexpr int kSecondMode = 2;
constexpr int kQuit = 3;

constexpr int kCentreX = 320;
constexpr int kLogoY = 120;
constexpr int kFirstLabelY = 260;
constexpr int kLabelSpacing = 40;
constexpr int kFontHeight = 36;
constexpr const char* kFontFile = "carbon.ttf";

struct MenuState {
    bool firstUnlocked;
    bool secondUnlocked;
    int selection = kNewGame;
    bool chosen = false;
};

// Moves skip the locked entries; NEW GAME and QUIT are always open, so the
// selection always rests on an entry that can be chosen.
void moveDown(MenuState& menu)
{
    if (++menu.selection > kQuit)
        menu.selection = kQuit;
    if (menu.selection == kFirstMode && !menu.firstUnlocked)
        menu.selection = kSecondMode;
    if (menu.selection == kSecondMode && !menu.secondUnlocked)
        menu.selection = kQuit;
}

void moveUp(MenuState& menu)
{
    if (--menu.selection < kNewGame)
        menu.selection = kNewGame;
    if (menu.selection == kSecondMode && !menu.secondUnlocked)
        menu.selection = kFirstMode;
    if (menu.selection == kFirstMode && !menu.firstUnlocked)
        menu.selection = kNewGame;
}

void drawLabels(TextFont* font, const char* const labels[4], int selection)
{
    const int highlight = makecol(200, 200, 255);
    const int grey = makecol(120, 120, 120);
    for (int entry = kNewGame; entry <= kQuit; ++entry) {
        draw_text_smooth_centred(backBuffer, font, labels[entry], kCentreX,
                                 kFirstLabelY + entry * kLabelSpacing,
                                 entry == selection ? highlight : grey);
    }
}

// Every data file is read from the folder the game was started in, so a
// missing font nearly always means the wrong folder: say which one. The box
// takes the sentences on lines of their own, to stay narrower than the screen.
void reportMissingFont()
{
    std::error_code error;
    const std::string folder = std::filesystem::current_path(error).string();
    const std::string where =
        "from the folder " + (error ? "the game was started in" : folder) + ".";
    const std::string what = std::string("Cannot load the font ") + kFontFile;
    const char* remedy = "Start GRIMBLEDOM from the folder that holds its data files.";
    std::fprintf(stderr, "%s %s %s\n", what.c_str(), where.c_str(), remedy);
    allegro_message("%s\n%s\n%s\n", what.c_str(), where.c_str(), remedy);
}

} // namespace

int runMenu(bool firstUnlocked, bool secondUnlocked)
{
    const char* const labels[4] = {
        "NEW GAME",
        firstUnlocked ? "FUMBO ATTACK" : "????? ??????",
        secondUnlocked ? "SPIN ATTACK" : "???? ??????",
        "QUIT",
    };
    Image logo;
    logo.load("logo.bmp");
    TextFont* font = text_font_load(kFontFile);
    if (!font) {
        logo.destroy();
        reportMissingFont();
        pollGameKeys();
        return kMenuNoFont;
    }
    text_font_set_height(font, kFontHeight);

    MenuState menu{firstUnlocked, secondUnlocked};
    while (!backPressed() && !menu.chosen) {
        clearScreen(0, 0, 0);
        logo.draw(kCentreX - logo.width() / 2, kLogoY);
        if (downPressed())
            moveDown(menu);
        if (upPressed())
            moveUp(menu);
        if (actionPressed())
            menu.chosen = true; // this frame is still shown with the choice lit
        drawLabels(font, labels, menu.selection);
        flipScreen();
    }

    logo.destroy();
    text_font_destroy(font);
    pollGameKeys();
    return menu.chosen ? menu.selection : kQuit;
}

int runMenuLoop(TrollRun& trollRun)
{
    for (;;) {
        // Read anew each time: a run may just have unlocked a mode.
        const int choice = runMenu(fumboAttackUnlocked(), spinAttackUnlocked());
        if (choice == kNewGame)
            trollRun.run();
        else if (choice == kFirstMode)
            runAttackMode(0);
        else if (choice == kSecondMode)
            runAttackMode(1);
        else if (choice > kSecondMode)
            return choice == kMenuNoFont ? 1 : 0;
    }
}
