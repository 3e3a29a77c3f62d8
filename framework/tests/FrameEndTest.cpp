#include "HeadlessScreen.hpp"

#include "framework/Buttons.hpp"
#include "framework/Counter.hpp"
#include "framework/FrameClock.hpp"
#include "framework/Graphics.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Rgb = HeadlessScreen::Rgb;

// A small screen of the game's kind: it shows a moving Counter as the red of
// the top-left pixel and ends on a press of the action button.
int runCountingScreen(Counter& counter)
{
    int frames = 0;
    while (!actionPressed()) {
        clearScreen(static_cast<unsigned char>(counter.intValue()), 0, 0);
        flipScreen();
        ++frames;
    }
    pollGameKeys();
    return frames;
}

} // namespace

TEST(FrameEnd, ShowsTheFrameThenPollsThenTimesThenMoves)
{
    HeadlessScreen screen;
    Counter counter;
    counter.setSpeed(1000); // one unit per millisecond
    counter.start();

    std::vector<int> shownRed;
    std::vector<bool> actionSeenWhenShown;
    screen.script([&](int frame, BITMAP* picture) {
        // The frame arrives before this frame end polls or moves anything.
        shownRed.push_back(HeadlessScreen::pixel(picture, 0, 0).r);
        actionSeenWhenShown.push_back(actionHeld());
        FrameInput next;
        next.milliseconds = 10 + frame;
        if (frame == 3)
            next.keys = {KEY_SPACE};
        return next;
    });

    const int frames = runCountingScreen(counter);
    EXPECT_EQ(frames, 4);
    EXPECT_EQ(shownRed, (std::vector<int>{0, 10, 21, 33}));
    EXPECT_EQ(actionSeenWhenShown, (std::vector<bool>{false, false, false, false}));
    EXPECT_EQ(frameMilliseconds(), 13u);
    EXPECT_DOUBLE_EQ(counter.value(), 46.0);
    EXPECT_FALSE(actionPressed()); // the closing press is used up
}

TEST(FrameEnd, ScreenThatNeverEndsFailsAtTheFrameLimit)
{
    HeadlessScreen screen;
    Counter counter;
    screen.script(std::vector<FrameInput>{}, 50);
    EXPECT_THROW(runCountingScreen(counter), FrameLimitReached);
    EXPECT_EQ(screen.framesShown(), 50);
}

TEST(FrameEnd, DrawingHelpersPaintTheBackBuffer)
{
    HeadlessScreen screen;
    clearScreen(10, 20, 30);
    plotPixel(5, 6, 200, 100, 50);
    EXPECT_EQ(HeadlessScreen::pixel(backBuffer, 639, 479), (Rgb{10, 20, 30}));
    EXPECT_EQ(HeadlessScreen::pixel(backBuffer, 5, 6), (Rgb{200, 100, 50}));
}
