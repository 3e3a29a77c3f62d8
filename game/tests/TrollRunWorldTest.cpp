#include "TrollRunTestFolder.hpp"

#include "framework/Graphics.hpp"

#include <cmath>

namespace {

using World = TrollRunTestFolder;

} // namespace

TEST_F(World, GroundCurveRepeatsEvery1280Pixels)
{
    TrollRun& r = *run_;
    const int heights[][2] = {{0, 460},    {1, 459},    {320, 400}, {640, 340},
                              {960, 400},  {1280, 460}, {1918, 341}, {-425, 371}};
    for (const auto& [x, y] : heights)
        EXPECT_EQ(r.groundHeight(x), y) << "x " << x;
    for (int x : {1, 77, 500, 1000, 5000})
        EXPECT_EQ(r.groundHeight(-x), r.groundHeight(x)) << "x " << x;

    EXPECT_DOUBLE_EQ(r.groundTilt(0), 0.0);
    EXPECT_NEAR(r.groundTilt(320), -9.0, 1e-9);
    EXPECT_NEAR(r.groundTilt(960), 9.0, 1e-9);
    EXPECT_NEAR(r.groundTilt(275), -8.78, 0.01);
    EXPECT_NEAR(r.groundTilt(-425), 7.83, 0.01);
}

TEST_F(World, ResetStartsTheViewCloudsAndCounts)
{
    TrollRun& r = *run_;
    r.combo = r.passed = r.hits = r.whiffs = 7;
    r.energy = 3;
    r.reset();
    EXPECT_EQ(r.scroll.intValue(), -700);
    EXPECT_EQ(r.scroll.speed(), 200.0);
    const int cloudXs[] = {600, 400, 200, 0};
    for (int i = 0; i < TrollRun::kCloudCount; ++i) {
        EXPECT_EQ(r.cloudX[i].intValue(), cloudXs[i]);
        EXPECT_EQ(r.cloudX[i].speed(), -80.0);
        EXPECT_GE(r.cloudY[i], 0);
        EXPECT_LT(r.cloudY[i], 200);
    }
    EXPECT_EQ(r.combo + r.passed + r.hits + r.whiffs, 0);
    EXPECT_EQ(r.energy, 200);
    EXPECT_EQ(r.flash.intValue(), 255);
    EXPECT_EQ(r.flash.speed(), -750.0);
}

TEST_F(World, SkyFadesFromTheTopColourAndGroundHasADarkerRim)
{
    TrollRun& r = *run_;
    r.buildSky(192, 229, 229, 180, 205, 222);
    r.buildGround();
    EXPECT_EQ(at(r.sky, 0, 0), (Rgb{192, 229, 229}));
    EXPECT_EQ(at(r.sky, 639, 240), (Rgb{186, 217, 226}));
    EXPECT_EQ(at(r.sky, 320, 479), (Rgb{181, 206, 223}));

    // Column 0 is a valley (top 460), column 640 a hill top (top 340).
    EXPECT_EQ(at(r.ground, 0, 459), (Rgb{255, 0, 255}));
    EXPECT_EQ(at(r.ground, 0, 460), (Rgb{0, 128, 0}));
    EXPECT_EQ(at(r.ground, 0, 461), (Rgb{0, 128, 0}));
    EXPECT_EQ(at(r.ground, 0, 462), (Rgb{0, 154, 0}));
    EXPECT_EQ(at(r.ground, 640, 342), (Rgb{0, 166, 0}));
    EXPECT_EQ(at(r.ground, 640, 479), (Rgb{0, 153, 0}));
}

