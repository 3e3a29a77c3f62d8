#include "framework/Counter.hpp"
#include "framework/FrameClock.hpp"

#include <gtest/gtest.h>

#include <type_traits>
#include <vector>

static_assert(!std::is_copy_constructible_v<Counter> && !std::is_copy_assignable_v<Counter>);
static_assert(!std::is_move_constructible_v<Counter> && !std::is_move_assignable_v<Counter>);

namespace {

// Sets the last frame's time and moves every started Counter by it.
void frameOf(unsigned milliseconds)
{
    previousFrameMs = 1000;
    currentFrameMs = 1000 + milliseconds;
    stepCounters();
}

std::vector<const Counter*> running()
{
    std::vector<const Counter*> counters;
    for (const CounterNode* n = runningCounters.head(); n; n = n->next)
        counters.push_back(n->counter);
    return counters;
}

} // namespace

TEST(Counter, DefaultRisesOneUnitPerSecond)
{
    Counter c;
    c.start();
    frameOf(500);
    EXPECT_DOUBLE_EQ(c.value(), 0.5);
    frameOf(250);
    EXPECT_DOUBLE_EQ(c.value(), 0.75);
}

TEST(Counter, StoppedCounterKeepsItsValueAndResumes)
{
    Counter c;
    c.setSpeed(10);
    c.start();
    frameOf(100);
    c.stop();
    frameOf(100);
    EXPECT_DOUBLE_EQ(c.value(), 1.0);
    c.start();
    frameOf(100);
    EXPECT_DOUBLE_EQ(c.value(), 2.0);
}

TEST(Counter, ZeroLengthFrameMovesNothing)
{
    Counter c;
    c.setValue(3.0);
    c.setSpeed(100);
    c.start();
    frameOf(0);
    EXPECT_DOUBLE_EQ(c.value(), 3.0);
}

TEST(Counter, IntValueTruncatesTowardZero)
{
    Counter c;
    c.setValue(2.9);
    EXPECT_EQ(c.intValue(), 2);
    c.setValue(-0.7);
    EXPECT_EQ(c.intValue(), 0);
    c.setValue(-1.2);
    EXPECT_EQ(c.intValue(), -1);
    c.setValue(7);
    EXPECT_DOUBLE_EQ(c.value(), 7.0);
}

TEST(CounterWrap, OvershootUpwardsIsCarriedOntoWrapTo)
{
    Counter c;
    c.setMin(0);
    c.setMax(255);
    c.setWrap(true);
    c.setWrapTo(0);
    c.setSpeed(100);
    c.setValue(254.5);
    c.start();
    frameOf(20);
    EXPECT_NEAR(c.value(), 1.5, 1e-9);
}

TEST(CounterWrap, OvershootDownwardsIsCarriedOntoWrapTo)
{
    Counter c;
    c.setMin(0);
    c.setMax(255);
    c.setWrap(true);
    c.setWrapTo(255);
    c.setSpeed(-100);
    c.setValue(0.5);
    c.start();
    frameOf(20);
    EXPECT_NEAR(c.value(), 253.5, 1e-9);
}

TEST(CounterWrap, LimitsAreInclusiveEvenWithoutMovement)
{
    Counter atMax, atMin;
    for (Counter* c : {&atMax, &atMin}) {
        c->setMin(0);
        c->setMax(10);
        c->setWrap(true);
        c->setWrapTo(4);
        c->start();
    }
    atMax.setValue(10);
    atMin.setValue(0);
    frameOf(0);
    EXPECT_DOUBLE_EQ(atMax.value(), 4.0);
    EXPECT_DOUBLE_EQ(atMin.value(), 4.0);
}

TEST(CounterWrap, MoveLargerThanTheSpanIsCorrectedOncePerStep)
{
    Counter c;
    c.setMin(0);
    c.setMax(10);
    c.setWrap(true);
    c.setSpeed(100);
    c.start();
    frameOf(250); // 25 -> 15, still past max
    EXPECT_DOUBLE_EQ(c.value(), 15.0);
    frameOf(0); // the next step corrects again
    EXPECT_DOUBLE_EQ(c.value(), 5.0);
}

