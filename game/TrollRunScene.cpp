#include "TrollRun.hpp"

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
