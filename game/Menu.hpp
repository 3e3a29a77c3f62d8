#pragma once

// The title menu. Returns 0 for NEW GAME, 1 and 2 for the two extra modes,
// 3 for QUIT or the back button.
int runMenu(bool firstUnlocked, bool secondUnlocked);
