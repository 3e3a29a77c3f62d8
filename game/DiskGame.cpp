#include "DiskGame.hpp"

#include "framework/Buttons.hpp"
#include "framework/Graphics.hpp"
#include "ttf/Text.hpp"

#include <algorithm>

#include <allegro.h>

namespace {

constexpr int kTimeStart = 1000;
constexpr int kTimeDrain = 150;
constexpr int kTimeDrainPerLevel = 3;
// Once the press has decided the play, what is left of the time runs out
// within about a second.
constexpr int kTimeDrainAfterPress = 915;

constexpr int kTurnBase = 150;
constexpr int kTurnPerLevel = 7;
constexpr int kTurnCap = 500;
constexpr int kTurnExtra = 150;

// The winning window: 7 units before the resting position up to 13 past it.
constexpr int kWindowStart = 248;
constexpr int kWindowEnd = 13;
// The wrap takes off 255, not the 256 of a full turn, so each wrap skips the
// drawn disk one unit ahead.
constexpr int kWrapAbove = 254;
constexpr int kWrapBy = 255;

constexpr int kDiskCentreX = 240;
constexpr int kDiskCentreY = 240;
constexpr int kArrowWaitingX = 400;
constexpr int kArrowStoppedX = 380;
constexpr int kTimeTextX = 10;
constexpr int kTimeTextY = 10;

bool inWinningWindow(int wholeAngle)
{
    return wholeAngle >= kWindowStart || wholeAngle <= kWindowEnd;
}

} // namespace

void DiskGame::load()
{
    loadFont();
    diskImage.load("disk.bmp");
    arrowImage.load("arrow.bmp");
    clickSound.load("click.mp3");
}

void DiskGame::unload()
{
    diskImage.destroy();
    arrowImage.destroy();
    clickSound.unload();
    freeFont();
}

bool DiskGame::play(int level)
{
    showTitle("STOP THE DISK!!!");
    startPlay(level);
    bool waiting = true;
    bool won = false;
    while (!backReleased() && time.intValue() > 0) {
        clearScreen(0, 0, 0);
        drawTime();
        drawDisk();
        if (actionPressed()) {
            // Only the first press decides and clicks; every press freezes.
            if (waiting) {
                won = inWinningWindow(angle.intValue());
                clickSound.play();
            }
            angle.stop();
            waiting = false;
            time.setSpeed(-kTimeDrainAfterPress);
        }
        if (angle.intValue() > kWrapAbove)
            angle.setValue(angle.value() - kWrapBy);
        drawArrow(waiting);
        flipScreen();
    }
    angle.stop();
    time.stop();
    return won;
}

void DiskGame::startPlay(int level)
{
    time.setValue(kTimeStart);
    time.setSpeed(-(kTimeDrain + kTimeDrainPerLevel * level));
    time.start();
    angle.setValue(0);
    angle.setSpeed(std::min(kTurnPerLevel * level + kTurnBase, kTurnCap) + kTurnExtra);
    angle.start();
}

// Drawn at the whole angle the press is judged on, centred on (240, 240).
void DiskGame::drawDisk()
{
    diskImage.drawRotated(kDiskCentreX - diskImage.width() / 2,
                          kDiskCentreY - diskImage.height() / 2, angle.intValue());
}

void DiskGame::drawArrow(bool waiting)
{
    arrowImage.drawMasked(waiting ? kArrowWaitingX : kArrowStoppedX,
                          kDiskCentreY - arrowImage.height() / 2);
}

void DiskGame::drawTime()
{
    draw_textf_sharp_bg(backBuffer, font, kTimeTextX, kTimeTextY, makecol(255, 255, 255),
                        makecol(0, 0, 0), "TIME: %d", time.intValue());
}
