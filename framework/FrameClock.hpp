#pragma once

#include <atomic>
#include <cstdint>

// The frame clock counts real time in whole milliseconds with a 1 ms timer
// callback; the frame end turns the difference between the last two frame
// ends into the frame time that every motion is scaled by.

// Written only by the timer thread's 1 ms callback, read at each frame end.
extern std::atomic<std::uint32_t> millisecondTicks;
extern std::uint32_t previousFrameMs;
extern std::uint32_t currentFrameMs;
extern std::atomic<std::int32_t> framesThisSecond;
extern std::atomic<std::int32_t> framesPerSecondValue;

// Zeroes the clock and installs the 1 ms and once-a-second callbacks.
void startTimer();
// Removes both callbacks.
void stopTimer();

void onMillisecondTick();
void onSecondTick();

// Called by the frame end only: the frame time becomes the time since the
// frame end before. A tick counter that went backwards (it wraps after
// about 49.7 days) counts from 0, so the frame time is never huge.
void advanceFrameClock();

std::uint32_t frameMilliseconds();
double frameSeconds();
int framesPerSecond();
