#include "FireGame.hpp"

#include "framework/Buttons.hpp"
#include "framework/FrameClock.hpp"
#include "framework/Graphics.hpp"
#include "ttf/Text.hpp"

#include <allegro.h>

#include <cstddef>
#include <iterator>

namespace {

constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;

// The level buys speed: bonus = level / 0.25 pixels (or time units) per second.
constexpr double kBonusDivisor = 0.25;

constexpr int kTimeStart = 1000;
constexpr int kTimeDrain = 200;

constexpr int kPlatformMinY = 100;
constexpr int kPlatformMaxY = 400;
constexpr int kPlatformBaseSpeed = 250;
constexpr int kPlatformX = 100;
constexpr int kTargetX = 140;

constexpr int kShotStartX = 480;
constexpr int kShotY = 250;
constexpr int kShotSpeed = 600;
// The first slots are withheld from these levels on.
constexpr int kLastLevelWithThreeShots = 14;
constexpr int kLastLevelWithTwoShots = 29;

constexpr int kFallStartSpeed = 300;
constexpr int kFallPull = 600;
constexpr int kFallPullPerBonus = 6;

constexpr int kAmmoX = 500;
constexpr int kAmmoSpacing = 40;
constexpr int kAmmoY = 10;
constexpr int kBreatherX = 500;
constexpr int kBridgeX = 400;
constexpr int kBridgeTop = 300;
constexpr int kTimeTextX = 10;
constexpr int kTimeTextY = 10;

// In the order of the pictures' fields.
constexpr const char* kPictureFiles[] = {"fumbo1.bmp",  "fumbo2.bmp",  "fumboplat.bmp",
                                         "grumoka.bmp", "grumokb.bmp", "fireball.bmp",
                                         "lava.bmp",    "bridge.bmp",  "fire.bmp"};

// A picture with no width would never advance the tiling, so a missing
// file leaves the row empty instead of hanging the game.
void tileRow(const Image& tile, int fromX, int y)
{
    if (tile.width() <= 0)
        return;
    for (int x = fromX; x < kScreenWidth; x += tile.width())
        tile.draw(x, y);
}

} // namespace

void FireGame::load()
{
    loadFont();
    static_assert(std::size(kPictureFiles) == kPictureCount);
    const std::array<Image*, kPictureCount> images = pictures();
    for (std::size_t i = 0; i < kPictureCount; ++i)
        images[i]->load(kPictureFiles[i]);
    breathSound.load("breath.mp3");
    sizzleSound.load("sizzle.mp3");
}

void FireGame::unload()
{
    for (Image* picture : pictures())
        picture->destroy();
    breathSound.unload();
    sizzleSound.unload();
    freeFont();
}

bool FireGame::play(int level)
{
    showTitle("KILL FUMBO!");
    startPlay(level);
    while (!backReleased() && time.intValue() > 0) {
        drawBackground();
        drawAmmo();
        movePlatform();
        drawBreather();
        updateTarget();
        updateProjectiles();
        drawTime();
        flipScreen();
    }
    stopPlay();
    return !target.alive;
}

void FireGame::startPlay(int level)
{
    bonus = level / kBonusDivisor;
    time.setValue(kTimeStart);
    time.setSpeed(-(kTimeDrain + bonus));
    time.start();

    platform.minY = kPlatformMinY;
    platform.maxY = kPlatformMaxY;
    platform.baseSpeed = kPlatformBaseSpeed;
    platform.y.setValue(platform.minY);
    platform.y.setSpeed(-(platform.baseSpeed + bonus));
    platform.y.start();

    for (Projectile& shot : shots)
        shot.active = false;
    shots[0].spent = level > kLastLevelWithThreeShots;
    shots[1].spent = level > kLastLevelWithTwoShots;
    shots[2].spent = false;
    target.alive = true;
}

// The time is stopped too, so that no value of a finished play keeps moving
// under the screens that follow.
void FireGame::stopPlay()
{
    platform.y.stop();
    for (Projectile& shot : shots)
        shot.x.stop();
    target.fallSpeed.stop();
    time.stop();
}

void FireGame::drawBackground()
{
    clearScreen(0, 0, 0);
    tileRow(lavaImage, 0, kScreenHeight - lavaImage.height());
    tileRow(bridgeImage, kBridgeX, kBridgeTop);
}

void FireGame::drawAmmo()
{
    for (int i = 0; i < kShotSlots; ++i)
        if (!shots[i].spent)
            ammoImage.drawMasked(kAmmoX + kAmmoSpacing * i, kAmmoY);
}

// The platform turns only once it has reached or passed a bound, so it may
// overshoot by one frame's move; a stopped platform stays where it is.
void FireGame::movePlatform()
{
    const double speed = platform.baseSpeed + bonus;
    if (platform.y.intValue() >= platform.maxY)
        platform.y.setSpeed(-speed);
    if (platform.y.intValue() <= platform.minY)
        platform.y.setSpeed(speed);
    platformImage.drawMasked(kPlatformX, platform.y.intValue());
}

void FireGame::drawBreather()
{
    const Image& breather = actionHeld() ? breatherActionImage : breatherIdleImage;
    breather.drawMasked(kBreatherX, kBridgeTop - breather.height());
}

void FireGame::updateTarget()
{
    if (target.alive) {
        targetImage.drawMasked(kTargetX, targetTop());
        return;
    }
    fallingImage.drawMasked(kTargetX, static_cast<int>(target.fallY));
    target.fallY += target.fallSpeed.value() * frameSeconds();
}

// One press fires at most one shot, from the first slot still available; a
// shot that hit flies on, and shots after the hit pass through.
void FireGame::updateProjectiles()
{
    bool firedThisFrame = false;
    for (Projectile& shot : shots) {
        if (target.alive && shot.active && shotHitsTarget(shot))
            hitTarget();
        if (shot.active && shot.x.intValue() < -fireballImage.width()) {
            shot.active = false;
            shot.x.stop();
        }
        if (!firedThisFrame && actionPressed() && !shot.spent) {
            firedThisFrame = true;
            fire(shot);
        }
        if (shot.active)
            fireballImage.drawMasked(shot.x.intValue(), kShotY);
    }
}

void FireGame::drawTime()
{
    draw_textf_sharp_bg(backBuffer, font, kTimeTextX, kTimeTextY, makecol(255, 255, 255),
                        makecol(0, 0, 0), "TIME: %d", time.intValue());
}

std::array<Image*, FireGame::kPictureCount> FireGame::pictures()
{
    return {&targetImage,   &fallingImage, &platformImage, &breatherIdleImage, &breatherActionImage,
            &fireballImage, &lavaImage,    &bridgeImage,   &ammoImage};
}

int FireGame::targetTop() const
{
    return platform.y.intValue() - targetImage.height();
}

bool FireGame::shotHitsTarget(const Projectile& shot) const
{
    return imagesCollide(fireballImage, shot.x.intValue(), kShotY, targetImage, kTargetX,
                         targetTop());
}

// The platform freezes first, so the fall starts from where the hit found it.
void FireGame::hitTarget()
{
    platform.y.stop();
    target.alive = false;
    target.fallY = targetTop();
    target.fallSpeed.setValue(-kFallStartSpeed - bonus);
    target.fallSpeed.setSpeed(kFallPull + kFallPullPerBonus * bonus);
    target.fallSpeed.start();
    sizzleSound.play();
}

void FireGame::fire(Projectile& shot)
{
    shot.active = true;
    shot.spent = true;
    shot.x.setValue(kShotStartX);
    shot.x.setSpeed(-(kShotSpeed + bonus));
    shot.x.start();
    breathSound.play();
}
