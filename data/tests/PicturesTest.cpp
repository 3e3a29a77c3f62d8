#include "datagen/Art.hpp"

#include <allegro.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>

namespace {

// Loads pictures as the game does: into 32-bit colour, converted from 24.
class Pictures : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        ASSERT_EQ(install_allegro(SYSTEM_NONE, &errno, std::atexit), 0);
        set_color_depth(32);
        set_color_conversion(COLORCONV_8_TO_32 | COLORCONV_15_TO_32 | COLORCONV_16_TO_32
                             | COLORCONV_24_TO_32);
    }

    using Bitmap = std::unique_ptr<BITMAP, decltype(&destroy_bitmap)>;

    static Bitmap load(const std::string& name)
    {
        const std::string path = std::string(PLAY_DIR) + "/" + name;
        return Bitmap(load_bitmap(path.c_str(), nullptr), &destroy_bitmap);
    }

    static bool clear(BITMAP* b, int x, int y)
    {
        return getpixel(b, x, y) == makecol32(255, 0, 255);
    }

    // Leftmost and rightmost drawn columns over rows y0..y1.
    static std::pair<int, int> drawnColumns(BITMAP* b, int y0, int y1)
    {
        int left = b->w, right = -1;
        for (int y = y0; y <= y1; ++y)
            for (int x = 0; x < b->w; ++x)
                if (!clear(b, x, y)) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
        return {left, right};
    }

    static int drawnRows(BITMAP* b, int y0, int y1)
    {
        int rows = 0;
        for (int y = y0; y <= y1; ++y)
            if (drawnColumns(b, y, y).second >= 0)
                ++rows;
        return rows;
    }
};

} // namespace

TEST_F(Pictures, EachLoadsAtItsSizeWithEveryPixelAsDrawn)
{
    for (const datagen::Picture& p : datagen::allPictures()) {
        SCOPED_TRACE(p.fileName);
        const Bitmap b = load(p.fileName);
        ASSERT_TRUE(b) << "load_bitmap failed";
        ASSERT_EQ(b->w, p.canvas.width());
        ASSERT_EQ(b->h, p.canvas.height());
        ASSERT_EQ(bitmap_color_depth(b.get()), 32);
        int wrong = 0;
        for (int y = 0; y < b->h; ++y)
            for (int x = 0; x < b->w; ++x) {
                const datagen::Rgb want = p.canvas.at(x, y);
                if (getpixel(b.get(), x, y) != makecol32(want.r, want.g, want.b))
                    ++wrong;
            }
        EXPECT_EQ(wrong, 0);
    }
}

TEST_F(Pictures, MaskedOnesShowTheSceneAroundTheirShapeAndPlainOnesHaveNoHoles)
{
    for (const datagen::Picture& p : datagen::allPictures()) {
        SCOPED_TRACE(p.fileName);
        const Bitmap b = load(p.fileName);
        ASSERT_TRUE(b);
        int holes = 0;
        for (int y = 0; y < b->h; ++y)
            for (int x = 0; x < b->w; ++x)
                holes += clear(b.get(), x, y);
        if (p.masked) {
            EXPECT_TRUE(clear(b.get(), 0, 0));
            EXPECT_GT(holes, 0);
            EXPECT_LT(holes, b->w * b->h);
        } else {
            EXPECT_EQ(holes, 0);
        }
    }
}

TEST_F(Pictures, TrollStandsOnItsBottomRowsAndItsClubLandsWithinReach)
{
    for (const char* name : {"troll1.bmp", "troll2.bmp", "troll3.bmp", "troll4.bmp"}) {
        SCOPED_TRACE(name);
        const Bitmap b = load(name);
        ASSERT_TRUE(b);
        EXPECT_NEAR(b->w, 110, 10);
        EXPECT_NEAR(b->h, 80, 6);
        EXPECT_GE(drawnColumns(b.get(), b->h - 3, b->h - 1).second, 0) << "feet off the ground";
    }
    // A peasant is in reach 21 to 129 pixels ahead of the troll's left edge;
    // the club head comes down there, near the ground.
    const Bitmap down = load("troll4.bmp");
    ASSERT_TRUE(down);
    const auto [left, right] = drawnColumns(down.get(), down->h - 12, down->h - 1);
    EXPECT_GE(right, 90);
    EXPECT_LE(right, 129);
    // Raised, the club is up high, not in front at ground level.
    const Bitmap raised = load("troll3.bmp");
    EXPECT_LT(drawnColumns(raised.get(), raised->h - 12, raised->h - 1).second, 80);
    EXPECT_LE(drawnColumns(raised.get(), 0, 10).first, 10);
}

