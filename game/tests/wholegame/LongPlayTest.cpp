#include "BitmapCensus.hpp"
#include "GameWatch.hpp"
#include "WholeGame.hpp"
#include "framework/Counter.hpp"
#include "framework/tests/HeadlessScreen.hpp"
#include "game/TrollRun.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr std::uint64_t kPlayMs = 2ull * 60 * 60 * 1000; // two hours of game time
// Every half hour of game time, a run is left for minutes, as when a laptop
// is closed during a run: one frame then lasts that long.
constexpr std::uint64_t kSleepEveryMs = 30ull * 60 * 1000;
constexpr unsigned kShortestSleepMs = 60 * 1000;
constexpr unsigned kLongestSleepMs = 10 * 60 * 1000;
constexpr unsigned kSeed = 20240611;

enum Button { kAction, kBack, kUp, kDown, kButtons };

// Every key of each button, so that all of them get pressed.
const std::vector<int> kKeysOf[kButtons] = {
    {KEY_SPACE, KEY_ENTER, KEY_LSHIFT, KEY_RSHIFT, KEY_LCONTROL, KEY_RCONTROL},
    {KEY_ESC},
    {KEY_UP, KEY_W, KEY_8_PAD},
    {KEY_DOWN, KEY_S, KEY_2_PAD},
};

// How often each button goes down in a frame, by screen.
struct Weights {
    double press[kButtons];
    unsigned shortestMs, longestMs;
};

Weights weightsFor(Screen screen)
{
    switch (screen) {
    case Screen::Menu:
        return {{0.08, 0.01, 0.15, 0.15}, 50, 300};
    case Screen::Instructions:
        return {{0.3, 0.05, 0.1, 0.1}, 50, 300};
    case Screen::Play:
        return {{0.01, 0.0005, 0.05, 0.05}, 60, 200};
    case Screen::FirePlay:
        return {{0.1, 0.004, 0.05, 0.05}, 15, 100};
    case Screen::DiskPlay:
        return {{0.04, 0.004, 0.05, 0.05}, 15, 60};
    case Screen::Results:
        return {{0.2, 0.05, 0.1, 0.1}, 50, 300};
    case Screen::Card:
    case Screen::IntroBanner:
    case Screen::MinigameTitle:
    case Screen::OutcomeBanner:
    case Screen::GameOver:
        return {{0.1, 0.05, 0.1, 0.1}, 100, 500};
    }
    return {};
}

// Presses and releases every button at random, more often where it moves the
// game on: action when a peasant is in reach, rarely back during a run, so
// that runs last and reach their flags. After two hours it heads for QUIT.
class RandomPlayer {
public:
    explicit RandomPlayer(unsigned seed) : random_(seed) {}

    void watch(const TrollRun& run)
    {
        run_ = &run;
        watch_.emplace(run);
        screen_.reset();
    }

    FrameInput step()
    {
        const Screen now = watch_->screen();
        if (now != screen_) {
            ++visits_[now];
            if (now == Screen::Menu)
                checkRest();
            screen_ = now;
        }
        const Weights weights = weightsFor(now);
        unsigned ms = between(weights.shortestMs, weights.longestMs);
        std::array<double, kButtons> press;
        std::copy(std::begin(weights.press), std::end(weights.press), press.begin());
        if (now == Screen::Play) {
            press[kAction] = peasantAt(245, 345) ? 0.7 : 0.01;
            if (peasantAt(150, 420))
                ms = between(15, 45); // swings need short frames
        }
        if (chance(0.03))
            ms = between(0, 1); // a fast machine's frames, some within one tick
        else if (chance(0.001))
            ms = between(500, 2500); // a hiccup of the machine
        if (now == Screen::Play && playedMs_ >= nextSleepMs_) {
            ms = between(kShortestSleepMs, kLongestSleepMs);
            nextSleepMs_ += kSleepEveryMs;
            ++sleeps_;
        }
        if (timeUp())
            press = {0.0, 1.0, 0.0, 0.0}; // back everywhere leads to QUIT
        std::vector<int> keys;
        for (int b = 0; b < kButtons; ++b) {
            if (held_[b] ? chance(0.5) : false)
                held_[b].reset();
            else if (!held_[b] && chance(press[b]))
                held_[b] = kKeysOf[b][between(0, static_cast<unsigned>(kKeysOf[b].size() - 1))];
            if (held_[b])
                keys.push_back(*held_[b]);
        }
        playedMs_ += ms;
        return {keys, ms};
    }

