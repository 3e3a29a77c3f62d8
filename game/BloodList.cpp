#include "BloodList.hpp"

#include "framework/FrameClock.hpp"
#include "framework/Graphics.hpp"

#include <allegro.h>

#include <algorithm>
#include <cstdlib>
#include <new>

namespace {

constexpr int kDotSize = 2;
constexpr int kFullAlpha = 255;
constexpr double kFadeSpeed = -128.0;
constexpr int kMinForwardSpeed = 550;
constexpr int kMinRiseSpeed = 200;
constexpr int kSpeedSpread = 200;
// Added to the pull once per particle drawn, so a burst's fall depends on
// how often it is drawn.
constexpr double kPullPerParticle = 0.25;

void startCounter(Counter& counter, double value, double speed)
{
    counter.setValue(value);
    counter.setSpeed(speed);
    counter.start();
}

} // namespace

BloodSplat::~BloodSplat()
{
    if (dot)
        destroy_bitmap(dot);
}

BloodList::~BloodList()
{
    clear();
}

void BloodList::spawn(int x, int y)
{
    BloodSplat* burst = new (std::nothrow) BloodSplat;
    if (!burst)
        return; // a burst is only decoration
    burst->dot = create_bitmap(kDotSize, kDotSize);
    if (burst->dot)
        clear_to_color(burst->dot, makecol(128, 0, 0));
    startCounter(burst->alpha, kFullAlpha, kFadeSpeed);
    for (int i = 0; i < BloodSplat::kParticles; ++i) {
        startCounter(burst->particleX[i], x, std::rand() % kSpeedSpread + kMinForwardSpeed);
        startCounter(burst->particleY[i], y, -(std::rand() % kSpeedSpread) - kMinRiseSpeed);
    }
    BloodSplat** tail = &head;
    while (*tail)
        tail = &(*tail)->next;
    *tail = burst;
}

void BloodList::updateAndDraw(int viewX)
{
    if (head && head->faded()) {
        BloodSplat* dropped = head;
        head = dropped->next;
        delete dropped;
    }
    for (BloodSplat* burst = head; burst; burst = burst->next) {
        if (burst->next && burst->next->faded()) {
            BloodSplat* dropped = burst->next;
            burst->next = dropped->next;
            delete dropped;
        }
        drawAndPull(*burst, viewX);
    }
}

void BloodList::drawAndPull(BloodSplat& burst, int viewX)
{
    // A burst that has just come to stand behind a dropped one may already
    // be faded; it is drawn invisible rather than with a negative alpha.
    set_trans_blender(255, 255, 255, std::max(0, burst.alpha.intValue()));
    for (int i = 0; i < BloodSplat::kParticles; ++i) {
        if (burst.dot)
            draw_trans_sprite(backBuffer, burst.dot, burst.particleX[i].intValue() - viewX,
                              burst.particleY[i].intValue());
        burst.gravity += frameSeconds() * kPullPerParticle;
        burst.particleY[i].setSpeed(burst.particleY[i].speed() + burst.gravity);
    }
}

void BloodList::clear()
{
    if (!head)
        return;
    // Behind the head, from the last to the first; then the head.
    while (head->next) {
        BloodSplat** last = &head->next;
        while ((*last)->next)
            last = &(*last)->next;
        delete *last;
        *last = nullptr;
    }
    delete head;
    head = nullptr;
}
