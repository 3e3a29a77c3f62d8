#pragma once

// The keyboard folded into four virtual buttons. Each keeps its state at the
// last two polls, so a press or a release is seen for exactly one frame:
//   action  Space, Enter, left or right Shift, left or right Ctrl
//   back    Esc
//   up      Up arrow, W, keypad 8
//   down    Down arrow, S, keypad 2
// No other key means anything to the game (keypad Enter is not action).

struct VirtualButton {
    bool previous = false;
    bool current = false;
};

extern VirtualButton actionButton;
extern VirtualButton backButton;
extern VirtualButton upButton;
extern VirtualButton downButton;

// Installs the keyboard, clears the buttons and polls them once.
void startInput();
void stopInput();

// Samples the keyboard: every button's current state becomes its previous
// one and the keys decide the new current state.
void pollGameKeys();
void clearKeys();

bool actionPressed();
bool backPressed();
bool upPressed();
bool downPressed();

bool actionReleased();
bool backReleased();
bool upReleased();
bool downReleased();

bool actionHeld();
bool backHeld();
bool upHeld();
bool downHeld();
