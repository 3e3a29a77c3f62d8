#pragma once

// The two unlock flags and the save file that keeps them between starts.
// The file is three bytes of text: the first flag as 0 or 1, a blank, the
// second flag as 0 or 1.

extern bool fumboAttackUnlock; // the fire minigame series
extern bool spinAttackUnlock;  // the disk minigame series

// Reads both flags from the named file. A missing file locks both; a value
// that is not 0 or 1 locks its mode and every mode after it.
void loadProgress(const char* fileName);

// Writes both flags to the named file. The bytes go to a temporary file of
// this write's own beside it that then replaces it, so the file holds the old
// flags or one writer's new ones, never a cut file, however many games save
// at once. Failures are silent.
void saveProgress(const char* fileName);

void setUnlocks(bool first, bool second);
bool fumboAttackUnlocked();
bool spinAttackUnlocked();
