#pragma once

// A player that goes through every screen of the game once, steered by what
// the game holds (see GameWatch), so that it finds its way also when a
// picture, a sound, the music, the font or the save file is damaged:
//   menu: NEW GAME; instructions; a run with a swing at nobody, a peasant
//   let past and hits, the fire minigame at the first flag (won when its
//   pictures allow) and the disk minigame at the second (lost), with both
//   banners; then the back button with a score of 21000, game over and
//   results;
//   menu: FUMBO ATTACK, one stage left with the back button, its closing
//   card closed with action;
//   menu: SPIN ATTACK, stage 1 won, stage 2 lost, the closing card closed
//   with back;
//   menu: QUIT.

#include "GameWatch.hpp"
#include "framework/tests/HeadlessScreen.hpp"

#include <vector>

class TrollRun;

class ScriptedPlayer {
public:
    explicit ScriptedPlayer(TrollRun& run);

    // The keys and time of the frame that has just been drawn.
    FrameInput step();

    // What the game showed, each screen once per stretch of frames.
    const std::vector<Screen>& screensSeen() const { return seen_; }
    int menuVisits() const { return menuVisits_; }
    int handOffs() const { return handOffs_; }
    // The run's score gained over each minigame of the run.
    const std::vector<int>& handOffPoints() const { return handOffPoints_; }
    int seriesFirePlays() const { return seriesFirePlays_; }
    int seriesDiskPlays() const { return seriesDiskPlays_; }
    // Anything the player did not expect; empty when all went to plan.
    const std::vector<std::string>& surprises() const { return surprises_; }

    static constexpr int kLeavingScore = 21000;

private:
    void enter(Screen screen);
    FrameInput act(Screen screen);
    FrameInput menu();
    FrameInput play();
    FrameInput aimFire();
    FrameInput stopDisk(int level, int targetAngle);
    FrameInput tap(int key, unsigned ms) const;
    bool held(int key) const;

    TrollRun& run_;
    GameWatch watch_;
    unsigned fireSeed_;
    unsigned diskSeed_;
    std::vector<Screen> seen_;
    std::vector<int> lastKeys_;
    std::vector<std::string> surprises_;
    int framesOnScreen_ = 0;
    int menuVisits_ = 0;
    int handOffs_ = 0;
    int scoreBeforeHandOff_ = 0;
    std::vector<int> handOffPoints_;
    int seriesFirePlays_ = 0;
    int seriesDiskPlays_ = 0;
    bool whiffed_ = false;
    int sparedPeasant_ = -1;
    bool leaving_ = false;
    int shotsFired_ = 0;
    int framesSinceShot_ = 0;
};
