#pragma once

#include "framework/Counter.hpp"

struct BITMAP;

// One burst of blood: 40 dark-red particles that fly up and forward from
// where a peasant was smashed, fall under a growing pull and fade together.
struct BloodSplat {
    static constexpr int kParticles = 40;

    BloodSplat() = default;
    ~BloodSplat();
    BloodSplat(const BloodSplat&) = delete;
    BloodSplat& operator=(const BloodSplat&) = delete;

    // Whole-part alpha below 1: the burst is no longer seen.
    bool faded() const { return alpha.intValue() <= 0; }

    BITMAP* dot = nullptr;
    BloodSplat* next = nullptr;
    Counter alpha;
    Counter particleX[kParticles]; // world x
    Counter particleY[kParticles]; // screen y
    double gravity = 0.0;
};

// The run's blood bursts, oldest first. Bursts outlive the run that made
// them: later frames drop them once faded.
class BloodList {
public:
    BloodList() = default;
    ~BloodList();
    BloodList(const BloodList&) = delete;
    BloodList& operator=(const BloodList&) = delete;

    // A new burst at world x, screen y, behind every older one.
    void spawn(int x, int y);
    // Drops faded bursts, draws the rest shifted left by viewX and pulls
    // their particles down a little harder.
    void updateAndDraw(int viewX);
    void clear();

    const BloodSplat* first() const { return head; }

private:
    void drawAndPull(BloodSplat& burst, int viewX);

    BloodSplat* head = nullptr;
};
