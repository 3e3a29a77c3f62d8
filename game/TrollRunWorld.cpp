#include "TrollRun.hpp"

#include "framework/FastDrawing.hpp"
#include "framework/Graphics.hpp"

#include <allegro.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr double kHalfPi = 1.5707963267948966;
constexpr int kGroundMiddle = 400;
constexpr int kHillAmplitude = 60;
constexpr double kMaxTilt = 9.0;

constexpr int kStartScroll = -700;
constexpr double kStartScrollSpeed = 200.0;
constexpr double kCloudSpeed = -80.0;
constexpr int kFirstCloudX = 600;
constexpr int kCloudSpacing = 200;
constexpr int kCloudHeightRange = 200;
constexpr int kCloudGoneX = -200;
constexpr int kCloudReturnX = 640;
constexpr int kStartEnergy = 200;
constexpr int kFullFlash = 255;
constexpr double kFlashSpeed = -750.0;

constexpr int kGroundPeriod = 1280;
// No hill top rises above this row, so the ground strip's rows above it
// hold only the mask colour.
constexpr int kHighestGround = kGroundMiddle - kHillAmplitude;
constexpr int kGroundHalfPeriod = 640;
constexpr int kGroundBottom = 480;
constexpr int kRimRows = 2;

constexpr int kFirstFlagX = 1918;
constexpr int kFlagSpacing = 2560;
constexpr int kFlagLookAhead = 700;
constexpr int kFlagOffset = 60;
constexpr int kHillTopX = 640;

constexpr int kPeasantSpawnMin = 700;
constexpr int kPeasantSpawnRange = 700;
constexpr double kPeasantSpeed = -100.0;

void startCounter(Counter& counter, int value, double speed)
{
    counter.setValue(value);
    counter.setSpeed(speed);
    counter.start();
}

} // namespace

void TrollRun::reset()
{
    startCounter(scroll, kStartScroll, kStartScrollSpeed);
    for (int i = 0; i < kCloudCount; ++i)
        startCounter(cloudX[i], kFirstCloudX - kCloudSpacing * i, kCloudSpeed);
    for (int i = 0; i < kCloudCount; ++i)
        cloudY[i] = randomCloudY();
    combo = passed = hits = whiffs = 0;
    energy = kStartEnergy;
    startCounter(flash, kFullFlash, kFlashSpeed);
}

int TrollRun::randomCloudY()
{
    return std::rand() % kCloudHeightRange;
}

int TrollRun::groundHeight(int x)
{
    const double w = kScreenWidth;
    const double angle = (kTwoPi / (w + w)) * x - kHalfPi;
    return kGroundMiddle - static_cast<int>(kHillAmplitude * std::sin(angle));
}

double TrollRun::groundTilt(int x)
{
    const double w = kScreenWidth;
    return -kMaxTilt * std::sin((kTwoPi / (w + w)) * x);
}

void TrollRun::buildSky(int r1, int g1, int b1, int r2, int g2, int b2)
{
    const int dr = r1 - r2, dg = g1 - g2, db = b1 - b2;
    if (sky)
        destroy_bitmap(sky); // a run that never freed its sky must not leak it
    sky = create_bitmap(kScreenWidth, kScreenHeight);
    for (int y = 0; sky && y < kScreenHeight; ++y) {
        const double t = static_cast<double>(y) / kScreenHeight;
        const int colour = makecol(r1 - static_cast<int>(dr * t), g1 - static_cast<int>(dg * t),
                                   b1 - static_cast<int>(db * t));
        hline(sky, 0, y, kScreenWidth, colour);
    }
}

void TrollRun::drawSky()
{
    if (sky)
        blit(sky, backBuffer, 0, 0, 0, 0, kScreenWidth, kScreenHeight);
}

void TrollRun::buildGround()
{
    if (ground)
        destroy_bitmap(ground);
    ground = create_bitmap(kGroundPeriod, kGroundBottom);
    if (!ground)
        return;
    clear_to_color(ground, makecol(255, 0, 255));
    const int rim = makecol(0, 128, 0);
    for (int x = 0; x < 2 * kScreenWidth; ++x) {
        const int top = groundHeight(x);
        for (int y = top; y < kGroundBottom; ++y) {
            // The grass darkens with depth below a darker rim.
            const int colour = y < top + kRimRows ? rim : makecol(0, 200 - y / 10, 0);
            putpixel(ground, x, y, colour);
        }
    }
}

// Where the first hill tile starts: at the left edge while the troll walks
// in, then following the view at half its speed.
int TrollRun::hillsStartX() const
{
    const int x = -(scrollX() / 2);
    return x > 0 ? 0 : x;
}

void TrollRun::drawHills()
{
    const int tileWidth = hillImage.width();
    if (tileWidth < 1)
        return; // without a picture the tiling would never advance
    int x = hillsStartX();
    const int y = kScreenHeight - hillImage.height();
    // Tiles wholly left of the screen would be clipped anyway.
    x += (-x / tileWidth) * tileWidth;
    for (; x < kScreenWidth; x += tileWidth)
        hillImage.drawMasked(x, y);
}

