#include "TrollRun.hpp"

namespace {

constexpr int kTrollScreenX = 220;
// The troll stands on the ground under this column of its picture.
constexpr int kTrollFootOffset = 55;
constexpr int kTrollHeight = 76;
constexpr int kPopupX = 330;
constexpr int kPopupAboveGround = 70;

} // namespace

void TrollRun::drawScenery()
{
    drawLandscape();
    updateClouds();
}

void TrollRun::drawTroll()
{
    const int s = scrollX();
    const int x = s < 0 ? s + kTrollScreenX : kTrollScreenX;
    const int foot = s + kTrollScreenX + kTrollFootOffset;
    troll.draw(x, groundHeight(foot) - kTrollHeight, groundTilt(foot));
}

void TrollRun::drawEffectsAndHud()
{
    const int foot = scrollX() + kTrollScreenX + kTrollFootOffset;
    popup.draw(kPopupX, groundHeight(foot) - kPopupAboveGround);
    blood.updateAndDraw(scrollX());
    drawCombo();
    drawEnergy();
    drawScore();
}

void TrollRun::drawWorldFrame()
{
    drawScenery();
    drawFlags();
    updatePeasants();
    drawTroll();
    drawEffectsAndHud();
}
