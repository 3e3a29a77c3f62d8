#pragma once

#include "Minigame.hpp"

#include "framework/Counter.hpp"
#include "framework/Image.hpp"
#include "framework/Sound.hpp"

// "STOP THE DISK!!!": one press of the action button stops a turning disk,
// and wins when the disk stands close to its resting position. Use it as
// load, play, unload for every play; one object serves any number of plays.
class DiskGame : public Minigame {
public:
    DiskGame() = default;
    ~DiskGame() = default;

    // Opens the font, the disk and arrow pictures and the click sample.
    void load();
    // Frees everything that load opened; safe to call twice.
    void unload();
    // One play, title card included, at a level from 1 up. Returns whether
    // the first press of the play stopped the disk inside the winning window.
    bool play(int level);

private:
    void startPlay(int level);
    void drawDisk();
    void drawArrow(bool waiting);
    void drawTime();

    Image diskImage;
    Image arrowImage;
    Counter time;
    Counter angle; // library units, 256 to a turn
    Sound clickSound;
};
