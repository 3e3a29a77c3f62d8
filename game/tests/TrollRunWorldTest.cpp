#include "TrollRunTestFolder.hpp"

namespace {

using World = TrollRunTestFolder;

// The first row from the top at screen column x that is not black.
int firstInk(int x)
{
    for (int y = 0; y < 480; ++y)
        if (!(HeadlessScreen::pixel(backBuffer, x, y) == HeadlessScreen::Rgb{0, 0, 0}))
            return y;
    return -1;
}

} // namespace

TEST_F(World, GroundCurveRepeatsEvery1280Pixels)
{
    TrollRun& r = *run_;
    const int heights[][2] = {{0, 460},   {1, 459},    {320, 400},  {640, 340},
                              {960, 400}, {1280, 460}, {1918, 341}, {-425, 371}};
    for (const auto& [x, y] : heights)
        EXPECT_EQ(r.groundHeight(x), y) << "x " << x;
    EXPECT_EQ(r.groundHeight(-777), r.groundHeight(777));
    EXPECT_DOUBLE_EQ(r.groundTilt(0), 0.0);
    EXPECT_NEAR(r.groundTilt(320), -9.0, 1e-9);
    EXPECT_NEAR(r.groundTilt(960), 9.0, 1e-9);
    EXPECT_NEAR(r.groundTilt(-425), 7.83, 0.01);
}

TEST_F(World, SkyAndGroundStripAreBuiltOnce)
{
    TrollRun& r = *run_;
    r.buildSky(192, 229, 229, 180, 205, 222);
    r.buildGround();
    EXPECT_EQ(at(r.sky, 0, 0), (Rgb{192, 229, 229}));
    EXPECT_EQ(at(r.sky, 320, 479), (Rgb{181, 206, 223}));
    EXPECT_EQ(at(r.ground, 0, 459), (Rgb{255, 0, 255}));
    EXPECT_EQ(at(r.ground, 0, 461), (Rgb{0, 128, 0}));
    EXPECT_EQ(at(r.ground, 0, 462), (Rgb{0, 154, 0}));
    EXPECT_EQ(at(r.ground, 640, 342), (Rgb{0, 166, 0}));
}

TEST_F(World, GroundStandsStillThenScrollsAndRepeats)
{
    TrollRun& r = *run_;
    r.buildGround();
    auto groundTop = [&](int scroll, int screenX) {
        r.scroll.setValue(scroll);
        clear_to_color(backBuffer, makecol(0, 0, 0));
        r.drawGround();
        return firstInk(screenX);
    };
    EXPECT_EQ(groundTop(-700, 320), 400);
    EXPECT_EQ(groundTop(640, 0), 340);
    EXPECT_EQ(groundTop(641, 639), 460); // the second copy of the strip
    EXPECT_EQ(groundTop(1000, 500), r.groundHeight(1500));
    EXPECT_EQ(groundTop(2560, 100), groundTop(0, 100));
}

TEST_F(World, HillsFollowAtHalfTheScroll)
{
    // A blue tile with a red first column shows where each copy starts.
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
    EXPECT_EQ(tileStart(3), 639);
    EXPECT_EQ(tileStart(1001), 140);
    EXPECT_EQ(tileStart(1000000), 480);
}

TEST_F(World, DrawsWithoutAnyPicture)
{
    // The empty hill tile must not stall the tiling.
    TrollRun& r = *run_;
    r.reset();
    r.spawnPeasants();
    clear_to_color(backBuffer, makecol(1, 2, 3));
    r.drawHills();
    r.updateClouds();
    r.drawFlags();
    r.updatePeasants();
    EXPECT_EQ(at(backBuffer, 320, 240), (Rgb{1, 2, 3}));
}

// The backdrop is made from the sky and the hills as they stand when it is
// composed, whichever came first, and made again from a new hill picture.
TEST_F(World, BackdropHoldsTheHillsLoadedLast)
{
    TrollRun& r = *run_;
    auto landscapeIsTheSlowOne = [&](const char* hills) {
        for (const int view : {-700, 0, 1001, 2561}) {
            r.scroll.setValue(view);
            r.drawLandscape();
            ScopedBitmap fast(640, 480);
            blit(backBuffer, fast, 0, 0, 0, 0, 640, 480);
            r.drawSky();
            r.drawHills();
            r.drawGround();
            EXPECT_EQ(firstDifference(fast, backBuffer), "") << hills << " hills, view " << view;
        }
    };
    r.buildSky(192, 229, 229, 180, 205, 222);
    r.hillImage.load("hillbg.bmp");
    r.buildGround();
    r.composeBackdrop();
    EXPECT_TRUE(r.hasBackdrop()) << "hills loaded after the sky";
    landscapeIsTheSlowOne("the game's");

    const Rgb red{230, 20, 10};
    paintSolid("hillbg.bmp", red);
    r.hillImage.load("hillbg.bmp");
    r.composeBackdrop();
    EXPECT_TRUE(r.hasBackdrop());
    landscapeIsTheSlowOne("red");
    r.drawLandscape();
    EXPECT_TRUE(anyPixel(backBuffer, 0, 0, 640, 480, red));
}
