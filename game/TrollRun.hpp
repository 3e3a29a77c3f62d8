#pragma once

#include "BloodList.hpp"
#include "Peasant.hpp"
#include "Popup.hpp"
#include "Troll.hpp"
#include "framework/Counter.hpp"
#include "framework/Image.hpp"
#include "framework/Sound.hpp"

#include <cstdint>

struct BITMAP;
struct TextFont;
class FireGame;
class DiskGame;

// The main run: one object for the whole program, reused by every run the
// player starts from the title menu. Its constructor calls no library, so it
// may be made before the graphics library starts.
class TrollRun {
public:
    // The run is drawn for the game's one screen size; the library's own
    // figures are 0 until a graphics mode is set.
    static constexpr int kScreenWidth = 640;
    static constexpr int kScreenHeight = 480;
    static constexpr int kPeasantCount = 10;
    static constexpr int kCloudCount = 4;
    // Where the troll and its pop-up word stand on the screen.
    static constexpr int kTrollScreenX = 220;
    // The troll stands on the ground under this column of its picture.
    static constexpr int kTrollFootOffset = 55;
    static constexpr int kTrollHeight = 76;
    static constexpr int kPopupX = 330;
    static constexpr int kPopupAboveGround = 70;

    TrollRun() = default;
    TrollRun(const TrollRun&) = delete;
    TrollRun& operator=(const TrollRun&) = delete;

    // Plays one whole run, from the instructions to the unlocks.
    void run();

    // --- world (TrollRunWorld.cpp) ---
    // Sets the moving values of a new run: view, clouds, counts, strength.
    void reset();
    // The sky: a vertical gradient from the first colour towards the second.
    void buildSky(int r1, int g1, int b1, int r2, int g2, int b2);
    // The backdrop drawLandscape copies from, made from the sky and the hill
    // picture as they stand: call it once both exist, and again after either
    // changes. Without either there is no backdrop.
    void composeBackdrop();
    // Whether drawLandscape copies from a backdrop rather than drawing anew.
    bool hasBackdrop() const { return backdrop != nullptr; }
    void drawSky();
    // One 1280-pixel period of the rolling ground.
    void buildGround();
    void drawHills();
    void drawGround();
    // What drawSky, drawHills and drawGround draw, in a fraction of the time.
    void drawLandscape();
    void updateClouds();
    void drawFlags();
    int randomCloudY();
    // Screen y of the ground's top at world x: 460 in valleys, 340 on tops.
    int groundHeight(int x);
    // The ground's slope at world x, in the library's angle units.
    double groundTilt(int x);
    void launchPeasant(int index, int x, double speed);
    void spawnPeasants();

    // --- rules (TrollRunRules.cpp) ---
    // Pass rule, drawing and relaunching of the ten peasants.
    void updatePeasants();
    // Scores one swing against every peasant in reach.
    void smash();
    void pause();
    void resume();

    // --- head-up display (TrollRunHud.cpp) ---
    void drawCombo();
    void drawEnergy();
    void drawScore();

    // --- run driver (TrollRunDriver.cpp) ---
    void loadAssets();
    // Frees what loadAssets and the run's set-up made; safe to call twice.
    void unloadAssets();
    void showInstructions();

    // --- screens around the play loop ---
    void minigameIntro();           // BannerScreens.cpp
    void minigameOutcome(bool won); // BannerScreens.cpp
    void gameOver();                // GameOver.cpp
    void showResults();             // Results.cpp

    BITMAP* ground = nullptr;
    BITMAP* sky = nullptr;
    Image hillImage;
    Image cloudImage;
    Image peasantImage1;
    Image peasantImage2;
    Image peasantImage3;
    Image barImage;
    Image barRedImage;
    Image barGreenImage;
    Image flagImage;
    Sound smashSound;
    TextFont* comboFont = nullptr;
    TextFont* bigFont = nullptr;
    TextFont* hudFont = nullptr;
    Peasant peasants[kPeasantCount];
    BloodList blood;
    Popup popup;
    Troll troll;
    bool active = false;
    Counter scroll;
    std::int32_t cloudY[kCloudCount] = {};
    Counter flash;
    std::int32_t combo = 0;
    std::int32_t passed = 0;
    std::int32_t hits = 0;
    std::int32_t whiffs = 0;
    std::int32_t energy = 0;
    std::int32_t nextMinigameX = 0;
    std::int32_t score = 0;
    std::int32_t unlockScore1 = 0;
    std::int32_t unlockScore2 = 0;
    Counter cloudX[kCloudCount];

private:
    // The sky with the hill tiles over it; null until composeBackdrop has
    // both. Freed with the sky.
    BITMAP* backdrop = nullptr;
    int hillsStartX() const;
    void mergeGround(BITMAP* under, int underX, int y, int rows);

    // The world as every screen of the run shows it, in drawing order.
    void drawScenery();
    void drawTroll();
    void drawEffectsAndHud();
    void drawWorldFrame();
    // The whole part of scroll, negative while the troll walks in.
    int scrollX() const { return scroll.intValue(); }
    // The world x shown at the left screen edge: scroll, but never below 0.
    int leftEdgeX() const;

    void setUpWorld();
    void playLoop(FireGame& fireGame, DiskGame& diskGame);
    void handOffToMinigame(FireGame& fireGame, DiskGame& diskGame, int& level);
    void endRun();
    void storeUnlocks();
};
