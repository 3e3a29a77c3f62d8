#include "TrollRunTestFolder.hpp"

namespace {

class Blood : public TrollRunTestFolder {
protected:
    BloodList& blood() { return run_->blood; }
    const BloodSplat* head() { return blood().first(); }

    bool inkNear(int x, int y)
    {
        for (int dy = -2; dy <= 2; ++dy)
            for (int dx = -2; dx <= 2; ++dx)
                if (!(at(backBuffer, x + dx, y + dy) == Rgb{0, 0, 0}))
                    return true;
        return false;
    }
};

} // namespace

TEST_F(Blood, BurstFliesUpAndForwardFromWhereItStarts)
{
    blood().spawn(500, 400);
    ASSERT_NE(head(), nullptr);
    EXPECT_EQ(head()->alpha.intValue(), 255);
    EXPECT_EQ(head()->alpha.speed(), -128.0);
    for (int i = 0; i < BloodSplat::kParticles; ++i) {
        EXPECT_EQ(head()->particleX[i].intValue(), 500);
        EXPECT_EQ(head()->particleY[i].intValue(), 400);
        EXPECT_GE(head()->particleX[i].speed(), 550);
        EXPECT_LE(head()->particleX[i].speed(), 749);
        EXPECT_LE(head()->particleY[i].speed(), -200);
        EXPECT_GE(head()->particleY[i].speed(), -399);
    }
}

TEST_F(Blood, PullGrowsWithEveryParticleDrawn)
{
    blood().spawn(500, 400);
    double before[BloodSplat::kParticles];
    for (int i = 0; i < BloodSplat::kParticles; ++i)
        before[i] = head()->particleY[i].speed();
    advance(20);
    blood().updateAndDraw(0);
    EXPECT_NEAR(head()->particleY[0].speed() - before[0], 0.005, 1e-9);
    EXPECT_NEAR(head()->particleY[39].speed() - before[39], 0.2, 1e-9);

    // With no time passed the pull stays, but is still added to every speed.
    advance(0);
    const double gravity = head()->gravity;
    const double speed = head()->particleY[7].speed();
    blood().updateAndDraw(0);
    EXPECT_DOUBLE_EQ(head()->gravity, gravity);
    EXPECT_DOUBLE_EQ(head()->particleY[7].speed(), speed + gravity);
}

TEST_F(Blood, BurstIsDrawnShiftedByTheViewUntilItFades)
{
    blood().spawn(1100, 300);
    clear_to_color(backBuffer, makecol(0, 0, 0));
    blood().updateAndDraw(1000);
    EXPECT_TRUE(inkNear(100, 300));

    advance(1980); // alpha 1.56: last drawn
    blood().updateAndDraw(1000);
    EXPECT_NE(head(), nullptr);
    advance(10);
    blood().updateAndDraw(1000);
    EXPECT_EQ(head(), nullptr);
}

TEST_F(Blood, BurstsOfOneSwingAreDroppedOneCallApart)
{
    blood().spawn(100, 300);
    blood().spawn(120, 300);
    advance(2000);
    blood().updateAndDraw(0);
    ASSERT_NE(head(), nullptr);
    EXPECT_EQ(head()->next, nullptr);
    EXPECT_LE(head()->alpha.intValue(), 0);
    blood().updateAndDraw(0);
    EXPECT_EQ(head(), nullptr);

    clear_to_color(backBuffer, makecol(0, 0, 0));
    blood().updateAndDraw(0); // an empty list draws nothing
    EXPECT_FALSE(anyPixel(backBuffer, 0, 0, 640, 480, {128, 0, 0}));
}

TEST_F(Blood, ClearFreesBurstsStillFlying)
{
    for (int i = 0; i < 3; ++i)
        blood().spawn(100 * i, 300);
    blood().clear();
    blood().clear();
    EXPECT_EQ(head(), nullptr);
}
