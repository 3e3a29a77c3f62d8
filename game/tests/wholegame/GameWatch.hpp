#pragma once

// Reads which screen of the game a finished frame belongs to, from what the
// game holds rather than from what it draws, so that it still knows when a
// picture or the font is damaged: the bitmaps that are live and the files
// they came from, the main run's own state, and the running Counters that
// belong to a screen rather than to the long-lived run object.

#include <string>
#include <vector>

class Counter;
class TrollRun;

enum class Screen {
    Menu,
    Instructions,
    Play,
    IntroBanner,
    MinigameTitle,
    FirePlay,
    DiskPlay,
    OutcomeBanner,
    GameOver,
    Results,
    Card, // a series' stage card or its closing card
};

const char* screenName(Screen screen);

class GameWatch {
public:
    explicit GameWatch(const TrollRun& run) : run_(run) {}

    Screen screen() const;

    // Running Counters owned by neither the run object nor its blood bursts:
    // the ones of the screen that is showing. None at rest on the menu.
    std::vector<const Counter*> screenCounters() const;
    // The first of the screen's Counters with exactly this speed, or null.
    const Counter* screenCounterWithSpeed(double speed) const;

    // What is live on the menu that should not be: every bitmap but the
    // back buffer, the logo, the troll's pictures and the blood bursts', and
    // every Counter of a screen. Empty at rest.
    std::vector<std::string> leftoversAtRest() const;

private:
    bool ownedByRun(const Counter* counter) const;

    const TrollRun& run_;
};
