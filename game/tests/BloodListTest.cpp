#include "TrollRunTestFolder.hpp"

namespace {

using Blood = TrollRunTestFolder;

} // namespace

TEST_F(Blood, PullGrowsWithEveryParticleDrawn)
{
    BloodList& blood = run_->blood;
    blood.spawn(500, 400);
    const BloodSplat& burst = *blood.first();
    const double first = burst.particleY[0].speed(), last = burst.particleY[39].speed();
    EXPECT_LE(first, -200);
    EXPECT_GE(first, -399);
    advance(20);
    blood.updateAndDraw(0);
    EXPECT_NEAR(burst.particleY[0].speed() - first, 0.005, 1e-9);
    EXPECT_NEAR(burst.particleY[39].speed() - last, 0.2, 1e-9);

    // With no time passed the pull stays, but is still added to every speed.
    advance(0);
    const double gravity = burst.gravity, speed = burst.particleY[7].speed();
    blood.updateAndDraw(0);
    EXPECT_DOUBLE_EQ(burst.gravity, gravity);
    EXPECT_DOUBLE_EQ(burst.particleY[7].speed(), speed + gravity);
}

TEST_F(Blood, FadedBurstsAreDroppedOneCallApart)
{
    BloodList& blood = run_->blood;
    blood.spawn(100, 300);
    blood.spawn(120, 300);
    advance(1980); // alpha 1.56: still drawn
    blood.updateAndDraw(0);
    ASSERT_NE(blood.first(), nullptr);
    ASSERT_NE(blood.first()->next, nullptr);
    advance(10);
    blood.updateAndDraw(0);
    ASSERT_NE(blood.first(), nullptr);
    EXPECT_EQ(blood.first()->next, nullptr);
    blood.updateAndDraw(0);
    EXPECT_EQ(blood.first(), nullptr);
}
