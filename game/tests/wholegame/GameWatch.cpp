#include "GameWatch.hpp"

#include "BitmapCensus.hpp"
#include "framework/Counter.hpp"
#include "framework/Graphics.hpp"
#include "game/TrollRun.hpp"

#include <allegro.h>

#include <algorithm>
#include <map>

namespace {

const char* const kRunFiles[] = {"hillbg.bmp",   "cloud.bmp",    "peasant1.bmp",
                                 "peasant2.bmp", "peasant3.bmp", "bar.bmp",
                                 "barred.bmp",   "bargreen.bmp", "mgflag.bmp"};
const char* const kFireFiles[] = {"fumbo1.bmp",  "fumbo2.bmp",  "fumboplat.bmp",
                                  "grumoka.bmp", "grumokb.bmp", "fireball.bmp",
                                  "lava.bmp",    "bridge.bmp",  "fire.bmp"};
const char* const kDiskFiles[] = {"disk.bmp", "arrow.bmp"};
// Loaded by the menu, and by every run for the run object to keep.
const char* const kRestingFiles[] = {"logo.bmp", "troll1.bmp", "troll2.bmp", "troll3.bmp",
                                     "troll4.bmp"};

constexpr double kIntroSpeed = -640.0;
constexpr double kOutcomeSpeed = -3.0;
constexpr int kCardWidth = 640;
constexpr int kCardHeight = 36;

// One damaged file at a time leaves the rest of a screen's pictures loaded.
template <std::size_t N>
bool anyLoaded(const char* const (&files)[N])
{
    return std::any_of(std::begin(files), std::end(files),
                       [](const char* file) { return census::isLoaded(file); });
}

template <typename T>
bool inside(const void* address, const T& owner)
{
    const auto* p = static_cast<const char*>(address);
    const auto* begin = reinterpret_cast<const char*>(&owner);
    return p >= begin && p < begin + sizeof owner;
}

bool isPlayTime(const Counter* counter)
{
    // A minigame's time: from 1000 down at 150 or more a second.
    return counter->value() <= 1000.0 && counter->speed() <= -150.0;
}

} // namespace

const char* screenName(Screen screen)
{
    switch (screen) {
    case Screen::Menu:
        return "menu";
    case Screen::Instructions:
        return "instructions";
    case Screen::Play:
        return "play";
    case Screen::IntroBanner:
        return "MINIGAME! banner";
    case Screen::MinigameTitle:
        return "minigame title";
    case Screen::FirePlay:
        return "fire minigame";
    case Screen::DiskPlay:
        return "disk minigame";
    case Screen::OutcomeBanner:
        return "outcome banner";
    case Screen::GameOver:
        return "game over";
    case Screen::Results:
        return "results";
    case Screen::Card:
        return "series card";
    }
    return "?";
}

Screen GameWatch::screen() const
{
    const std::vector<const Counter*> counters = screenCounters();
    const bool fire = anyLoaded(kFireFiles);
    if (fire || anyLoaded(kDiskFiles)) {
        if (std::none_of(counters.begin(), counters.end(), isPlayTime))
            return Screen::MinigameTitle;
        return fire ? Screen::FirePlay : Screen::DiskPlay;
    }
    if (run_.active) {
        if (!run_.ground)
            return Screen::Instructions;
        if (screenCounterWithSpeed(kIntroSpeed))
            return Screen::IntroBanner;
        if (screenCounterWithSpeed(kOutcomeSpeed))
            return Screen::OutcomeBanner;
        return Screen::Play;
    }
    if (anyLoaded(kRunFiles))
        return counters.empty() ? Screen::Results : Screen::GameOver;
    for (const census::LiveBitmap& bitmap : census::live())
        if (bitmap.width == kCardWidth && bitmap.height == kCardHeight)
            return Screen::Card;
    return Screen::Menu;
}

bool GameWatch::ownedByRun(const Counter* counter) const
{
    if (inside(counter, run_))
        return true;
    for (const BloodSplat* burst = run_.blood.first(); burst; burst = burst->next)
        if (inside(counter, *burst))
            return true;
    return false;
}

std::vector<const Counter*> GameWatch::screenCounters() const
{
    std::vector<const Counter*> found;
    for (const CounterNode* node = runningCounters.head(); node; node = node->next)
        if (!ownedByRun(node->counter))
            found.push_back(node->counter);
    return found;
}

const Counter* GameWatch::screenCounterWithSpeed(double speed) const
{
    for (const Counter* counter : screenCounters())
        if (counter->speed() == speed)
            return counter;
    return nullptr;
}

std::vector<std::string> GameWatch::leftoversAtRest() const
{
    std::vector<std::string> leftovers;
    std::map<std::string, int> fromFiles;
    for (const census::LiveBitmap& bitmap : census::live()) {
        if (bitmap.bitmap == backBuffer)
            continue;
        bool inBurst = false;
        for (const BloodSplat* burst = run_.blood.first(); burst; burst = burst->next)
            inBurst = inBurst || burst->dot == bitmap.bitmap;
        if (inBurst)
            continue;
        const bool resting = std::any_of(std::begin(kRestingFiles), std::end(kRestingFiles),
                                         [&](const char* file) { return bitmap.fileName == file; });
        if (resting && ++fromFiles[bitmap.fileName] == 1)
            continue;
        leftovers.push_back(
            "bitmap " + (bitmap.fileName.empty() ? std::string("made in memory") : bitmap.fileName)
            + " " + std::to_string(bitmap.width) + "x" + std::to_string(bitmap.height));
    }
    for (const Counter* counter : screenCounters())
        leftovers.push_back("running Counter at " + std::to_string(counter->value()) + " moving "
                            + std::to_string(counter->speed()) + " a second");
    return leftovers;
}
