#pragma once

#include "framework/Counter.hpp"

class Image;

// One of the run's walkers. It walks with two frames, can be squashed, and
// remembers whether it has been counted (passed or squashed) since its
// launch. The pictures belong to the run; a peasant only points at them.
class Peasant {
public:
    Peasant() = default;
    Peasant(const Peasant&) = delete;
    Peasant& operator=(const Peasant&) = delete;

    void setImages(Image* walk1, Image* walk2, Image* squashedImg);
    // Puts the peasant at world x walking at speed, whatever it did before.
    void launch(int x, double speed);
    // The body stays where it fell.
    void squash();
    void markPassed() { done = true; }
    // Stops or restarts both Counters whatever the state, so a body started
    // again slides on at its last speed.
    void setRunning(bool on);

    bool isAlive() const { return !squashed; }
    bool isDone() const { return done; }
    int x() const { return position.intValue(); }

    // An idle peasant (never launched) draws nothing.
    void draw(int x, int y, double angle) const;

private:
    Image* walkImage1 = nullptr;
    Image* walkImage2 = nullptr;
    Image* squashedImage = nullptr;
    Counter position;
    Counter animation;
    bool walking = false;
    bool squashed = false;
    bool done = false;
};
