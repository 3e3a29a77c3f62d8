#include "FrameClock.hpp"

#include <allegro.h>

static_assert(std::atomic<std::uint32_t>::is_always_lock_free,
              "the tick counter is shared with the timer thread without a lock");

std::atomic<std::uint32_t> millisecondTicks{0};
std::uint32_t previousFrameMs = 0;
std::uint32_t currentFrameMs = 0;
std::atomic<std::int32_t> framesThisSecond{0};
std::atomic<std::int32_t> framesPerSecondValue{0};

// The timer thread only bumps or swaps a counter: relaxed order is enough,
// since nothing else is published through them.
void onMillisecondTick()
{
    millisecondTicks.fetch_add(1, std::memory_order_relaxed);
}

void onSecondTick()
{
    framesPerSecondValue.store(framesThisSecond.exchange(0, std::memory_order_relaxed),
                               std::memory_order_relaxed);
}

void startTimer()
{
    previousFrameMs = 0;
    currentFrameMs = 0;
    millisecondTicks = 0;
    framesPerSecondValue = 0;
    install_timer();
    install_int(onMillisecondTick, 1);
    install_int_ex(onSecondTick, SECS_TO_TIMER(1));
}

void stopTimer()
{
    remove_timer();
}

void advanceFrameClock()
{
    previousFrameMs = currentFrameMs;
    currentFrameMs = millisecondTicks.load(std::memory_order_relaxed);
    if (currentFrameMs < previousFrameMs)
        previousFrameMs = 0;
    framesThisSecond.fetch_add(1, std::memory_order_relaxed);
}

std::uint32_t frameMilliseconds()
{
    return currentFrameMs - previousFrameMs;
}

double frameSeconds()
{
    return (currentFrameMs - previousFrameMs) / 1000.0;
}

int framesPerSecond()
{
    return framesPerSecondValue.load(std::memory_order_relaxed);
}
