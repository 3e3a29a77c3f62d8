#pragma once

class TrollRun;

// The title menu. Returns 0 for NEW GAME, 1 and 2 for the two extra modes,
// 3 for QUIT or the back button, and kMenuNoFont when the font cannot be
// loaded: the player has then been told where it was looked for.
int runMenu(bool firstUnlocked, bool secondUnlocked);
constexpr int kMenuNoFont = 4;

// Runs the menu and what it chooses until the player leaves it. Returns the
// program's exit code: 0 after QUIT or back, 1 when the menu had no font.
int runMenuLoop(TrollRun& trollRun);
