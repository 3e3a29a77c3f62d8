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

// The folder the game was started in, as a player can look it up.
std::string startFolder()
{
    std::error_code error;
    const std::string folder = std::filesystem::current_path(error).string();
    return "the folder " + (error ? "the game was started in" : folder);
}

// The box takes the sentences on lines of their own, to stay narrower than
// the screen; stderr has them on one line.
void tellPlayer(const std::string& first, const std::string& second, const std::string& third)
{
    std::fprintf(stderr, "%s %s %s\n", first.c_str(), second.c_str(), third.c_str());
    allegro_message("%s\n%s\n%s\n", first.c_str(), second.c_str(), third.c_str());
}

// Every data file is read from the folder the game was started in, so a
// missing font nearly always means the wrong folder: say which one.
void reportMissingFont()
{
    tellPlayer(std::string("Cannot load the font ") + kFontFile, "from " + startFolder() + ".",
               "Start GRIMBLEDOM from the folder that holds its data files.");
}

// Something stands at the font's name, so the folder is right and starting
// elsewhere would not help: the file itself has to be replaced.
void reportDamagedFont()
{
    tellPlayer(std::string("The font ") + kFontFile + " is damaged: the game cannot read it.",
               "It is in " + startFolder() + ".",
               "Put back a good copy of the file from the game's data files.");
}

// A folder or a link at the font's name counts as there, as a damaged file.
void reportUnloadableFont()
{
    std::error_code error;
    if (std::filesystem::exists(std::filesystem::symlink_status(kFontFile, error)))
        reportDamagedFont();
    else
        reportMissingFont();
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
        reportUnloadableFont();
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
