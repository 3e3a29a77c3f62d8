#pragma once

// Runs the game's screens without a display, frame by frame.
//
// Allegro starts with SYSTEM_NONE, the back buffer is a 640 by 480 32-bit
// memory bitmap, and every frame end hands the finished frame to the test's
// step function instead of the screen. The step function looks at the frame
// and says which keys are down at the poll that follows and how long the
// frame took; the real button and clock code then runs on that input.

#include <allegro.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

struct FrameInput {
    std::vector<int> keys;      // KEY_* codes held down at the next poll
    unsigned milliseconds = 16; // time from this frame end to the last one
};

// Thrown from a frame end when a screen runs past the frame limit, so a
// screen that never ends fails its test instead of hanging it.
struct FrameLimitReached : std::runtime_error {
    FrameLimitReached() : std::runtime_error("screen did not end within the frame limit") {}
};

class HeadlessScreen {
public:
    // frame: index from 0 of the frame that has just been drawn.
    using Step = std::function<FrameInput(int frame, BITMAP* picture)>;

    HeadlessScreen();
    ~HeadlessScreen();
    HeadlessScreen(const HeadlessScreen&) = delete;
    HeadlessScreen& operator=(const HeadlessScreen&) = delete;

    // Drives every frame end from now on with `step`, counting frames from 0.
    void script(Step step, int frameLimit = 10000);
    // Drives every frame end from a fixed list of inputs, one per frame; once
    // the list is used up no key is down and frames take 16 ms.
    void script(std::vector<FrameInput> frames, int frameLimit = 10000);

    // Puts exactly these keys down in the keyboard state the next poll reads.
    static void holdKeys(const std::vector<int>& keys);
    // Lets go of every key and forgets both samples of every button.
    static void releaseAll();
    // Holds `keys` and polls, as if the screen before had ended on them.
    static void startWithKeys(const std::vector<int>& keys);

    int framesShown() const { return framesShown_; }

    // The pixel at (x, y) of a 32-bit bitmap as red, green, blue.
    struct Rgb {
        int r, g, b;
        bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
    };
    static Rgb pixel(BITMAP* picture, int x, int y);

private:
    int framesShown_ = 0;
};

// A bitmap of the current colour depth, freed when it goes out of scope.
struct ScopedBitmap {
    ScopedBitmap(int w, int h) : bitmap(create_bitmap(w, h)) {}
    ~ScopedBitmap() { destroy_bitmap(bitmap); }
    ScopedBitmap(const ScopedBitmap&) = delete;
    ScopedBitmap& operator=(const ScopedBitmap&) = delete;
    operator BITMAP*() const { return bitmap; }
    BITMAP* bitmap;
};

// Empty when two 32-bit bitmaps of one size hold the same pixels, every bit
// of them; else where the first difference lies.
std::string firstDifference(BITMAP* a, BITMAP* b);
