#include "TrollRun.hpp"

#include <cstdlib>

namespace {

constexpr int kPassLine = 220;
constexpr int kReachNear = 240; // not included
constexpr int kReachFar = 349;
constexpr int kPassPenalty = 30;
constexpr int kPassFloor = 29; // a pass that leaves this much or less leaves nothing
constexpr int kWhiffPenalty = 20;
constexpr int kComboPerBonus = 25;
constexpr int kMaxEnergy = 300;
constexpr int kPointsPerCombo = 2;
constexpr int kPointsPerHit = 50;
constexpr int kFullFlash = 255;

constexpr int kRelaunchLine = 70;
constexpr int kRelaunchRange = 800;
constexpr int kRelaunchAhead = 800;
constexpr double kPeasantSpeed = -100.0;

constexpr int kPeasantFootOffset = 30;
constexpr int kPeasantHeight = 78;

} // namespace

void TrollRun::updatePeasants()
{
    const int t = leftEdgeX();
    for (int i = 0; i < kPeasantCount; ++i) {
        Peasant& peasant = peasants[i];
        if (active && !peasant.isDone() && peasant.x() - kPassLine < t) {
            peasant.markPassed();
            popup.show(Popup::kMiss);
            combo = 0;
            passed += 1;
            energy -= kPassPenalty;
            if (energy <= kPassFloor)
                energy = 0;
        }
        const int foot = peasant.x() + kPeasantFootOffset;
        peasant.draw(peasant.x() - t, groundHeight(foot) - kPeasantHeight, groundTilt(foot));
        if (peasant.x() + kRelaunchLine < t) {
            peasant.squash();
            launchPeasant(i, std::rand() % kRelaunchRange + t + kRelaunchAhead, kPeasantSpeed);
        }
    }
}

void TrollRun::smash()
{
    const int s = scrollX();
    bool hitAny = false;
    for (Peasant& peasant : peasants) {
        const int d = peasant.x() - s;
        if (!peasant.isAlive() || d > kReachFar || d <= kReachNear)
            continue;
        flash.setValue(kFullFlash);
        combo += 1;
        hits += 1;
        energy += 1 + combo / kComboPerBonus;
        if (energy > kMaxEnergy)
            energy = kMaxEnergy;
        score += kPointsPerCombo * combo + kPointsPerHit;
        popup.show(Popup::kHit);
        hitAny = true;
        smashSound.play();
        blood.spawn(peasant.x(), groundHeight(peasant.x() + kPeasantFootOffset));
        peasant.squash();
    }
    if (hitAny)
        return;
    combo = 0;
    energy -= kWhiffPenalty;
    if (energy < 0)
        energy = 0;
    whiffs += 1;
    popup.show(Popup::kBad);
}

void TrollRun::pause()
{
    scroll.stop();
    for (Counter& cloud : cloudX)
        cloud.stop();
    troll.setAnimating(false);
    for (Peasant& peasant : peasants)
        peasant.setRunning(false);
}

void TrollRun::resume()
{
    scroll.start();
    for (Counter& cloud : cloudX)
        cloud.start();
    troll.setAnimating(true);
    for (Peasant& peasant : peasants)
        peasant.setRunning(true);
}