// The sky does not vary along x, so the hills over it repeat with the tile:
// one strip a tile wider than the screen holds every view of them, made
// once per run, and each frame copies the right window of it.
void TrollRun::composeBackdrop()
{
    if (backdrop)
        destroy_bitmap(backdrop);
    backdrop = nullptr;
    const int tileWidth = hillImage.width();
    if (!sky || tileWidth < 1)
        return;
    const int hillsTop = kScreenHeight - hillImage.height();
    const int top = hillsTop > 0 ? hillsTop : 0;
    backdrop = create_bitmap(kScreenWidth + tileWidth - 1, kScreenHeight - top);
    if (!backdrop)
        return;
    for (int y = 0; y < backdrop->h; ++y)
        hline(backdrop, 0, y, backdrop->w - 1, getpixel(sky, 0, top + y));
    for (int x = 0; x < backdrop->w; x += tileWidth)
        masked_blit(hillImage.bitmap(), backdrop, 0, top - hillsTop, x, 0, tileWidth, backdrop->h);
}

// Each row is written once: the sky's rows filled with their colour, the
// hills' copied from the backdrop, and from the highest hill top down, the
// ground merged over whichever of the two lies under it.
void TrollRun::drawLandscape()
{
    if (!backdrop || !ground) {
        drawSky();
        drawHills();
        drawGround();
        return;
    }
    const int hillsTop = kScreenHeight - backdrop->h;
    const int tileWidth = backdrop->w - kScreenWidth + 1;
    const int hillsX = -hillsStartX() % tileWidth;
    for (int y = 0; y < std::min(hillsTop, kHighestGround); ++y)
        clearRow(backBuffer, y, getpixel(sky, 0, y));
    if (hillsTop < kHighestGround)
        plainBlit(backdrop, backBuffer, hillsX, 0, 0, hillsTop, kScreenWidth,
                  kHighestGround - hillsTop);
    else
        mergeGround(sky, 0, kHighestGround, hillsTop - kHighestGround);
    const int below = std::max(hillsTop, kHighestGround);
    mergeGround(backdrop, hillsX, below, kScreenHeight - below);
}

// The ground's screen rows from y on, over `under`, whose row for screen
// row y starts at column underX.
void TrollRun::mergeGround(BITMAP* under, int underX, int y, int rows)
{
    const int underY = y - (kScreenHeight - under->h);
    const int n = scrollX() < 0 ? 0 : scrollX() % kGroundPeriod;
    const int first = std::min(kScreenWidth, kGroundPeriod - n);
    maskedBlitOver(ground, n, y, under, underX, underY, backBuffer, 0, y, first, rows);
    if (first < kScreenWidth)
        maskedBlitOver(ground, 0, y, under, underX + first, underY, backBuffer, first, y,
                       kScreenWidth - first, rows);
}

void TrollRun::drawGround()
{
    if (!ground)
        return;
    int n = scrollX();
    if (n < 0) {
        masked_blit(ground, backBuffer, 0, 0, 0, 0, kScreenWidth, kScreenHeight);
        return;
    }
    n %= kGroundPeriod;
    masked_blit(ground, backBuffer, n, 0, 0, 0, kScreenWidth, kScreenHeight);
    if (n > kGroundHalfPeriod)
        masked_blit(ground, backBuffer, 0, 0, kGroundPeriod - n, 0, kScreenWidth, kScreenHeight);
}

void TrollRun::updateClouds()
{
    for (int i = 0; i < kCloudCount; ++i) {
        if (cloudX[i].intValue() <= kCloudGoneX) {
            cloudX[i].setValue(kCloudReturnX);
            cloudY[i] = randomCloudY();
        }
    }
    for (int i = 0; i < kCloudCount; ++i)
        cloudImage.drawMasked(cloudX[i].intValue(), cloudY[i]);
}

void TrollRun::drawFlags()
{
    // Every flag stands on a hill top, so all share one foot row.
    const int y = groundHeight(kHillTopX) - flagImage.height() + 1;
    for (int fx = kFirstFlagX; fx < scrollX() + kFlagLookAhead; fx += kFlagSpacing)
        flagImage.drawMasked(fx - scrollX() - kFlagOffset, y);
}

int TrollRun::leftEdgeX() const
{
    const int s = scrollX();
    return s < 0 ? 0 : s;
}

void TrollRun::launchPeasant(int index, int x, double speed)
{
    peasants[index].launch(x, speed);
}

void TrollRun::spawnPeasants()
{
    for (int i = 0; i < kPeasantCount; ++i) {
        peasants[i].setImages(&peasantImage1, &peasantImage2, &peasantImage3);
        launchPeasant(i, std::rand() % kPeasantSpawnRange + kPeasantSpawnMin, kPeasantSpeed);
    }
}
