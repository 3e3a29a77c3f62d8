#pragma once

// What the whole-game tests share: the program's own start-up and shut-down
// around its menu loop, and a folder with every data file the program reads.

#include "game/tests/GameDataFolder.hpp"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

class TrollRun;

// A copy of the play folder's data files, the music included, with a save
// file that has both extra modes unlocked.
class WholeGameFolder {
public:
    explicit WholeGameFolder(const std::string& name) : folder_(name)
    {
        std::filesystem::copy_file(std::filesystem::path(GRIMBLEDOM_PLAY_DIR) / "motivati.xm",
                                   "motivati.xm",
                                   std::filesystem::copy_options::overwrite_existing);
        std::ofstream("save.dat", std::ios::binary) << "1 1";
    }

private:
    GameDataFolder folder_;
};

// The program as main runs it, but for the display: the test's headless
// screen stands in for the window and its back buffer, and the script gives
// the frames' times and keys, so no timer or keyboard is installed. Returns
// the program's exit code.
int runProgram(TrollRun& run);

// A seed for srand after which the main run's next minigame is the fire
// minigame (kind 0) or the disk minigame (kind 1).
unsigned seedForMinigame(int kind);
