#include "framework/FrameClock.hpp"

#include <gtest/gtest.h>

#include <limits>

namespace {

void frameEndAt(std::uint32_t ticks)
{
    millisecondTicks = ticks;
    advanceFrameClock();
}

} // namespace

TEST(FrameClock, FrameTimeIsTheTimeBetweenTheLastTwoFrameEnds)
{
    frameEndAt(1000);
    frameEndAt(1016);
    EXPECT_EQ(frameMilliseconds(), 16u);
    EXPECT_DOUBLE_EQ(frameSeconds(), 0.016);
    // Asked again, the answer stays until the next frame end.
    EXPECT_DOUBLE_EQ(frameSeconds(), 0.016);
}

TEST(FrameClock, TwoFrameEndsInOneTickTakeNoTime)
{
    frameEndAt(500);
    frameEndAt(500);
    EXPECT_EQ(frameMilliseconds(), 0u);
    EXPECT_EQ(frameSeconds(), 0.0);
}

TEST(FrameClock, WrappedTickCounterCountsFromZero)
{
    frameEndAt(std::numeric_limits<std::uint32_t>::max() - 5);
    frameEndAt(10);
    EXPECT_EQ(frameMilliseconds(), 10u);
    EXPECT_DOUBLE_EQ(frameSeconds(), 0.010);
}

TEST(FrameClock, SecondTickPublishesAndRestartsTheFrameCount)
{
    onSecondTick();
    for (int i = 0; i < 3; ++i)
        advanceFrameClock();
    onSecondTick();
    EXPECT_EQ(framesPerSecond(), 3);
    EXPECT_EQ(framesThisSecond.load(), 0);
}

TEST(FrameClock, MillisecondCallbackAddsOneTick)
{
    millisecondTicks = 41;
    onMillisecondTick();
    EXPECT_EQ(millisecondTicks.load(), 42u);
}