TEST(CounterStopAtLimits, OvershootStaysAndSpeedBecomesZero)
{
    Counter c;
    c.setMin(0);
    c.setMax(50);
    c.setStopAtLimits(true);
    c.setSpeed(100);
    c.setValue(49.5);
    c.start();
    frameOf(16);
    EXPECT_NEAR(c.value(), 51.1, 1e-9);
    EXPECT_EQ(c.speed(), 0.0);
    frameOf(16);
    EXPECT_NEAR(c.value(), 51.1, 1e-9);

    // Turned back while still past max: it moves once, then stops again.
    c.setSpeed(-10);
    frameOf(16);
    EXPECT_NEAR(c.value(), 50.94, 1e-9);
    EXPECT_EQ(c.speed(), 0.0);
}

TEST(CounterStopAtLimits, DefaultLimitsStopAfterOneFrame)
{
    Counter c;
    c.setStopAtLimits(true);
    c.setSpeed(5);
    c.start();
    frameOf(100);
    EXPECT_DOUBLE_EQ(c.value(), 0.5);
    EXPECT_EQ(c.speed(), 0.0);
}

TEST(CounterFlags, TurningOneOnTurnsTheOtherOff)
{
    Counter c;
    c.setMin(0);
    c.setMax(10);
    c.setWrapTo(0);
    c.setSpeed(100);
    c.setWrap(true);
    c.setStopAtLimits(true); // wrap now off
    c.start();
    frameOf(200);
    EXPECT_DOUBLE_EQ(c.value(), 20.0);
    EXPECT_EQ(c.speed(), 0.0);

    c.setSpeed(100);
    c.setValue(5.0);
    c.setWrap(true); // stop-at-limits now off
    frameOf(100);
    EXPECT_DOUBLE_EQ(c.value(), 5.0);
    EXPECT_EQ(c.speed(), 100.0);

    c.setStopAtLimits(false); // leaves wrap on
    frameOf(100);
    EXPECT_DOUBLE_EQ(c.value(), 5.0);
}

TEST(RunningList, KeepsStartOrderAndEachCounterOnce)
{
    Counter a, b, c;
    a.start();
    b.start();
    a.start();
    c.start();
    EXPECT_EQ(running(), (std::vector<const Counter*>{&a, &b, &c}));

    b.stop();
    b.stop();
    EXPECT_EQ(running(), (std::vector<const Counter*>{&a, &c}));
    b.start();
    EXPECT_EQ(running(), (std::vector<const Counter*>{&a, &c, &b}));
    a.stop();
    EXPECT_EQ(running(), (std::vector<const Counter*>{&c, &b}));
}

TEST(RunningList, DestroyedCounterLeavesTheList)
{
    Counter kept;
    kept.start();
    {
        Counter gone;
        gone.start();
        EXPECT_EQ(running().size(), 2u);
    }
    EXPECT_EQ(running(), (std::vector<const Counter*>{&kept}));
    frameOf(10); // must not touch the destroyed Counter
    EXPECT_DOUBLE_EQ(kept.value(), 0.01);
}

TEST(RunningList, OwnListRemovesAndEmpties)
{
    Counter a, b, c;
    {
        CounterList list;
        list.add(&a);
        list.add(&b);
        list.add(&a);
        list.add(&c);
        list.remove(&b);
        list.remove(&b);
        ASSERT_NE(list.head(), nullptr);
        EXPECT_EQ(list.head()->counter, &a);
        EXPECT_EQ(list.head()->next->counter, &c);
        EXPECT_EQ(list.head()->next->next, nullptr);
        list.removeLast();
        EXPECT_EQ(list.head()->next, nullptr);
    } // the destructor frees the rest
    EXPECT_EQ(runningCounters.head(), nullptr);
}