TEST_F(Pictures, WalkingPeasantsStandUpAndTheSquashedOneLiesFlat)
{
    for (const char* name : {"peasant1.bmp", "peasant2.bmp", "peasant3.bmp"}) {
        const Bitmap b = load(name);
        ASSERT_TRUE(b) << name;
        EXPECT_EQ(b->w, 60) << name;
        EXPECT_EQ(b->h, 80) << name;
        EXPECT_GE(drawnColumns(b.get(), b->h - 4, b->h - 1).second, 0) << name << " floats";
    }
    EXPECT_GT(drawnRows(load("peasant1.bmp").get(), 0, 79), 70);
    EXPECT_GT(drawnRows(load("peasant2.bmp").get(), 0, 79), 70);
    EXPECT_EQ(drawnRows(load("peasant3.bmp").get(), 0, 55), 0);
}

TEST_F(Pictures, FlagPoleStandsSixtyPixelsInOnTheBottomRow)
{
    const Bitmap flag = load("mgflag.bmp");
    ASSERT_TRUE(flag);
    EXPECT_FALSE(clear(flag.get(), 60, flag->h - 1));
    const auto [left, right] = drawnColumns(flag.get(), flag->h - 1, flag->h - 1);
    EXPECT_LE(right - left, 8);
}

TEST_F(Pictures, StrengthBarFrameHoldsThirtySegmentsLeftOfThePercentage)
{
    const Bitmap bar = load("bar.bmp"), red = load("barred.bmp"), green = load("bargreen.bmp");
    ASSERT_TRUE(bar && red && green);
    EXPECT_EQ(red->w, green->w);
    EXPECT_EQ(red->h, green->h);
    EXPECT_LE(red->w, 5);
    // Segments start at (426, 445); the frame sits at (420, 440).
    EXPECT_GE(bar->w, 6 + 5 * 29 + red->w);
    EXPECT_LE(420 + bar->w, 585);
    EXPECT_GE(bar->h, 5 + red->h);
    EXPECT_LE(440 + bar->h, 480);
}

TEST_F(Pictures, LogoFitsAboveTheMenuOnTheScreen)
{
    const Bitmap logo = load("logo.bmp");
    ASSERT_TRUE(logo);
    EXPECT_LE(logo->w, 640);
    EXPECT_LE(120 + logo->h, 260);
    EXPECT_EQ(getpixel(logo.get(), 0, 0), makecol32(0, 0, 0));
}

TEST_F(Pictures, FireballLeavesTheBreathersJawsAndCanMeetTheTarget)
{
    const Bitmap breathing = load("grumokb.bmp"), ball = load("fireball.bmp");
    const Bitmap target = load("fumbo1.bmp"), platform = load("fumboplat.bmp");
    ASSERT_TRUE(breathing && ball && target && platform);
    // The breather stands on the bridge at y 300; shots fly at y 250 from x 480.
    const int top = 300 - breathing->h;
    EXPECT_LE(drawnColumns(breathing.get(), 250 - top, 250 + ball->h - top).first, 4);
    EXPECT_GT(ball->h, 0);
    EXPECT_LE(ball->h, 60);
    // The target, standing at x 140 on a platform at x 100, is over the platform.
    EXPECT_LE(140 + target->w, 100 + platform->w);
    EXPECT_LE(300 - breathing->h, 300);
    EXPECT_LE(500 + breathing->w, 640);
}

TEST_F(Pictures, DiskMarkPointsRightAtTheArrowWhenUnturned)
{
    const Bitmap disk = load("disk.bmp"), arrow = load("arrow.bmp");
    ASSERT_TRUE(disk && arrow);
    const int cx = disk->w / 2, cy = disk->h / 2;
    const int right = getpixel(disk.get(), cx + disk->w * 3 / 8, cy);
    const int left = getpixel(disk.get(), cx - disk->w * 3 / 8, cy);
    const int up = getpixel(disk.get(), cx, cy - disk->h * 3 / 8);
    EXPECT_GT(getr32(right), 150);
    EXPECT_GT(getr32(right), 2 * getg32(right));
    EXPECT_GT(getr32(right), 2 * getb32(right));
    EXPECT_NE(left, right);
    EXPECT_NE(up, right);
    // The disk's right edge stays clear of the arrow at x 380 after the press.
    EXPECT_LT(240 + disk->w / 2, 380);
    // The arrow's tip is its leftmost point, at mid height.
    const auto [tipX, tail] = drawnColumns(arrow.get(), arrow->h / 2, arrow->h / 2);
    EXPECT_LE(tipX, 3);
    EXPECT_GT(drawnColumns(arrow.get(), 0, 4).first, tipX + 10);
}
