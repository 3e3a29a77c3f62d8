#include "TrollRun.hpp"

#include "DiskGame.hpp"
#include "FireGame.hpp"
#include "TrollRunStrip.hpp"
#include "framework/Buttons.hpp"
#include "framework/Graphics.hpp"
#include "framework/SaveFile.hpp"
#include "ttf/Text.hpp"

#include <allegro.h>

#include <cstdlib>

namespace {

constexpr const char* kFontFile = "carbon.ttf";
constexpr const char* kSaveFile = "save.dat";
constexpr int kSmallFontHeight = 24;
constexpr int kBigFontHeight = 36;

constexpr int kUnlockScore1 = 15000;
constexpr int kUnlockScore2 = 21000;
constexpr int kFirstMinigameX = 1920;
constexpr int kMinigameSpacing = 2560;
// The troll's reach into the world: a minigame starts when the view plus
// this passes the next flag's position.
constexpr int kMinigameLookAhead = 280;
constexpr double kSpeedUp = 50.0;
constexpr double kTopSpeed = 550.0;
constexpr int kWinPoints = 500;
constexpr int kWinEnergy = 10;
constexpr int kLossEnergy = 40;

constexpr int kStripHeight = 36;
constexpr int kCentreX = 320;

struct InstructionLine {
    int y;
    const char* text;
};

constexpr InstructionLine kInstructions[] = {
    {10, "THIS IS GRIMBLEDOM!"},
    {120, "SMASH AS MANY PEASANTS AS YOU CAN!"},
    {160, "USE SPACEBAR, CTRL, SHIFT, OR ENTER."},
    {200, "DON'T MISS AND DON'T LET ANY PEASANTS PASS YOU!"},
    {240, "YOU WILL ALSO RUN INTO MINIGAMES!"},
    {420, "HOW FAR WILL YOU GET?"},
};

TextFont* openFont(int height)
{
    TextFont* font = text_font_load(kFontFile);
    text_font_set_height(font, height);
    return font;
}

template <typename Game>
bool playOnce(Game& game, int level)
{
    game.load();
    const bool won = game.play(level);
    game.unload();
    return won;
}

} // namespace

void TrollRun::loadAssets()
{
    hillImage.load("hillbg.bmp");
    cloudImage.load("cloud.bmp");
    peasantImage1.load("peasant1.bmp");
    peasantImage2.load("peasant2.bmp");
    peasantImage3.load("peasant3.bmp");
    barImage.load("bar.bmp");
    barRedImage.load("barred.bmp");
    barGreenImage.load("bargreen.bmp");
    flagImage.load("mgflag.bmp");
    comboFont = openFont(kSmallFontHeight);
    hudFont = openFont(kSmallFontHeight);
    bigFont = openFont(kBigFontHeight);
}

void TrollRun::unloadAssets()
{
    for (Image* image : {&hillImage, &cloudImage, &peasantImage1, &peasantImage2, &peasantImage3,
                         &barImage, &barRedImage, &barGreenImage})
        image->destroy();
    if (ground)
        destroy_bitmap(ground);
    if (sky)
        destroy_bitmap(sky);
    if (backdrop)
        destroy_bitmap(backdrop);
    ground = sky = backdrop = nullptr;
    flagImage.destroy();
    for (TextFont** font : {&comboFont, &bigFont, &hudFont}) {
        text_font_destroy(*font);
        *font = nullptr;
    }
    popup.freeFont();
}

void TrollRun::showInstructions()
{
    TextStrip strip(kStripHeight, makecol(0, 0, 0));
    while (!actionPressed()) {
        clearScreen(0, 0, 0);
        for (const InstructionLine& line : kInstructions) {
            strip.clear(makecol(0, 0, 0));
            draw_textf_sharp_centred_bg(strip.bitmap(), bigFont, kCentreX, 0,
                                        makecol(255, 255, 255), makecol(0, 0, 0), "%s", line.text);
            // White on black holds no magenta: the opaque blend is a copy.
            strip.copyWhole(0, line.y);
        }
        flipScreen();
    }
}

void TrollRun::run()
{
    FireGame fireGame;
    DiskGame diskGame;
    loadAssets();
    unlockScore1 = kUnlockScore1;
    unlockScore2 = kUnlockScore2;
    active = true;
    showInstructions();
    pollGameKeys(); // the press that closed the instructions is no swing
    setUpWorld();
    playLoop(fireGame, diskGame);
    endRun();
}

void TrollRun::setUpWorld()
{
    reset();
    buildSky(192, 229, 229, 180, 205, 222);
    composeBackdrop(); // the hills came with loadAssets
    buildGround();
    smashSound.load("smush.mp3");
    smashSound.setOverlap(false);
    popup.loadFont();
    troll.load();
    nextMinigameX = kFirstMinigameX;
    spawnPeasants();
    score = 0;
}

void TrollRun::playLoop(FireGame& fireGame, DiskGame& diskGame)
{
    int level = 1;
    while (!backReleased() && energy > 0) {
        drawScenery();
        if (actionPressed()) {
            troll.startSmash();
            smash();
        }
        if (actionReleased())
            troll.endSmash();
        drawFlags();
        updatePeasants();
        drawTroll();
        if (scrollX() + kMinigameLookAhead >= nextMinigameX)
            handOffToMinigame(fireGame, diskGame, level);
        drawEffectsAndHud();
        flipScreen();
    }
    active = false;
}

void TrollRun::handOffToMinigame(FireGame& fireGame, DiskGame& diskGame, int& level)
{
    pause();
    troll.endSmash();
    minigameIntro();
    const bool won = std::rand() % 2 == 0 ? playOnce(fireGame, level) : playOnce(diskGame, level);
    double speed = scroll.speed() + kSpeedUp;
    if (speed > kTopSpeed)
        speed = kTopSpeed;
    scroll.setSpeed(speed);
    pollGameKeys(); // a release that ended the minigame must not end the run
    if (won) {
        score += kWinPoints;
        energy += kWinEnergy;
    } else {
        energy -= kLossEnergy;
    }
    level += 1;
    minigameOutcome(won);
    nextMinigameX += kMinigameSpacing;
    if (energy > 0)
        resume();
}

void TrollRun::endRun()
{
    gameOver();
    showResults();
    pollGameKeys();
    unloadAssets();
    storeUnlocks();
}

void TrollRun::storeUnlocks()
{
    if (score >= unlockScore1) {
        setUnlocks(true, spinAttackUnlocked());
        saveProgress(kSaveFile);
    }
    if (score >= unlockScore2) {
        setUnlocks(true, true);
        saveProgress(kSaveFile);
    }
}