    bool timeUp() const { return playedMs_ >= kPlayMs; }
    std::uint64_t playedMs() const { return playedMs_; }
    int visits(Screen screen) const
    {
        const auto found = visits_.find(screen);
        return found == visits_.end() ? 0 : found->second;
    }
    int restChecks() const { return restChecks_; }
    int sleeps() const { return sleeps_; }

private:
    // Every menu after a run or a series: nothing of theirs left behind.
    void checkRest()
    {
        ++restChecks_;
        const std::vector<std::string> leftovers = watch_->leftoversAtRest();
        if (!leftovers.empty() && failures_++ < 5)
            ADD_FAILURE() << "on the menu after " << playedMs_ / 1000 << " s: " << leftovers.front()
                          << " (" << leftovers.size() << " in all)";
    }

    bool peasantAt(int nearest, int farthest) const
    {
        const int s = run_->scroll.intValue();
        return std::any_of(std::begin(run_->peasants), std::end(run_->peasants),
                           [&](const Peasant& p) {
                               return p.isAlive() && p.x() - s > nearest && p.x() - s <= farthest;
                           });
    }

    bool chance(double p) { return std::uniform_real_distribution<double>(0.0, 1.0)(random_) < p; }
    unsigned between(unsigned low, unsigned high)
    {
        return std::uniform_int_distribution<unsigned>(low, high)(random_);
    }

    std::mt19937 random_;
    const TrollRun* run_ = nullptr;
    std::optional<GameWatch> watch_;
    std::optional<Screen> screen_;
    std::optional<int> held_[kButtons];
    std::uint64_t playedMs_ = 0;
    std::map<Screen, int> visits_;
    int restChecks_ = 0;
    int failures_ = 0;
    std::uint64_t nextSleepMs_ = kSleepEveryMs;
    int sleeps_ = 0;
};

} // namespace

// Two hours of random play on the simulated clock, through every screen,
// the program started again whenever the player quits before the time is up.
// No sanitizer report, and nothing of a run or a series stays behind.
TEST(LongPlay, TwoHoursOfRandomPressesLeaveNothingBehind)
{
    WholeGameFolder folder("long-play-test");
    HeadlessScreen screen;
    RandomPlayer player(kSeed);
    std::srand(kSeed);
    screen.script([&](int, BITMAP*) { return player.step(); }, INT_MAX);
    int starts = 0;
    while (!player.timeUp()) {
        {
            TrollRun run;
            player.watch(run);
            ++starts;
            ASSERT_EQ(runProgram(run), 0);
            const std::vector<std::string> leftovers = GameWatch(run).leftoversAtRest();
            EXPECT_TRUE(leftovers.empty()) << leftovers.front();
        }
        // With the run object gone, the back buffer is all that is left.
        EXPECT_EQ(census::liveCount(), 1u);
        EXPECT_EQ(runningCounters.head(), nullptr);
    }
    EXPECT_EQ(census::strayDestroys(), 0u);
    std::ifstream save("save.dat", std::ios::binary);
    const std::string saved((std::istreambuf_iterator<char>(save)),
                            std::istreambuf_iterator<char>());
    EXPECT_EQ(saved, "1 1"); // both modes were open from the start

    std::printf("%d starts of the program, %llu s played, %d checks on the menu, %d sleeps\n",
                starts, static_cast<unsigned long long>(player.playedMs() / 1000),
                player.restChecks(), player.sleeps());
    EXPECT_GE(player.sleeps(), 3);
    for (Screen s : {Screen::Menu, Screen::Instructions, Screen::Play, Screen::IntroBanner,
                     Screen::MinigameTitle, Screen::FirePlay, Screen::DiskPlay,
                     Screen::OutcomeBanner, Screen::GameOver, Screen::Results, Screen::Card}) {
        std::printf("  %s: %d\n", screenName(s), player.visits(s));
        EXPECT_GE(player.visits(s), 10) << screenName(s);
    }
}