TEST_F(World, GroundScrollsAndRepeats)
{
    TrollRun& r = *run_;
    r.buildGround();
    auto groundTopAt = [&](int scroll, int screenX) {
        r.scroll.setValue(scroll);
        clear_to_color(backBuffer, makecol(0, 0, 0));
        r.drawGround();
        for (int y = 0; y < 480; ++y)
            if (!(at(backBuffer, screenX, y) == Rgb{0, 0, 0}))
                return y;
        return -1;
    };
    // Standing still before 0: column c shows world x c.
    EXPECT_EQ(groundTopAt(-700, 0), 460);
    EXPECT_EQ(groundTopAt(-700, 320), 400);
    // From 0 on, column c shows world x scroll + c.
    EXPECT_EQ(groundTopAt(640, 0), 340);
    EXPECT_EQ(groundTopAt(641, 639), 460); // the strip's start, second copy
    EXPECT_EQ(groundTopAt(1000, 500), r.groundHeight(1500));
    EXPECT_EQ(groundTopAt(2560, 100), groundTopAt(0, 100));
}

TEST_F(World, CloudsWrapOnceWhollyOffTheLeftEdge)
{
    TrollRun& r = *run_;
    r.reset();
    r.cloudX[0].setValue(-200);
    r.cloudX[1].setValue(-199);
    r.updateClouds();
    EXPECT_EQ(r.cloudX[0].intValue(), 640);
    EXPECT_EQ(r.cloudX[1].intValue(), -199);
}

TEST_F(World, FlagsStandOnHillTopsEvery2560Pixels)
{
    TrollRun& r = *run_;
    paintSolid("mgflag.bmp", {255, 255, 0});
    r.flagImage.load("mgflag.bmp");
    const int top = 341 - r.flagImage.height();
    auto flagAt = [&](int scroll, int screenX) {
        r.scroll.setValue(scroll);
        clear_to_color(backBuffer, makecol(0, 0, 0));
        r.drawFlags();
        return at(backBuffer, screenX, top) == Rgb{255, 255, 0}
            && at(backBuffer, screenX, 340) == Rgb{255, 255, 0};
    };
    EXPECT_FALSE(flagAt(1218, 639));
    EXPECT_TRUE(flagAt(1219, 639));
    EXPECT_TRUE(flagAt(1640, 218));                // the first minigame starts here
    EXPECT_TRUE(flagAt(1640 + 2560, 218));         // and the second
    EXPECT_EQ(at(backBuffer, 218, 341), (Rgb{0, 0, 0})); // nothing below the hill top
}

TEST_F(World, HillsFollowAtHalfTheScrollAndStandStillBeforeIt)
{
    // A tile blue but for a red first column shows where each copy starts.
    BITMAP* tile = create_bitmap(640, 250);
    clear_to_color(tile, makecol(0, 0, 255));
    vline(tile, 0, 0, 249, makecol(255, 0, 0));
    save_bitmap("hillbg.bmp", tile, nullptr);
    destroy_bitmap(tile);
    TrollRun& r = *run_;
    r.hillImage.load("hillbg.bmp");
    auto tileStart = [&](int scroll) {
        r.scroll.setValue(scroll);
        clear_to_color(backBuffer, makecol(0, 0, 0));
        r.drawHills();
        for (int x = 0; x < 640; ++x)
            if (at(backBuffer, x, 479) == Rgb{255, 0, 0})
                return x;
        return -1;
    };
    EXPECT_EQ(tileStart(-700), 0);
    EXPECT_EQ(tileStart(-1), 0);
    EXPECT_EQ(tileStart(3), 639);
    EXPECT_EQ(tileStart(1001), 140);
    EXPECT_EQ(tileStart(1000000), 640 - 500000 % 640);
    EXPECT_EQ(at(backBuffer, 0, 229), (Rgb{0, 0, 0})); // sits on the bottom edge
}

TEST_F(World, DrawsWithoutAnyPicture)
{
    // Missing pictures leave gaps in the scene; the empty hill tile must not
    // stall the tiling.
    TrollRun& r = *run_;
    r.reset();
    r.spawnPeasants();
    clear_to_color(backBuffer, makecol(1, 2, 3));
    r.drawSky();
    r.drawHills();
    r.drawGround();
    r.updateClouds();
    r.drawFlags();
    r.updatePeasants();
    EXPECT_EQ(at(backBuffer, 320, 240), (Rgb{1, 2, 3}));
}
