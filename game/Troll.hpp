#pragma once

#include "framework/Counter.hpp"
#include "framework/Image.hpp"

// The player's troll: two walking frames, two smashing frames and a frame
// timer. Where it stands is decided by the run; the troll only draws itself.
class Troll {
public:
    Troll() = default;
    ~Troll();
    Troll(const Troll&) = delete;
    Troll& operator=(const Troll&) = delete;

    // Loads the four pictures and starts the frame timer; called every run.
    void load();
    // Stops or restarts the frame timer around a minigame.
    void setAnimating(bool on);
    void startSmash() { smashing = true; }
    void endSmash() { smashing = false; }

    // Draws the current frame with its unturned top left corner at (x, y),
    // turned by angle (256 to a full turn) to lean with the hillside.
    void draw(int x, int y, double angle) const;

private:
    Image walkImage1;
    Image walkImage2;
    Image smashImage1;
    Image smashImage2;
    Counter animation;
    bool smashing = false;
};
